#include "store/table_replacement.h"

#include "base/server_location.h"
#include "store/crash_point.h"
#include "store/server_table_backend.h"
#include "store/server_tree_transaction.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_connection.h"
#include "store/table_files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kReplacementSuffix = QStringLiteral("_NOWY");
const QString kBackupSuffix = QStringLiteral("_STARY");

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

bool Exists(const QString &path)
{
    return QFileInfo::exists(path);
}

bool SyncPath(const QString &path, int flags)
{
    const int fd = ::open(Native(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool SyncFolderOf(const QString &filePath)
{
    return SyncPath(QFileInfo(filePath).absolutePath(), O_RDONLY);
}

bool RenameOver(const QString &from, const QString &to)
{
    return ::rename(Native(from).constData(), Native(to).constData()) == 0;
}

void RemoveWithJournal(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// The old table kept under the backup name.
bool KeepBackup(const QString &path, const QString &backup)
{
    RemoveWithJournal(backup);
    return GiveSecondName(path, backup);
}

// The replacement under the name it waits with, on disk.
bool MoveToWaitingName(const QString &replacementPath, const QString &waiting)
{
    const QString from = ResolvePathIgnoringCase(replacementPath);
    if (QFileInfo(from).absoluteFilePath() != QFileInfo(waiting).absoluteFilePath()) {
        RemoveWithJournal(waiting);
        if (!RenameOver(from, waiting))
            return false;
    }
    return SyncFileAndFolder(waiting);
}

} // namespace

QString ScratchTablePath(const QString &tablePathWithoutExtension, const QString &suffix)
{
    return WithoutDbExtension(tablePathWithoutExtension) + suffix;
}

QString ReplacementTablePath(const QString &tablePath)
{
    return ResolvePathIgnoringCase(ScratchTablePath(tablePath, kReplacementSuffix) + QStringLiteral(".DB"));
}

QString BackupTablePath(const QString &tablePath)
{
    return ResolvePathIgnoringCase(ScratchTablePath(tablePath, kBackupSuffix) + QStringLiteral(".DB"));
}

bool GiveSecondName(const QString &file, const QString &secondName)
{
    if (::link(Native(file).constData(), Native(secondName).constData()) == 0)
        return SyncFolderOf(secondName);
    const QString copying = secondName + QStringLiteral(".kopia");
    QFile::remove(copying);
    if (!QFile::copy(file, copying) || !SyncPath(copying, O_RDONLY) || !RenameOver(copying, secondName)) {
        QFile::remove(copying);
        return false;
    }
    return SyncFolderOf(secondName);
}

bool SyncFileAndFolder(const QString &filePath)
{
    return SyncPath(filePath, O_RDONLY) && SyncFolderOf(filePath);
}

namespace {

// On a server the old table goes and the replacement takes its name in one transaction: another
// program sees the old table or the new one.
bool ReplaceServerTable(Table &table, const QString &replacementPath)
{
    const QString path = table.filePath();
    try {
        ServerTreeTransaction transaction(path);
        ServerTableBackend::remove(path);
        const bool moved = ServerTableBackend::rename(replacementPath, path);
        if (moved)
            transaction.commit();
        table.close();
        return moved;
    } catch (const EngineError &) {
        table.close();
        try {
            ServerTableBackend::remove(replacementPath);
        } catch (const EngineError &) {
            // The server is gone: the replacement stays beside the table, which is unchanged.
        }
        return false;
    }
}

} // namespace

bool ReplaceTableFile(Table &table, const QString &replacementPath)
{
    const QString path = table.filePath();
    if (IsServerPath(path))
        return ReplaceServerTable(table, replacementPath);
    const QString waiting = ReplacementTablePath(path);
    const QString backup = BackupTablePath(path);
    auto giveUp = [&] {
        table.close();
        RemoveWithJournal(waiting);
        RemoveWithJournal(ResolvePathIgnoringCase(replacementPath));
        return false;
    };
    if (!Exists(path) || !MoveToWaitingName(replacementPath, waiting))
        return giveUp();
    CrashPoint("replace-waiting");
    if (!KeepBackup(path, backup))
        return giveUp();
    CrashPoint("replace-backup");
    if (!RenameOver(waiting, path)) {
        QFile::remove(backup);
        return giveUp();
    }
    SyncFolderOf(path);
    CrashPoint("replace-renamed");
    // The old file's last name goes only after the program lets go of it.
    table.close();
    QFile::remove(backup);
    SyncFolderOf(backup);
    return true;
}

ReplacementRecovery RecoverInterruptedReplacement(const QString &tablePath)
{
    const QString path = ResolvePathIgnoringCase(tablePath);
    const QString backup = BackupTablePath(path);
    if (!Exists(backup))
        return ReplacementRecovery::Nothing;
    // The program replacing the table holds the old file, which the backup names too.
    if (TableConnection::isInUseByOtherProgram(backup))
        return ReplacementRecovery::InProgress;
    const QString waiting = ReplacementTablePath(path);
    ReplacementRecovery outcome = ReplacementRecovery::Nothing;
    if (Exists(waiting)) {
        // The backup is made only once the replacement is complete and on disk.
        if (!RenameOver(waiting, path))
            return ReplacementRecovery::Nothing;
        outcome = ReplacementRecovery::Finished;
    } else if (!Exists(path)) {
        if (!RenameOver(backup, path))
            return ReplacementRecovery::Nothing;
        SyncFolderOf(path);
        return ReplacementRecovery::Restored;
    }
    SyncFolderOf(path);
    QFile::remove(backup);
    SyncFolderOf(backup);
    return outcome;
}

void DeleteTableQuietly(Table &table)
{
    table.close();
    try {
        table.deleteTable();
    } catch (const EngineError &) {
    }
}
