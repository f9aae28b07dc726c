#pragma once

#include <QString>
#include <functional>

struct GlobalState;

// "Zmień rok": makes the chosen year the working year and opens the data tree again for it.
// Nothing chosen (an empty year) does nothing. True when the year was changed.
bool ChangeYear(GlobalState &state, const QString &chosenYear, const std::function<void()> &reopenTables);
