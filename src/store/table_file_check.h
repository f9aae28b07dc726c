#pragma once

#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <optional>

// What a check of one table file found.
struct TableFileCheck {
    QString path;
    QStringList problems; // empty when the table is sound
    bool sound() const { return problems.isEmpty(); }
};

// Checks a table file without writing to it: SQLite's integrity check (in the program's own
// collations), and, when the table is one the program knows, that it has every field (of the
// type) and every index the program expects of it. Fields of other programs may be there too.
TableFileCheck InspectTableFile(const QString &path, const std::optional<TableDefinition> &expected);

// The structure the program expects of a table file lying under a data root (or a copy of one,
// as an archive): a file of a year folder by its module folder and name, any other by its path
// under the root. nullopt for a file the program does not define.
std::optional<TableDefinition> ExpectedStructureInTree(const QString &root, const QString &path);

// Every table file of the installation: the parameter and users tables of the working folder,
// the company table of the data root, and every table file under the data root's year folders.
// Each is checked; a known table against its structure.
QList<TableFileCheck> CheckInstallation(const QString &workingFolder, const QString &dataRoot);

// The data root as the program finds it without an argument: field DR of the company table in
// the working folder (read without writing), else the working folder itself. Ends with a
// separator.
QString DataRootOfInstallation(const QString &workingFolder);
