#include "maintenance/server_tree_archive.h"

#include "base/progress.h"
#include "maintenance/archive_tree_copy.h"
#include "store/crash_point.h"
#include "store/engine_error.h"
#include "store/file_move_journal.h"
#include "store/server_table_backend.h"
#include "store/server_tree_transaction.h"
#include "store/table_connection.h"
#include "store/table_file_check.h"
#include "store/table_files.h"
#include "store/table_transfer.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const QString kBaseFolder = QStringLiteral("BAZA");

// Whether the table lies at one of the archive's levels: the root's own, BAZA/<module>/ or
// <year>/<module>/ of a year of the list.
bool IsArchivedLevel(const QStringList &parts, const QStringList &years)
{
    if (parts.size() == 1)
        return true;
    if (parts.size() != 3)
        return false;
    return parts.first().compare(kBaseFolder, Qt::CaseInsensitive) == 0 || years.contains(parts.first());
}

// The year folder a table path below the root lies in, or empty for the tables outside the years.
QString YearOf(const QString &relative)
{
    const QString first = relative.section(u'/', 0, 0);
    bool number = false;
    first.toInt(&number);
    return relative.count(u'/') == 2 && number && first.size() == 4 ? first : QString();
}

} // namespace

QList<FileCopy> ServerTablesOfTree(const QString &dataRoot, const QString &toRoot, const QStringList &years)
{
    QList<FileCopy> copies;
    for (const QString &path : ServerTableBackend::tablesOfTree(dataRoot)) {
        const QString relative = path.mid(dataRoot.size());
        if (IsArchivedLevel(relative.split(u'/'), years))
            copies.append({path, ResolvePathIgnoringCase(QDir(toRoot).filePath(relative)), true});
    }
    return copies;
}

TreeCopyReport ArchiveServerTree(const QString &dataRoot, const QStringList &years, const QString &archiveFolder,
                                 Progress &progress)
{
    TreeCopyReport report;
    report.refusal = ArchiveFolderRefusal(dataRoot, years, archiveFolder);
    if (!report.refusal.isEmpty())
        return report;
    try {
        // Every table is read as of this moment, whatever other programs commit meanwhile.
        ServerTreeTransaction snapshot(dataRoot, ServerTreeTransaction::Kind::Snapshot);
        const QList<FileCopy> copies = ServerTablesOfTree(dataRoot, archiveFolder, years);
        QSet<QString> present;
        QStringList yearsWithTables;
        for (const FileCopy &copy : copies) {
            present.insert(copy.source.toUpper());
            const QString year = YearOf(copy.source.mid(dataRoot.size()));
            if (!year.isEmpty() && !yearsWithTables.contains(year))
                yearsWithTables << year;
        }
        QStringList missing;
        for (const QString &table : RequiredTableFiles(QString(), dataRoot, yearsWithTables))
            if (!present.contains(table.toUpper()))
                missing.append(table + QStringLiteral(" : brak tabeli"));
        if (!missing.isEmpty()) {
            report.refusal = QStringLiteral("Brak tabel, archiwum nie zostało zmienione :\r") + missing.join(u'\r');
            return report;
        }
        if (!QDir().mkpath(archiveFolder)) {
            report.refusal =
                QStringLiteral("Nie można utworzyć katalogu archiwum :\r") + QDir::toNativeSeparators(archiveFolder);
            return report;
        }
        if (!FinishInterruptedMoves(archiveFolder)) {
            report.refusal = QStringLiteral("Nie można dokończyć poprzedniego archiwum :\r")
                             + QDir::toNativeSeparators(archiveFolder);
            return report;
        }
        progress.Start(QStringLiteral("Archiwowanie"), int(years.size()) + 3);
        progress.Postep();
        const auto verify = [&archiveFolder](const FileCopy &copy, const QString &scratch) {
            // Each copy was written here from the server's rows, its indexes built from them.
            const TableFileCheck check =
                InspectTableFile(scratch, ExpectedStructureInTree(archiveFolder, copy.target), IndexReading::PagesOnly);
            return check.problems.join(QStringLiteral(", "));
        };
        PutFilesInPlace(copies, CopySource::ServerTables, years, archiveFolder, verify, progress, report);
        progress.Stop();
    } catch (const EngineError &error) {
        // The server could not be reached at all: nothing was written.
        progress.Stop();
        report.refusal = error.message() + QStringLiteral("\rArchiwum nie zostało zmienione.");
    }
    return report;
}

void RestoreTablesOnServer(const QList<FileCopy> &copies, const QList<FileCopy> &live, const QString &dataRoot,
                           const QStringList &years, Progress &progress, TreeCopyReport &report)
{
    try {
        ServerTreeTransaction write(dataRoot, ServerTreeTransaction::Kind::Write);
        QStringList tables;
        for (const FileCopy &copy : copies)
            tables.append(copy.target);
        for (const FileCopy &table : live)
            if (!tables.contains(table.source, Qt::CaseInsensitive))
                tables.append(table.source);
        QStringList inUse = write.lockTables(tables);
        for (const QString &table : std::as_const(tables))
            if (TableConnection::isOpenInThisProcess(table) && !inUse.contains(table))
                inUse.append(table);
        if (!inUse.isEmpty()) {
            report.refusal = QStringLiteral("Tabele są używane przez inny program, nic nie zostało odtworzone :\r")
                             + inUse.join(u'\r');
            return;
        }
        QString currentYear;
        for (const FileCopy &copy : copies) {
            const QString year = YearOf(copy.target.mid(dataRoot.size()));
            if (years.contains(year) && year != currentYear) {
                progress.Postep();
                currentYear = year;
            }
            TransferTable(copy.source, copy.target);
            CrashPoint("server-restore-table");
            ++report.copiedFiles;
        }
        write.commit();
        progress.Postep();
    } catch (const EngineError &error) {
        report.copiedFiles = 0;
        report.refusal = error.message() + QStringLiteral("\rNic nie zostało odtworzone.");
    }
}
