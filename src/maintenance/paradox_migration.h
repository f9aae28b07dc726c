#pragma once

#include "maintenance/paradox_migration_check.h"

#include <QList>
#include <QString>
#include <QStringList>

class Progress;

// Brings an installation whose tables are Paradox files over into this program's tables.
//
// The old installation is only read. The new one is built in a scratch folder beside the target
// folder: every table of the old one (FindOldInstallationTables), the program's own in the
// program's structure (fields the old table has beyond it carried along), the others in their
// own fields, row by row and value by value; automatic numbers keep their values; the program's
// indexes, its structure listings and the engine's helper indexes are made as a new installation
// has them; the company row names the new folder as its data root; a table of the program the old
// installation lacks is made empty, as a new installation has it. Then the old and the new
// tables are compared (ComparedFigures); only when every table converted and all figures agree
// does the scratch folder take the target's name, in one rename. Otherwise nothing is left.

struct ParadoxMigrationRequest {
    QString oldWorkingFolder;
    QString oldDataRoot; // empty: the working folder
    QString newFolder;   // must not exist yet, or be empty
};

struct MigratedTable {
    QString relativePath;
    int rowsRead = 0;
    int rowsWritten = 0;
    int valuesChanged = 0;
    bool carriedWhole = false;  // in its own fields: a table of another module, or an older structure
    bool createdEmpty = false;  // a table of the program the old installation did not have
    QStringList extraFields;    // fields beyond the program's, carried along
    QStringList changes;        // the first changed values: "wiersz 3, pole TYT1: ..."
};

struct ParadoxMigrationResult {
    QList<MigratedTable> tables;
    ComparedFigures figures;
    bool installed = false; // the new installation has its name
    QString newFolder;
};

class ParadoxMigrationError : public std::runtime_error {
public:
    explicit ParadoxMigrationError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

// Throws ParadoxMigrationError (nothing written) when the old installation cannot be read in
// full: the message names the table, and for a value the row and the field. A result whose
// figures disagree is returned with installed false, nothing written either.
ParadoxMigrationResult MigrateParadoxInstallation(const ParadoxMigrationRequest &request, Progress &progress);
