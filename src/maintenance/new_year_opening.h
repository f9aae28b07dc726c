#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Prompt;
struct GlobalState;
struct TableHelperContext;

// One row of the year-opening list: a table by its path inside a year folder (upper case,
// "KASA\NAGKASA.DB"), whether its rows go over into the new year, and the fields emptied in every
// carried row ("A;B").
struct YearOpeningRule {
    QString path;
    bool carryRows = true;
    QString clearedFields;
};

// The list in its order. A table that matches no row goes over whole.
const QList<YearOpeningRule> &TROKF();

// The rule for a table's full path: the last row whose path the upper-cased path ends with
// (letters a-z only are upper-cased; "\" and "/" both separate folders); whole when none.
YearOpeningRule YearOpeningRuleFor(const QString &tablePath);

// Where the opening writes its lines (the window's log box, or a command's output).
class NewYearLog {
public:
    virtual ~NewYearLog() = default;
    virtual void addLine(const QString &line) = 0;
};

struct NewYearRequest {
    QString folder;     // holds the year folders; "" is the working folder
    QString sourceYear; // "2019"
    QString newYear;    // "2020"
};

struct NewYearReport {
    bool started = false;   // false: bad input or the user stopped at the question
    QString folder;         // the folder as used, with its trailing separator
    QStringList failedTables; // tables that could not be read or created
    int createdTables = 0;
};

// Opens the new year from the source year: creates <folder><new year>, and under it every
// folder and table of the source year, each table empty or with its rows as the list says.
// A new year is built whole aside and appears in one step, complete or not at all (an interrupted
// opening leaves no year). Into an existing year folder an opening creates only what is missing,
// never overwriting a table; each table appears complete or not at all. When the new year's folder cannot be created
// (it exists) the user is asked whether to go on. The new year is added to YearFolders.
NewYearReport OpenNewYear(const NewYearRequest &request, TableHelperContext &tables, NewYearLog &log);

// Kopiuj: the recursive copy of one folder of a year into the new year's folder.
void Kopiuj(const QString &sourceFolder, const QString &targetFolder, TableHelperContext &tables, NewYearLog &log,
            NewYearReport &report);
