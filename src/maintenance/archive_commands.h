#pragma once

#include <QString>
#include <functional>

class Progress;
class Prompt;
class Table;
struct GlobalState;

// The archive window's commands on the running program's tables.
struct ArchiveCommandContext {
    Table &company; // TFIRMA: ARCHDATA
    Prompt &prompt;
    Progress &progress;
    GlobalState &state; // DataRoot, YearFolders, TodayText
};

// The archive's folder unless another is chosen: ARCHIWUM in the data folder, or for data on a
// server, which has no folder, ARCHIWUM in the workstation's working folder.
QString DefaultArchiveFolder(const QString &dataRoot, const QString &workingFolder);

// "Archiwizuj": archives the data tree into the folder. ARCHDATA becomes today only when every
// file was copied; otherwise the files that failed are listed in one message. True only when the
// archive was written and its date stored.
bool Archiwizuj(const ArchiveCommandContext &context, const QString &archiveFolder);

// The question a restore asks before it replaces anything.
QString RestoreQuestion();

// "Odtwarzaj": asks first; on Yes closes every table, restores the archive and opens the data
// tree again (the open sequence). A refused or failed restore says why and changes nothing.
// True when the archive was restored.
bool Odtwarzaj(const ArchiveCommandContext &context, const QString &archiveFolder,
               const std::function<void()> &closeTables, const std::function<void()> &reopenTables);
