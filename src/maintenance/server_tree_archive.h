#pragma once

#include "maintenance/archive_files.h"
#include "maintenance/archive_tree.h"

#include <QList>
#include <QString>
#include <QStringList>

class Progress;

// The archive of a data tree that lies on a database server: the same folder tree of table files
// as the archive of a tree of files, and its way back.

// The server's tables at the archive's three levels (the root's own, BAZA/<module>/, and
// <year>/<module>/ for each year of the list), each paired with its file under toRoot (an
// existing file of the same name keeps its spelling). Throws EngineError.
QList<FileCopy> ServerTablesOfTree(const QString &dataRoot, const QString &toRoot, const QStringList &years);

// Writes every table of the server tree into the archive folder, all of them read as of one
// moment while other programs go on writing. As with files: every table is written and checked
// beside its final name before any takes it. Progress: "Archiwowanie", years + 3 steps.
TreeCopyReport ArchiveServerTree(const QString &dataRoot, const QStringList &years, const QString &archiveFolder,
                                 Progress &progress);

// Puts the archived tables (already checked) onto the server in one transaction: every table or
// none. live holds the server's tables that the restore replaces. Nothing is written when another
// program has one of them open; the report says which.
void RestoreTablesOnServer(const QList<FileCopy> &copies, const QList<FileCopy> &live, const QString &dataRoot,
                           const QStringList &years, Progress &progress, TreeCopyReport &report);
