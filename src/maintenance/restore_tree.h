#pragma once

#include "maintenance/archive_tree.h"

#include <QString>
#include <QStringList>

class Progress;

// Copies the archive back over the data tree: the files of the three levels that the archive
// holds, for the years of the live year list (years only in the archive are not restored; files
// the archive does not hold stay as they are). The caller closes its own tables first and opens
// them again afterwards.
//
// Nothing is restored when any archived table fails its check, when a table to be replaced is
// open in another program, or when any copy cannot be written: the report says which. Otherwise
// every file is written beside its final name and then renamed into place, so each table is the
// old one or the archived one at every moment. Progress: "Odtwarzanie zbiorów", years + 3 steps.
TreeCopyReport RestoreDataTree(const QString &archiveFolder, const QString &dataRoot, const QStringList &years,
                               Progress &progress);
