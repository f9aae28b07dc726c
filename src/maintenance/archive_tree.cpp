#include "maintenance/archive_tree.h"

#include "base/progress.h"
#include "maintenance/archive_files.h"
#include "maintenance/archive_tree_copy.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Normalised(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool IsSameOrInside(const QString &folder, const QString &outer)
{
    return folder.compare(outer, Qt::CaseInsensitive) == 0
           || folder.startsWith(outer + u'/', Qt::CaseInsensitive);
}

} // namespace

QString TreeCopyReport::message() const
{
    if (!refusal.isEmpty())
        return refusal;
    if (failures.isEmpty())
        return QString();
    return QStringLiteral("Nie udało się skopiować plików :\r") + failures.join(u'\r')
           + QStringLiteral("\rŻaden plik nie został zmieniony.");
}

QString ArchiveFolderRefusal(const QString &dataRoot, const QStringList &years, const QString &archiveFolder)
{
    if (archiveFolder.trimmed().isEmpty())
        return QStringLiteral("Nie podano katalogu archiwum.");
    const QString archive = Normalised(archiveFolder);
    const QString root = Normalised(dataRoot);
    bool inside = archive.compare(root, Qt::CaseInsensitive) == 0;
    for (const QString &year : years)
        inside = inside || IsSameOrInside(archive, root + u'/' + year);
    if (inside)
        return QStringLiteral("Katalog archiwum nie może być katalogiem danych ani leżeć w katalogu roku :\r")
               + QDir::toNativeSeparators(archiveFolder);
    return QString();
}

TreeCopyReport ArchiveDataTree(const QString &dataRoot, const QStringList &years, const QString &archiveFolder,
                               Progress &progress)
{
    TreeCopyReport report;
    report.refusal = ArchiveFolderRefusal(dataRoot, years, archiveFolder);
    if (!report.refusal.isEmpty())
        return report;
    if (!QDir().mkpath(archiveFolder)) {
        report.refusal = QStringLiteral("Nie można utworzyć katalogu archiwum :\r") + QDir::toNativeSeparators(archiveFolder);
        return report;
    }
    progress.Start(QStringLiteral("Archiwowanie"), int(years.size()) + 3);
    progress.Postep();
    const QList<FileCopy> copies = ArchivedFilesOfTree(dataRoot, archiveFolder, years);
    PutFilesInPlace(copies, CopySource::LiveTables, years, progress, report);
    progress.Stop();
    return report;
}
