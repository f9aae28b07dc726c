#pragma once

#include <QString>
#include <QStringList>

class Progress;

// Moving an office's data between the two stores: a data tree of table files onto a database
// server, or a server's data tree into table files. Every year and every table of the tree is
// copied with its rows in their entry order; the copy is then compared with the source row by
// row, and it takes effect only when the two are equal.
struct TreeMigrationReport {
    // Not empty when nothing was moved, saying why (in Polish).
    QString refusal;
    // One line per table whose copy differs from its source; nothing was moved then.
    QStringList differences;
    int tables = 0;

    bool succeeded() const { return refusal.isEmpty() && differences.isEmpty(); }
};

// Files onto a server: the database must hold no firm yet; every table is written and compared
// in one transaction of the server, so the database is left empty or whole. Server into files:
// the folder must be empty or missing; the tree is built beside it and takes its name in one
// rename, each table with its structure listing. The source is only read: a server tree as of
// one moment, a file tree none of whose tables another program has open.
// Progress: "Przenoszenie danych", two steps per table.
TreeMigrationReport MigrateDataTree(const QString &fromRoot, const QString &toRoot, Progress &progress);

// The data root a migration goes to, from what the user gave: a server ("pg:USŁUGA", a
// "postgresql://" address) or a folder (made absolute), ending in "/"; empty when a server is
// named without its database.
QString MigrationTargetRoot(const QString &given);
