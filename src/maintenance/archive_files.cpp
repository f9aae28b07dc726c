#include "maintenance/archive_files.h"

#include "store/read_only_table_file.h"

#include "store/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const char *const kArchivedExtensions[] = {"DB", "MB", "PX", "XG", "YG"};
const QString kBaseFolder = QStringLiteral("BAZA");
// How long a snapshot waits for a program that is writing the table.
constexpr int kSnapshotWaitMs = 30000;

QString Extension(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

bool SyncFile(int fd)
{
    return ::fsync(fd) == 0;
}


QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The files of one folder that take part, each paired with its place in the target folder.
void AddFolderFiles(const QString &fromFolder, const QString &toFolder, QList<FileCopy> &copies)
{
    const QDir from(fromFolder);
    for (const QFileInfo &entry : from.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        const QString name = entry.fileName();
        if (!IsArchivedFileName(name))
            continue;
        const QString target = ResolvePathIgnoringCase(QDir(toFolder).filePath(name));
        copies.append({entry.filePath(), target, IsTableFileName(name)});
    }
}

bool HasEntries(const QString &folder)
{
    return QFileInfo(folder).isDir()
           && !QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).isEmpty();
}

// Level 2 and 3: every entry of the folder that is itself a folder with entries.
void AddModuleFolders(const QString &fromFolder, const QString &toFolder, QList<FileCopy> &copies)
{
    if (!HasEntries(fromFolder))
        return;
    for (const QString &name : ArchiveEntryNames(fromFolder)) {
        const QString module = QDir(fromFolder).filePath(name);
        if (HasEntries(module))
            AddFolderFiles(module, ResolvePathIgnoringCase(QDir(toFolder).filePath(name)), copies);
    }
}

} // namespace

bool IsArchivedFileName(const QString &fileName)
{
    const QString extension = Extension(fileName);
    if (extension.size() != 2 && extension.size() != 3)
        return false;
    for (const char *accepted : kArchivedExtensions)
        if (extension.left(2) == QLatin1String(accepted))
            return true;
    return false;
}

bool IsTableFileName(const QString &fileName)
{
    return Extension(fileName) == QLatin1String("DB");
}

QStringList ArchiveEntryNames(const QString &folder)
{
    QStringList names;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : entries)
        if (!name.startsWith(u'.'))
            names.append(name);
    return names;
}

QList<FileCopy> ArchivedFilesOfTree(const QString &fromRoot, const QString &toRoot, const QStringList &years)
{
    QList<FileCopy> copies;
    AddFolderFiles(fromRoot, toRoot, copies);
    const QString fromBase = ResolvePathIgnoringCase(QDir(fromRoot).filePath(kBaseFolder));
    AddModuleFolders(fromBase, ResolvePathIgnoringCase(QDir(toRoot).filePath(kBaseFolder)), copies);
    for (const QString &year : years)
        AddModuleFolders(QDir(fromRoot).filePath(year), ResolvePathIgnoringCase(QDir(toRoot).filePath(year)), copies);
    return copies;
}

QString ScratchCopyPath(const QString &target)
{
    return target + QStringLiteral(".kopia");
}

QString SnapshotTableFile(const QString &source, const QString &scratch)
{
    sqlite3 *db = nullptr;
    QString failure;
    // Read-write, so a journal left by a crashed writer is played back before the copy is taken.
    int rc = sqlite3_open_v2(QFile::encodeName(source).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kSnapshotWaitMs);
        rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        // Reading takes the table's read lock, held until the transaction ends: no program can
        // write the file meanwhile (a writer waits for it), so its bytes are one committed state.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            failure = CopyPlainFile(source, scratch);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK)
        failure = rc == SQLITE_BUSY || rc == SQLITE_LOCKED
                      ? QStringLiteral("tabela zajęta przez inny program")
                      : (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT
                             ? QStringLiteral("uszkodzona tabela")
                             : QStringLiteral("błąd kopiowania (%1)").arg(QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_close_v2(db);
    return failure;
}

QString CopyPlainFile(const QString &source, const QString &scratch)
{
    QFile::remove(scratch);
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return QStringLiteral("błąd odczytu (%1)").arg(SystemError(errno));
    const int out = ::open(QFile::encodeName(scratch).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return QStringLiteral("błąd zapisu (%1)").arg(SystemError(error));
    }
    QString failure;
    // The kernel copies the bytes itself where it can; otherwise they go through a buffer.
    bool copied = false;
    while (true) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
        if (n > 0)
            continue;
        if (n == 0) {
            copied = true;
        } else if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
            failure = QStringLiteral("błąd kopiowania (%1)").arg(SystemError(errno));
        } else {
            ::lseek(in, 0, SEEK_SET);
            ::ftruncate(out, 0);
            ::lseek(out, 0, SEEK_SET);
        }
        break;
    }
    static thread_local QByteArray buffer(1 << 20, Qt::Uninitialized);
    while (failure.isEmpty() && !copied) {
        const ssize_t got = ::read(in, buffer.data(), size_t(buffer.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            failure = QStringLiteral("błąd odczytu (%1)").arg(SystemError(errno));
            break;
        }
        if (got == 0)
            break;
        for (ssize_t written = 0; written < got;) {
            const ssize_t n = ::write(out, buffer.constData() + written, size_t(got - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failure = QStringLiteral("błąd zapisu (%1)").arg(SystemError(errno));
                break;
            }
            written += n;
        }
    }
    if (failure.isEmpty())
        ::sync_file_range(out, 0, 0, SYNC_FILE_RANGE_WRITE);
    ::close(out);
    ::close(in);
    if (!failure.isEmpty())
        QFile::remove(scratch);
    return failure;
}

QString CheckTableFile(const QString &path)
{
    ReadOnlyTableFile file(path);
    if (!file.error().isEmpty())
        return QStringLiteral("nie można otworzyć tabeli");
    const std::optional<QStringList> answer = file.column("PRAGMA quick_check");
    return answer && *answer == QStringList{QStringLiteral("ok")} ? QString() : QStringLiteral("uszkodzona tabela");
}

bool MakeParentFolders(const QString &target)
{
    return QDir().mkpath(QFileInfo(target).absolutePath());
}

bool SyncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = SyncFile(fd);
    ::close(fd);
    return synced;
}

bool MoveIntoPlace(const QString &scratch, const QString &target)
{
    return std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(target).constData()) == 0;
}
