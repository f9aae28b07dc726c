#pragma once

#include <QString>
#include <QStringList>

class Progress;

// What a whole-tree copy (archive or restore) did.
struct TreeCopyReport {
    // Not empty when nothing was done at all, saying why (in Polish).
    QString refusal;
    // One line per file that could not be copied ("path: reason"). A failed archive or restore
    // leaves every file it would have written as it was.
    QStringList failures;
    int copiedFiles = 0;

    bool succeeded() const { return refusal.isEmpty() && failures.isEmpty(); }
    // The refusal, or the failures as one message; empty on success.
    QString message() const;
};

// Why this folder cannot be the archive of the data root, or empty when it can: the data root
// itself, or a folder inside one of its years, would copy the tree onto itself.
QString ArchiveFolderRefusal(const QString &dataRoot, const QStringList &years, const QString &archiveFolder);

// Copies every table file of the data tree (the root's files, BAZA's module folders, and the
// module folders of each year of the list) into the archive folder, under the same names and
// layout. Each table is copied as a consistent snapshot even while programs write it. Every file
// is first written beside its final name; only when all of them are complete do they take their
// names, one rename each, so a failed or interrupted archive leaves the previous archive's files
// whole. Progress: "Archiwowanie", years + 3 steps.
TreeCopyReport ArchiveDataTree(const QString &dataRoot, const QStringList &years, const QString &archiveFolder,
                               Progress &progress);
