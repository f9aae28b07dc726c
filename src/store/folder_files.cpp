#include "store/folder_files.h"

#include "store/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// Moves the copy into place. On POSIX a rename replaces the target in one step; elsewhere the
// target has to go first.
bool MoveOver(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    QFile::remove(to);
    return QFile::rename(from, to);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

void CopyOneFile(const QString &sourceFile, const QDir &target)
{
    const QString name = QFileInfo(sourceFile).fileName();
    const QString targetFile = ResolvePathIgnoringCase(target.filePath(name));
    const QString scratch = target.filePath(QLatin1Char('~') + name);
    QFile::remove(scratch);
    if (!QFile::copy(sourceFile, scratch))
        return;
    if (!MoveOver(scratch, targetFile))
        QFile::remove(scratch);
}

} // namespace

void CopyFolderFiles(const QString &sourceFolder, const QString &targetFolder)
{
    const QDir source(sourceFolder);
    const QDir target(targetFolder);
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        CopyOneFile(entry.filePath(), target);
}
