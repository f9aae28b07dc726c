#include "maintenance/archive_tree.h"

#include "base/progress.h"
#include "maintenance/archive_files.h"
#include "maintenance/archive_tree_copy.h"
#include "maintenance/server_tree_archive.h"
#include "base/server_location.h"
#include "store/file_move_journal.h"
#include "store/table_file_check.h"

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
    // An archive is a folder of table files on a disk; a server's path would be taken as one of
    // its tables.
    if (IsServerPath(archiveFolder))
        return QStringLiteral("Katalog archiwum musi być folderem na dysku, nie bazą na serwerze :\r") + archiveFolder;
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
    if (IsServerPath(dataRoot))
        return ArchiveServerTree(dataRoot, years, archiveFolder, progress);
    TreeCopyReport report;
    report.refusal = ArchiveFolderRefusal(dataRoot, years, archiveFolder);
    if (!report.refusal.isEmpty())
        return report;
    if (!QFileInfo(dataRoot).isDir()) {
        report.refusal = QStringLiteral("Brak katalogu danych :\r") + QDir::toNativeSeparators(dataRoot);
        return report;
    }
    const QList<FileCopy> copies = ArchivedFilesOfTree(dataRoot, archiveFolder, years);
    // Every table the program needs must be in the archive: one it lacks could not be restored.
    // A year folder without a single table holds nothing to archive and is passed over.
    QStringList yearsWithTables;
    for (const FileCopy &copy : copies) {
        const QString year = QDir(dataRoot).relativeFilePath(copy.source).section(u'/', 0, 0);
        if (copy.table && years.contains(year) && !yearsWithTables.contains(year))
            yearsWithTables << year;
    }
    QStringList missing;
    for (const QString &table : RequiredTableFiles(QString(), dataRoot, yearsWithTables))
        if (!QFileInfo(table).isFile())
            missing.append(QDir::toNativeSeparators(table) + QStringLiteral(" : brak tabeli"));
    if (!missing.isEmpty()) {
        report.refusal = QStringLiteral("Brak tabel, archiwum nie zostało zmienione :\r") + missing.join(u'\r');
        return report;
    }
    if (!QDir().mkpath(archiveFolder)) {
        report.refusal = QStringLiteral("Nie można utworzyć katalogu archiwum :\r") + QDir::toNativeSeparators(archiveFolder);
        return report;
    }
    // The previous archive's switch, if cut short, ends before this one begins.
    if (!FinishInterruptedMoves(archiveFolder)) {
        report.refusal = QStringLiteral("Nie można dokończyć poprzedniego archiwum :\r") + QDir::toNativeSeparators(archiveFolder);
        return report;
    }
    progress.Start(QStringLiteral("Archiwowanie"), int(years.size()) + 3);
    progress.Postep();
    // What a restore would refuse is not archived: each copied table is checked as the table it is.
    const auto verify = [&dataRoot](const FileCopy &copy, const QString &scratch) {
        if (!copy.table)
            return QString();
        const TableFileCheck check = InspectTableFile(scratch, ExpectedStructureInTree(dataRoot, copy.source));
        return check.problems.join(QStringLiteral(", "));
    };
    PutFilesInPlace(copies, CopySource::LiveTables, years, archiveFolder, verify, progress, report);
    progress.Stop();
    return report;
}
