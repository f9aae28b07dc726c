#include "maintenance/restore_tree.h"

#include "base/progress.h"
#include "maintenance/archive_files.h"
#include "maintenance/archive_tree_copy.h"
#include "maintenance/server_tree_archive.h"
#include "base/server_location.h"
#include "store/engine_error.h"
#include "store/file_move_journal.h"
#include "store/read_only_table_file.h"
#include "store/table_connection.h"
#include "store/table_file_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Holds the open-lock of every live table the restore replaces, so no program opens one of them
// while the archived files move in; another program holding one is found on the way.
class LiveTableLocks {
public:
    LiveTableLocks() = default;
    LiveTableLocks(const LiveTableLocks &) = delete;
    LiveTableLocks &operator=(const LiveTableLocks &) = delete;
    ~LiveTableLocks()
    {
        for (const int fd : std::as_const(descriptors_))
            ::close(fd);
    }

    // False when the table is open somewhere (this program included).
    bool lock(const QString &path)
    {
        if (!QFileInfo::exists(path))
            return true;
        // A table still open here would lose its engine locks if this descriptor closed later.
        if (TableConnection::isOpenInThisProcess(path))
            return false;
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return false;
        }
        descriptors_.append(fd);
        return true;
    }

private:
    QList<int> descriptors_;
};

void SettleJournal(const QString &table)
{
    const QString journal = table + QStringLiteral("-journal");
    if (!QFileInfo::exists(journal))
        return;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(table).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    QFile::remove(journal);
}

// An archived table is put back only when it is the table it claims to be: its pages sound, the
// structure the program expects of a file of its name, and its rows readable. An empty file or
// another table's file under the name passes the engine's own check but not this one.
QString ArchivedTableProblem(const QString &archiveFolder, const QString &path)
{
    const TableFileCheck check = InspectTableFile(path, ExpectedStructureInTree(archiveFolder, path));
    if (!check.sound())
        return check.problems.join(QStringLiteral(", "));
    ReadOnlyTableFile file(path);
    if (file.rowCount() < 0)
        return QStringLiteral("nie można odczytać wierszy tabeli");
    return QString();
}

// The working folder's parameter table lies in the data root when the two are one folder; an
// archive made from a server tree cannot hold it (it never lies on a server), so it stays.
bool IsWorkingFolderTable(const QString &root, const QString &path)
{
    return QDir(root).relativeFilePath(path).compare(QStringLiteral("KASA.DB"), Qt::CaseInsensitive) == 0;
}

} // namespace

TreeCopyReport RestoreDataTree(const QString &archiveFolder, const QString &dataRoot, const QStringList &years,
                               Progress &progress)
{
    TreeCopyReport report;
    report.refusal = ArchiveFolderRefusal(dataRoot, years, archiveFolder);
    if (report.refusal.isEmpty() && !QFileInfo(archiveFolder).isDir())
        report.refusal = QStringLiteral("Brak katalogu archiwum :\r") + Shown(archiveFolder);
    if (!report.refusal.isEmpty())
        return report;
    // An archive whose switch was cut short is finished first, so it is entirely of one moment;
    // one that cannot be finished (a read-only medium) is not taken.
    if (!FinishInterruptedMoves(archiveFolder)) {
        report.refusal = QStringLiteral("Archiwum nie zostało dokończone, nic nie zostało odtworzone :\r") + Shown(archiveFolder);
        return report;
    }
    const bool onServer = IsServerPath(dataRoot);
    QList<FileCopy> copies;
    QList<FileCopy> liveTables;
    if (onServer) {
        // Only tables go onto a server.
        for (const FileCopy &copy : ArchivedFilesOfTree(archiveFolder, dataRoot, years))
            if (copy.table)
                copies.append(copy);
        try {
            liveTables = ServerTablesOfTree(dataRoot, archiveFolder, years);
        } catch (const EngineError &error) {
            report.refusal = error.message() + QStringLiteral("\rNic nie zostało odtworzone.");
            return report;
        }
    } else {
        FinishInterruptedMoves(dataRoot);
        copies = ArchivedFilesOfTree(archiveFolder, dataRoot, years);
        liveTables = ArchivedFilesOfTree(dataRoot, archiveFolder, years);
    }
    QStringList damaged;
    // Every table of the tree must come back from the archive: a table it lacks would leave the
    // live one beside restored ones of another moment.
    for (const FileCopy &live : std::as_const(liveTables))
        if (live.table && !QFileInfo(live.target).isFile() && !IsWorkingFolderTable(dataRoot, live.source))
            damaged.append(Shown(live.target) + QStringLiteral(" : brak tabeli w archiwum"));
    QStringList inUse;
    LiveTableLocks locks;
    for (const FileCopy &copy : std::as_const(copies)) {
        if (!copy.table)
            continue;
        const QString failure = ArchivedTableProblem(archiveFolder, copy.source);
        if (!failure.isEmpty())
            damaged.append(Shown(copy.source) + QStringLiteral(" : ") + failure);
        if (!onServer && !locks.lock(copy.target))
            inUse.append(Shown(copy.target));
    }
    if (!damaged.isEmpty()) {
        report.refusal = QStringLiteral("Archiwum jest uszkodzone, nic nie zostało odtworzone :\r") + damaged.join(u'\r');
        return report;
    }
    if (!inUse.isEmpty()) {
        report.refusal = QStringLiteral("Tabele są używane przez inny program, nic nie zostało odtworzone :\r")
                         + inUse.join(u'\r');
        return report;
    }

    progress.Start(QStringLiteral("Odtwarzanie zbiorów"), int(years.size()) + 3);
    progress.Postep();
    if (onServer) {
        RestoreTablesOnServer(copies, liveTables, dataRoot, years, progress, report);
        progress.Stop();
        return report;
    }
    // A journal beside a table belongs to that file: a crashed write is played back into the old
    // table now, and never into the restored one.
    for (const FileCopy &copy : copies)
        if (copy.table)
            SettleJournal(copy.target);
    PutFilesInPlace(copies, CopySource::ArchivedTables, years, dataRoot, {}, progress, report);
    progress.Stop();
    return report;
}
