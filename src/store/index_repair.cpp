#include "store/index_repair.h"

#include "base/prompt.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/helper_indexes.h"
#include "store/server_table_backend.h"
#include "store/table_connection.h"
#include "base/server_location.h"
#include "store/session.h"
#include "store/structure_listing.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const char *const kQuestion = "Uwaga ! Proszę zamknąć pozostałe programy.\rCzy zacząć odtwarzanie indeksów ?";
const char *const kTablesUsedLine = "Bazy danych używane w programie:";
const char *const kRepairingLine = "Odtwarzanie baz danych używanych w programie:";
const char *const kEndLine = "KONIEC";
const char *const kWorking = " ...";
const char *const kRepaired = " naprawiono.";
const char *const kNotRepaired = " nienaprawiono.";

// Columns of an index line, 0-based.
constexpr int kIndexNameAt = 6;
constexpr int kIndexKeysAt = 51;
constexpr int kColumnWidth = 40;

// SQLite's side files of a table file: a crash may leave the only good copy of some pages there.
const char *const kSqliteSideFileEndings[] = {".DB-journal", ".DB-wal", ".DB-shm"};

QString Text(const char *utf8) { return QString::fromUtf8(utf8); }

// Relative table names start in the session's working folder, as the engine reads them.
QString InWorkingFolder(const Session &session, const QString &tablePath)
{
    if (IsServerPath(tablePath))
        return tablePath;
    const QString path = NativeRelativePath(tablePath);
    return QDir::isRelativePath(path) ? QDir(session.workingFolder()).filePath(path) : path;
}

bool IsSqliteSideFile(const QString &fileName)
{
    for (const char *ending : kSqliteSideFileEndings)
        if (fileName.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return true;
    return false;
}

QStringList LinesOf(const QByteArray &listing)
{
    QStringDecoder decode("windows-1250");
    QStringList lines = QString(decode(listing)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

IndexDef IndexOfLine(const QString &line)
{
    return IndexFromListing(line.mid(kIndexNameAt, kColumnWidth), line.mid(kIndexKeysAt, kColumnWidth));
}

std::optional<QByteArray> ReadListing(const QString &tablePath)
{
    QFile file(ResolvePathIgnoringCase(tablePath + QStringLiteral(".STR")));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return text;
}

// Opening the table once lets SQLite play back a journal left by an interrupted write, so the
// table is whole again before anything around it is touched.
void RecoverInterruptedWrite(Session &session, const QString &tablePath)
{
    const QStringList files = TableCompanionFiles(tablePath);
    const bool hasSideFile = std::any_of(files.cbegin(), files.cend(), [](const QString &file) {
        return IsSqliteSideFile(QFileInfo(file).fileName());
    });
    if (!hasSideFile)
        return;
    Table table(session);
    table.setTableName(tablePath + QStringLiteral(".DB"));
    try {
        table.open();
        table.close();
    } catch (const EngineError &) {
        // Held or damaged: the exclusive open below tells.
    }
}

void DeleteIndexFiles(const QString &tablePath)
{
    for (const QString &file : TableCompanionFiles(tablePath))
        if (!IsKeptByIndexRepair(QFileInfo(file).fileName()))
            QFile::remove(file); // a file that stays is no reason to stop
}

bool HasIndexLike(const QList<IndexDef> &indexes, const IndexDef &index)
{
    return std::any_of(indexes.cbegin(), indexes.cend(), [&](const IndexDef &other) {
        return index.primary ? other.primary : !other.primary && other.name.compare(index.name, Qt::CaseInsensitive) == 0;
    });
}

// The table's indexes become those of the listing. A listing without index lines keeps the
// table's own definitions, built afresh: dropping them would leave the table without its keys.
// The indexes the program defines for the table are built whatever the listing says: without
// them the program cannot open it. All in one transaction, so an index that cannot be built
// leaves the old ones in place.
void RebuildIndexes(Table &table, const QList<IndexDef> &listed, const QString &tablePath)
{
    const QList<IndexDef> existing = table.definition().indexes;
    QList<IndexDef> wanted = listed.isEmpty() ? existing : listed;
    if (const std::optional<TableDefinition> own = ProgramDefinitionOfTable(tablePath, table.definition()))
        for (const IndexDef &index : own->indexes)
            if (!HasIndexLike(wanted, index))
                wanted.append(index);
    TransactionScope scope;
    for (const IndexDef &index : existing)
        table.deleteIndex(index.primary ? QString() : index.name);
    for (const IndexDef &index : wanted)
        table.addIndex(index);
    scope.commit();
    // The engine's helper indexes too: a repair leaves the table as fast as a new one.
    table.buildHelperIndexes(ProgramHelperIndexes(table.definition()));
}

// Opens the table to the repair alone; empty when it did, else why not.
QString OpenForRepair(Table &table, const QString &tablePath)
{
    table.setTableName(tablePath + QStringLiteral(".DB"));
    try {
        table.openExclusive();
    } catch (const EngineError &error) {
        return error.kind() == EngineErrorKind::Locked ? QStringLiteral("tabela jest otwarta w innym programie")
                                                       : QStringLiteral("tabela jest uszkodzona (%1)").arg(error.message());
    }
    return QString();
}

// A table on a server has no listing beside it: its indexes are rebuilt from its own definitions
// and the program's, and the server then builds every index of it anew (the helper indexes too).
QString RepairServerTable(Session &session, const QString &tablePath)
{
    if (!TableExists(tablePath + QStringLiteral(".DB")))
        return QStringLiteral("brak tabeli");
    Table table(session);
    if (const QString refusal = OpenForRepair(table, tablePath); !refusal.isEmpty())
        return refusal;
    RebuildIndexes(table, {}, tablePath);
    ServerTableBackend::reindex(table.filePath());
    return QString();
}

// Empty when the indexes were rebuilt, else why the table could not be repaired; throws
// EngineError when an index cannot be built.
QString RepairTable(Session &session, const QString &recordedPath)
{
    const QString tablePath = InWorkingFolder(session, recordedPath);
    if (IsServerPath(tablePath))
        return RepairServerTable(session, tablePath);
    if (!QFileInfo(ResolvePathIgnoringCase(tablePath + QStringLiteral(".DB"))).isFile())
        return QStringLiteral("brak pliku tabeli");
    const std::optional<QByteArray> listing = ReadListing(tablePath);
    if (!listing)
        return QStringLiteral("brak opisu struktury (.STR)");
    // The whole listing is read and checked before anything is touched.
    const std::optional<QList<IndexDef>> listed = IndexesOfCompleteListing(*listing);
    if (!listed)
        return QStringLiteral("opis struktury (.STR) jest niepełny");
    RecoverInterruptedWrite(session, tablePath);
    DeleteIndexFiles(tablePath);

    Table table(session);
    if (const QString refusal = OpenForRepair(table, tablePath); !refusal.isEmpty())
        return refusal;
    RebuildIndexes(table, *listed, tablePath);
    return QString();
}

void ListTables(IndexRepairLog &log, const QStringList &tables)
{
    log.clear();
    log.addLine(Text(kTablesUsedLine));
    for (const QString &path : tables)
        log.addLine(path);
    log.addLine(Text(kRepairingLine));
}

void ReopenTables(const IndexRepairContext &context)
{
    if (context.rerunOpenSequence) {
        context.rerunOpenSequence();
        return;
    }
    try {
        context.session.reopenAll();
    } catch (const EngineError &) {
        // The tables that did not open stay closed, as after a failed open sequence.
    }
}

} // namespace

QList<IndexDef> IndexLinesOfListing(const QByteArray &listing)
{
    const QStringList lines = LinesOf(listing);
    int at = 0;
    while (at < lines.size() && !lines[at].startsWith(QLatin1String("INDEKSY")))
        ++at;
    QList<IndexDef> indexes;
    for (int i = at + 1; i < lines.size() - 1; ++i)
        if (lines[i].startsWith(QLatin1String("Nazwa")))
            indexes << IndexOfLine(lines[i]);
    return indexes;
}

std::optional<QList<IndexDef>> IndexesOfCompleteListing(const QByteArray &listing)
{
    const QStringList lines = LinesOf(listing);
    auto is = [](const QString &line, const char *text) { return line.trimmed() == QLatin1String(text); };
    if (lines.size() < 2 || !is(lines.first(), "STRUKTURA ZBIORU") || !is(lines.last(), kEndLine))
        return std::nullopt;
    bool inIndexes = false;
    QList<IndexDef> indexes;
    for (qsizetype i = 1; i < lines.size() - 1; ++i) {
        const QString &line = lines[i];
        if (!inIndexes && line.startsWith(QLatin1String("Pole:")) && line.contains(QLatin1String("Obecnosc:")))
            continue;
        if (!inIndexes && is(line, "INDEKSY")) {
            inIndexes = true;
            continue;
        }
        if (!inIndexes || !line.startsWith(QLatin1String("Nazwa:")) || line.mid(kIndexKeysAt - 5, 5) != QLatin1String("Pole:"))
            return std::nullopt;
        const IndexDef index = IndexOfLine(line);
        if (index.fields.isEmpty() || HasIndexLike(indexes, index))
            return std::nullopt;
        indexes << index;
    }
    return indexes;
}

bool IsKeptByIndexRepair(const QString &fileName)
{
    static const QStringList kept{QStringLiteral("MB"), QStringLiteral("DB"), QStringLiteral("XE"),
                                  QStringLiteral("TR")};
    return kept.contains(fileName.right(2).toUpper()) || IsSqliteSideFile(fileName);
}

QString IndexRepairQuestion()
{
    return Text(kQuestion);
}

IndexRepairResult RunIndexRepair(const IndexRepairContext &context, IndexRepairLog &log)
{
    if (!context.prompt.askYesNo(Text(kQuestion), PromptIcon::Warning))
        return IndexRepairResult::Declined;
    context.session.closeAll();
    ListTables(log, context.tables);

    for (const QString &path : context.tables) {
        const int line = log.addLine(path + Text(kWorking));
        try {
            const QString failure = RepairTable(context.session, path);
            log.replaceLine(line, path + Text(failure.isEmpty() ? kRepaired : kNotRepaired));
            if (!failure.isEmpty() && context.notRepaired)
                context.notRepaired->append(path + QStringLiteral(" : ") + failure);
        } catch (const EngineError &error) {
            log.replaceLine(line, path + Text(kNotRepaired));
            if (context.notRepaired)
                context.notRepaired->append(path + QStringLiteral(" : ") + error.message());
            context.prompt.error(error.message());
            ReopenTables(context);
            return IndexRepairResult::Stopped;
        }
    }
    log.addLine(Text(kEndLine));
    ReopenTables(context);
    return IndexRepairResult::Finished;
}
