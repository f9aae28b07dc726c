#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which files of the data tree the archive keeps, where they lie, and how one file is put in its
// place. The archive folder has the data tree's own layout, so it is itself a readable data tree:
//   1. the files directly in the root (the company table among them);
//   2. BAZA/<name>/ for every entry of the root's BAZA folder;
//   3. <year>/<name>/ for every year of the year list and every entry of that year's folder.
// Deeper folders are not taken, nor files directly in BAZA or in a year folder.

// A table file takes part by its extension: "DB", "MB", "PX", "XG", "YG", or three characters
// beginning with one of them (numbered index files such as "XG0"). Upper case only: "kasa.db"
// stays out, as do lock, text and settings files.
bool IsArchivedFileName(const QString &fileName);

// Table files proper ("DB"): they are copied through the engine, never byte by byte while open.
bool IsTableFileName(const QString &fileName);

// The names of a folder's entries that take part in the walk: every file or folder whose name
// does not begin with ".", in name order. Empty when the folder is missing.
QStringList ArchiveEntryNames(const QString &folder);

// One file to put in place: its source and its final path.
struct FileCopy {
    QString source;
    QString target;
    bool table = false; // an engine table: copied as a consistent snapshot / checked before use
};

// The files of the three levels that lie under fromRoot, each paired with the path it takes
// under toRoot (an existing file of the same name there, matched without regard to case, keeps
// its spelling). Years are those of the year list; a year or module folder without entries
// yields nothing.
QList<FileCopy> ArchivedFilesOfTree(const QString &fromRoot, const QString &toRoot, const QStringList &years);

// The scratch file a copy is written to before it takes its final name. Its extension takes no
// part in the archive, so a scratch file left by a crash is never archived or restored.
QString ScratchCopyPath(const QString &target);

// The copies below are handed to the disk but not waited for: SyncToDisk makes each one durable
// before it takes its final name.

// Writes a consistent copy of a table file to scratch: the file is copied while the engine's read
// lock on the table is held, so a program writing the table meanwhile never tears the copy.
// An empty result on success, else what went wrong (in Polish).
QString SnapshotTableFile(const QString &source, const QString &scratch);
// A plain byte copy to scratch.
QString CopyPlainFile(const QString &source, const QString &scratch);
// Opens the table file and checks every page; an empty result when the table is sound.
QString CheckTableFile(const QString &path);

// Makes the folders of the target path; false when they cannot be made.
bool MakeParentFolders(const QString &target);
// Waits until the file (or a folder's entries) is on the disk.
bool SyncToDisk(const QString &path);
// Puts the scratch file in the target's place in one step; SyncToDisk on the folder makes the
// new name durable.
bool MoveIntoPlace(const QString &scratch, const QString &target);
