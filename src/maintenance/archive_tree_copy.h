#pragma once

#include "maintenance/archive_files.h"
#include "maintenance/archive_tree.h"

#include <QList>
#include <QStringList>

class Progress;

// Where the copied tables come from: a live data tree that programs may be writing (each table
// is taken as a snapshot), or an archive, whose tables are checked and then copied as they are.
enum class CopySource { LiveTables, ArchivedTables };

// Writes every copy beside its target first; when all of them are complete, renames each into
// place. Any failure before the renames removes the scratch files and changes nothing; the
// failures are added to the report. The progress advances once after the root's files and once
// per year (matched by the target's year folder), ending with one more step.
void PutFilesInPlace(const QList<FileCopy> &copies, CopySource source, const QStringList &years, Progress &progress,
                     TreeCopyReport &report);
