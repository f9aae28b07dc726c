#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Prompt;
struct GlobalState;

// The year folders of a data root: folders only, whose names begin with "1" or "2",
// in ascending order by code unit.
QStringList ListYearFolders(const QString &dataRoot);

// Whether the working year still follows the start-up rules (fiscal-year start, "rok YYYY").
// On a re-opening after a year change, a restore or an index repair the year already chosen
// stands: applying the rules again would move it back one more year each time.
enum class YearSelectionRun { FirstOpen, Reopen };

// Chooses the working year when the tables are opened: fills YearFolders (DataRoot falls back to
// the program folder), applies the fiscal-year start (fiscalYearStart is the raw MM.DD text of
// the company row, nullopt when that table is not open or has no such field) and "rok YYYY",
// sets CommandArgIndex, moves to the last existing year when the chosen one has no folder, and
// reminds the user to open the next year from 16 December on.
void SelectYear(GlobalState &state, const QStringList &arguments, const QString &programFolder,
                std::optional<QString> fiscalYearStart, Prompt &prompt,
                YearSelectionRun run = YearSelectionRun::FirstOpen);
