#include "store/file_move_journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char *const kJournalName = ".kasa-przenoszenie";

QString JournalPath(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(kJournalName));
}

void SyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool WriteMoveJournal(const QString &folder, const QList<PendingMove> &moves)
{
    const QDir root(folder);
    QSaveFile journal(JournalPath(folder));
    if (!journal.open(QIODevice::WriteOnly))
        return false;
    for (const PendingMove &move : moves)
        journal.write((root.relativeFilePath(move.scratch) + u'\t' + root.relativeFilePath(move.target) + u'\n').toUtf8());
    journal.write("KONIEC\n");
    if (!journal.commit())
        return false;
    SyncFolder(folder);
    return true;
}

void RemoveMoveJournal(const QString &folder)
{
    QFile::remove(JournalPath(folder));
    SyncFolder(folder);
}

bool FinishInterruptedMoves(const QString &folder)
{
    QFile journal(JournalPath(folder));
    if (!journal.exists())
        return true;
    if (!journal.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = journal.readAll().split('\n');
    journal.close();
    // A journal cut short was never complete, so no move had begun.
    if (!lines.contains("KONIEC")) {
        RemoveMoveJournal(folder);
        return true;
    }
    const QDir root(folder);
    bool finished = true;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> paths = line.split('\t');
        if (paths.size() != 2)
            continue;
        const QString scratch = root.filePath(QString::fromUtf8(paths[0]));
        const QString target = root.filePath(QString::fromUtf8(paths[1]));
        if (!QFileInfo::exists(scratch))
            continue; // moved before the interruption
        if (std::rename(QFile::encodeName(scratch).constData(), QFile::encodeName(target).constData()) != 0)
            finished = false;
        else
            SyncFolder(QFileInfo(target).absolutePath());
    }
    if (finished)
        RemoveMoveJournal(folder);
    return finished;
}
