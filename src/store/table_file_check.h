#pragma once

#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What a check of one table file found.
struct TableFileCheck {
    QString path;
    QStringList problems; // empty when the table is sound
    bool sound() const { return problems.isEmpty(); }
};

// How far a check reads a table file's indexes: every entry against its row (a file found on
// disk), or the pages alone, for a file this program has just written from rows and built its
// indexes from them, whose entries cannot disagree with the rows.
enum class IndexReading { EveryEntry, PagesOnly };

// Checks a table file without writing to it: SQLite's integrity check (in the program's own
// collations), and, when the table is one the program knows, that it has every field (of the
// type) and every index the program expects of it, that no key of a unique index is held by two
// rows, and that every value is one its field can hold. Fields of other programs may be there too.
TableFileCheck InspectTableFile(const QString &path, const std::optional<TableDefinition> &expected,
                                IndexReading indexes = IndexReading::EveryEntry);

// The structure the program expects of a table file lying under a data root (or a copy of one,
// as an archive): a file of a year folder by its module folder and name, any other by its path
// under the root. nullopt for a file the program does not define.
std::optional<TableDefinition> ExpectedStructureInTree(const QString &root, const QString &path);

// The table files the program cannot work without: the parameter table of the working folder
// (when one is given), the company table of the data root and every year's tables (of each year
// of the list).
QStringList RequiredTableFiles(const QString &workingFolder, const QString &dataRoot, const QStringList &years);

// The year folders of a data root (four digits), in order.
QStringList YearsOfDataRoot(const QString &dataRoot);

// Every table file of the installation: every table the program needs (a missing one, or a
// folder in its place, is reported), the users table when there is one, and every other table
// file under the year folders. Each is checked; a known table against its structure. A data root
// on a server is checked there, table by table; what could not be checked there is said in the
// notices.
QList<TableFileCheck> CheckInstallation(const QString &workingFolder, const QString &dataRoot,
                                        QStringList *notices = nullptr);

// The data root as the program finds it without an argument: field DR of the company table in
// the working folder (read without writing), else the working folder itself. Ends with a
// separator.
QString DataRootOfInstallation(const QString &workingFolder);
