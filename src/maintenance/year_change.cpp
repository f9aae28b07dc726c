#include "maintenance/year_change.h"

#include "base/global_state.h"

bool ChangeYear(GlobalState &state, const QString &chosenYear, const std::function<void()> &reopenTables)
{
    if (chosenYear.isEmpty())
        return false;
    state.CurrentYear = chosenYear;
    if (reopenTables)
        reopenTables();
    return true;
}
