#pragma once

#include "store/table_definition.h"

#include <QList>
#include <QString>
#include <optional>

// The tables of an old installation whose tables are Paradox files: the parameter table KASA.DB
// and the users' BAZA\USER.DB in its working folder, the company table FIRMA.DB in its data root,
// and every table in the data root's year folders (folders named by four digits). The
// installation brought over is one folder, the new program's working folder and data root at
// once, with the same relative paths below it.

struct OldInstallationTable {
    QString oldPath;      // the ".DB" file
    QString relativePath; // in the new installation, with the platform separator: "2024/KASA/NAGKASA.DB"
    QString year;         // the year folder, empty for the working folder's and the data root's tables
    // The structure the program gives the table, nullopt for a table of another module.
    std::optional<TableDefinition> programDefinition;
    bool isCompanyTable = false;
};

// The installation's tables in creation order: the working folder's, the data root's, then each
// year's. dataRoot empty means the working folder. Throws ParadoxFileError when the working
// folder has no parameter table or the data root no company table.
QList<OldInstallationTable> FindOldInstallationTables(const QString &workingFolder, const QString &dataRoot);

// The relative path, in the new installation, of a table of the program in a year folder
// ("KASA\\NAGKASA.DB" of year 2024).
QString YearTableRelativePath(const QString &year, const QString &folder, const QString &fileName);
