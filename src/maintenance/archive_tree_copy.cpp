#include "maintenance/archive_tree_copy.h"

#include "base/progress.h"
#include "store/crash_point.h"
#include "store/engine_error.h"
#include "store/file_move_journal.h"
#include "store/table_transfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The year whose folder the file lies in, two levels above it, or empty for the root's files
// and BAZA's.
QString YearOfCopy(const FileCopy &copy)
{
    const QStringList parts = QDir::fromNativeSeparators(copy.target).split(u'/');
    return parts.size() >= 3 ? parts.at(parts.size() - 3) : QString();
}

QString WriteScratch(const FileCopy &copy, CopySource source)
{
    if (!MakeParentFolders(copy.target))
        return QStringLiteral("nie można utworzyć katalogu");
    const QString scratch = ScratchCopyPath(copy.target);
    if (source == CopySource::ServerTables) {
        QFile::remove(scratch);
        try {
            TransferTable(copy.source, scratch);
            return QString();
        } catch (const EngineError &error) {
            QFile::remove(scratch);
            return error.message();
        }
    }
    if (copy.table && source == CopySource::LiveTables)
        return SnapshotTableFile(copy.source, scratch);
    return CopyPlainFile(copy.source, scratch);
}

} // namespace

void PutFilesInPlace(const QList<FileCopy> &copies, CopySource source, const QStringList &years,
                     const QString &targetRoot, const CopyVerification &verify, Progress &progress,
                     TreeCopyReport &report)
{
    QStringList written;
    QString currentYear;
    bool rootDone = false;
    for (const FileCopy &copy : copies) {
        const QString year = YearOfCopy(copy);
        if (years.contains(year) && year != currentYear) {
            if (!rootDone) {
                progress.Postep();
                rootDone = true;
            }
            progress.Postep();
            currentYear = year;
        }
        QString failure = WriteScratch(copy, source);
        if (failure.isEmpty())
            written.append(ScratchCopyPath(copy.target));
        if (failure.isEmpty() && verify)
            failure = verify(copy, ScratchCopyPath(copy.target));
        if (!failure.isEmpty())
            report.failures.append(Shown(copy.source) + QStringLiteral(" : ") + failure);
    }
    if (!rootDone)
        progress.Postep();
    if (!report.failures.isEmpty()) {
        for (const QString &scratch : std::as_const(written))
            QFile::remove(scratch);
        progress.Postep();
        return;
    }
    // Every copy is on the disk before the first one takes its name.
    for (const FileCopy &copy : copies)
        if (!SyncToDisk(ScratchCopyPath(copy.target)))
            report.failures.append(Shown(copy.target) + QStringLiteral(" : błąd zapisu"));
    if (!report.failures.isEmpty()) {
        for (const QString &scratch : std::as_const(written))
            QFile::remove(scratch);
        progress.Postep();
        return;
    }
    QList<PendingMove> moves;
    for (const FileCopy &copy : copies)
        moves.append({ScratchCopyPath(copy.target), copy.target});
    if (!WriteMoveJournal(targetRoot, moves)) {
        for (const QString &scratch : std::as_const(written))
            QFile::remove(scratch);
        report.failures.append(Shown(targetRoot) + QStringLiteral(" : błąd zapisu"));
        progress.Postep();
        return;
    }
    QSet<QString> folders;
    for (const FileCopy &copy : copies) {
        const bool moved = MoveIntoPlace(ScratchCopyPath(copy.target), copy.target);
        CrashPoint("tree-copy-switch");
        if (moved)
            ++report.copiedFiles;
        else
            report.failures.append(Shown(copy.target) + QStringLiteral(" : błąd zapisu"));
        folders.insert(QFileInfo(copy.target).absolutePath());
    }
    for (const QString &folder : std::as_const(folders))
        SyncToDisk(folder);
    if (report.failures.isEmpty())
        RemoveMoveJournal(targetRoot);
    progress.Postep();
}
