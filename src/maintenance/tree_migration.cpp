#include "maintenance/tree_migration.h"

#include "base/progress.h"
#include "base/server_location.h"
#include "maintenance/archive_files.h"
#include "maintenance/server_tree_archive.h"
#include "store/crash_point.h"
#include "store/engine_error.h"
#include "store/server_table_backend.h"
#include "store/server_tree_transaction.h"
#include "store/structure_listing.h"
#include "store/table_connection.h"
#include "store/table_file_check.h"
#include "store/table_transfer.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString WithoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

// The table files of a file tree at the archive's levels (the working folder's own parameter
// table left out: it never lies on a server), each paired with its path under toRoot.
QList<FileCopy> FileTablesOfTree(const QString &fromRoot, const QString &toRoot)
{
    QList<FileCopy> tables;
    const QDir from(fromRoot);
    for (const FileCopy &copy : ArchivedFilesOfTree(fromRoot, fromRoot, YearsOfDataRoot(fromRoot))) {
        const QString relative = from.relativeFilePath(copy.source);
        if (copy.table && relative.compare(QStringLiteral("KASA.DB"), Qt::CaseInsensitive) != 0)
            tables.append({copy.source, toRoot + relative, true});
    }
    return tables;
}

// Copies every table and then compares each with its source: the progress moves once per table
// in each pass.
void CopyAndCompare(const QList<FileCopy> &tables, bool writeListings, Progress &progress, TreeMigrationReport &report)
{
    for (const FileCopy &table : tables) {
        if (writeListings && !MakeParentFolders(table.target))
            throw EngineError(EngineErrorKind::Other,
                              QStringLiteral("Nie można utworzyć folderu %1.").arg(Shown(QFileInfo(table.target).absolutePath())));
        const TableDefinition definition = TransferTable(table.source, table.target);
        if (writeListings) {
            const QString listing = table.target.left(table.target.size() - 3) + QStringLiteral(".STR");
            if (!WriteStructureListingFile(listing, definition))
                throw EngineError(EngineErrorKind::Other, QStringLiteral("Nie można zapisać pliku %1.").arg(Shown(listing)));
        }
        CrashPoint("migration-table");
        ++report.tables;
        progress.Postep();
    }
    for (const FileCopy &table : tables) {
        report.differences += TableDifferences(table.source, table.target);
        progress.Postep();
    }
}

TreeMigrationReport FilesToServer(const QString &fromRoot, const QString &toRoot, Progress &progress)
{
    TreeMigrationReport report;
    if (!QFileInfo::exists(fromRoot + QStringLiteral("FIRMA.DB"))) {
        report.refusal = QStringLiteral("W folderze %1 nie ma danych firmy; nic nie zostało przeniesione.").arg(Shown(fromRoot));
        return report;
    }
    const QList<FileCopy> tables = FileTablesOfTree(fromRoot, toRoot);
    QStringList inUse;
    for (const FileCopy &table : tables)
        // A table this program has open is only read here (the window waits for the move); asking
        // about other programs would drop this program's own locks on it.
        if (!TableConnection::isOpenInThisProcess(table.source) && TableConnection::isInUseByOtherProgram(table.source))
            inUse.append(Shown(table.source));
    if (!inUse.isEmpty()) {
        report.refusal = QStringLiteral("Tabele są używane przez inny program, nic nie zostało przeniesione :\r")
                         + inUse.join(u'\r');
        return report;
    }
    ServerTreeTransaction write(toRoot, ServerTreeTransaction::Kind::Write);
    // The company table's lock first: two moves into one database at once find each other here.
    const QString company = toRoot + QStringLiteral("FIRMA.DB");
    if (!write.lockTables({company}).isEmpty() || !ServerTableBackend::tablesOfTree(toRoot).isEmpty()) {
        report.refusal = QStringLiteral("Baza danych %1 zawiera już dane firmy; nic nie zostało przeniesione.")
                             .arg(ParseServerTablePath(toRoot)->server);
        return report;
    }
    QStringList targets;
    for (const FileCopy &table : tables)
        targets.append(table.target);
    write.lockTables(targets);
    progress.Start(QStringLiteral("Przenoszenie danych"), int(tables.size()) * 2);
    CopyAndCompare(tables, false, progress, report);
    if (report.differences.isEmpty())
        write.commit();
    progress.Stop();
    return report;
}

TreeMigrationReport ServerToFiles(const QString &fromRoot, const QString &toRoot, Progress &progress)
{
    TreeMigrationReport report;
    const QString folder = WithoutTrailingSlash(toRoot);
    if (QFileInfo::exists(folder)
        && (!QFileInfo(folder).isDir() || !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))) {
        report.refusal = QStringLiteral("Folder %1 nie jest pusty; nic nie zostało przeniesione.").arg(Shown(folder));
        return report;
    }
    // Built beside the folder: a move cut short leaves no half tree under the folder's name.
    const QString building = folder + QStringLiteral(".przenoszenie");
    QDir(building).removeRecursively();
    if (!QDir().mkpath(building)) {
        report.refusal = QStringLiteral("Nie można utworzyć folderu %1; nic nie zostało przeniesione.").arg(Shown(building));
        return report;
    }
    try {
        ServerTreeTransaction snapshot(fromRoot, ServerTreeTransaction::Kind::Snapshot);
        const QList<FileCopy> tables = ServerTablesOfTree(fromRoot, building, ServerTableBackend::years(fromRoot));
        if (tables.isEmpty() || !ServerTableBackend::exists(fromRoot + QStringLiteral("FIRMA.DB"))) {
            QDir(building).removeRecursively();
            report.refusal = QStringLiteral("Baza danych %1 nie zawiera danych firmy; nic nie zostało przeniesione.")
                                 .arg(ParseServerTablePath(fromRoot)->server);
            return report;
        }
        progress.Start(QStringLiteral("Przenoszenie danych"), int(tables.size()) * 2);
        CopyAndCompare(tables, true, progress, report);
        progress.Stop();
    } catch (...) {
        progress.Stop();
        QDir(building).removeRecursively();
        throw;
    }
    if (!report.differences.isEmpty()) {
        QDir(building).removeRecursively();
        return report;
    }
    if (QFileInfo::exists(folder))
        QDir().rmdir(folder);
    if (!QDir().rename(building, folder) || !SyncToDisk(QFileInfo(folder).absolutePath())) {
        QDir(building).removeRecursively();
        report.refusal = QStringLiteral("Nie można nadać nazwy folderowi %1; nic nie zostało przeniesione.").arg(Shown(folder));
    }
    return report;
}

} // namespace

TreeMigrationReport MigrateDataTree(const QString &fromRoot, const QString &toRoot, Progress &progress)
{
    const bool fromServer = IsServerPath(fromRoot);
    if (fromServer == IsServerPath(toRoot)) {
        TreeMigrationReport report;
        report.refusal = fromServer ? QStringLiteral("Dane leżą już na serwerze bazy danych; podaj folder, do którego mają być przeniesione.")
                                    : QStringLiteral("Dane leżą już w plikach; podaj serwer bazy danych (pg:USŁUGA albo postgresql://...).");
        return report;
    }
    try {
        return fromServer ? ServerToFiles(fromRoot, toRoot, progress) : FilesToServer(fromRoot, toRoot, progress);
    } catch (const EngineError &error) {
        progress.Stop();
        TreeMigrationReport report;
        report.refusal = error.message() + QStringLiteral("\rNic nie zostało przeniesione.");
        return report;
    }
}

QString MigrationTargetRoot(const QString &given)
{
    if (IsServerPath(given))
        return ServerDataRoot(given).value_or(QString());
    if (given.trimmed().isEmpty())
        return QString();
    return WithoutTrailingSlash(QFileInfo(given.trimmed()).absoluteFilePath()) + u'/';
}
