#pragma once

#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Clock;
class QTextStream;

// The first-run initializer: "kasa --init DIR [--demo] [--year YYYY] [dr=SERVER]" makes DIR a complete,
// empty installation (the program's working folder and data root at once): the parameter
// table, the users table with one administrator, the company table and a year folder with every
// table of the data tree, each beside its structure listing. "--demo" fills it with a small
// demo firm.

struct DataTreeInitOptions {
    QString folder; // absolute, with a trailing separator
    QString year;   // YYYY
    bool demo = false;
    // "dr=" a database server: the company and year tables go there, the working folder keeps
    // the parameter and users tables and a company table that names the server. Empty: DIR.
    QString dataRoot;
};

// The arguments after the program's name, beginning with "--init". nullopt and the reason in
// error when they are wrong. The year defaults to today's.
std::optional<DataTreeInitOptions> ParseInitArguments(const QStringList &arguments, const Clock &clock,
                                                      QString &error);

// A table of an installation: its path relative to the installation folder (with the platform
// separator and ".DB") and its structure.
struct InstallationTable {
    QString relativePath;
    TableDefinition definition;
};

// In creation order: parameter table, users table, company table, then the year's tables.
QList<InstallationTable> InstallationTables(const QString &year);

struct InitialisedTable {
    QString relativePath;
    int rows = 0;
};

// Creates the installation. Refuses (nothing written) a folder that already holds any of its
// tables, and a folder whose path the company table's DR field cannot hold. On any failure the
// table files made so far are removed again. Throws DataTreeInitError with the reason.
QList<InitialisedTable> InitialiseDataTree(const DataTreeInitOptions &options, const Clock &clock);

class DataTreeInitError : public std::runtime_error {
public:
    explicit DataTreeInitError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString &message() const { return message_; }

private:
    QString message_;
};

// How many characters the company table's DR field holds.
int RoomForDataRoot();
// The data root as the company table keeps it: with its closing separator when there is room for
// it, else without (the program adds it back when it reads the field).
QString StoredDataRoot(const QString &folder);
// Throws DataTreeInitError when even without its closing separator (which the user did not type)
// the folder does not fit the DR field.
void RefuseWhenTooLongForCompanyTable(const QString &folder);
// Throws DataTreeInitError when the data root, as the company table is to keep it, does not fit.
void RefuseDataRootTooLong(const QString &stored);

// The "--init" branch of the program: 0 when the installation was made, 1 when it was refused
// or failed, 2 for wrong arguments; what happened goes to out, the reason to err.
int RunDataTreeInitializer(const QStringList &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
