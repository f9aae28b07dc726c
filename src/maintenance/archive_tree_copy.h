#pragma once

#include "maintenance/archive_files.h"
#include "maintenance/archive_tree.h"

#include <QList>
#include <QStringList>

#include <functional>

class Progress;

// Where the copied tables come from: a live data tree that programs may be writing (each table
// is taken as a snapshot), an archive, whose tables are checked and then copied as they are, or
// a database server, whose tables are written into table files (read in the caller's
// transaction).
enum class CopySource { LiveTables, ArchivedTables, ServerTables };

// Why a copy written to scratch may not take its target's place, or empty when it may.
using CopyVerification = std::function<QString(const FileCopy &copy, const QString &scratch)>;

// Writes every copy beside its target first and verifies it; when all of them are complete and
// sound, renames each into place under a journal kept in the target tree's root folder (a switch
// cut short is finished at the next start). Any failure before the renames removes the scratch
// files and changes nothing; the failures are added to the report. The progress advances once
// after the root's files and once per year (matched by the target's year folder), ending with
// one more step.
void PutFilesInPlace(const QList<FileCopy> &copies, CopySource source, const QStringList &years,
                     const QString &targetRoot, const CopyVerification &verify, Progress &progress,
                     TreeCopyReport &report);
