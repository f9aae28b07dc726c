#include "store/table_file_check.h"

#include "base/server_location.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/server_table_backend.h"
#include "store/server_table_check.h"
#include "store/server_tree_transaction.h"
#include "store/read_only_table_file.h"
#include "store/table_files.h"
#include "store/table_schemas.h"
#include "store/table_storage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>

namespace {

void CheckStructure(ReadOnlyTableFile &connection, const TableDefinition &expected, QStringList &problems)
{
    const QHash<QString, int> types = connection.fieldTypes();
    if (types.isEmpty()) {
        problems << QStringLiteral("brak opisu struktury tabeli");
        return;
    }
    for (const FieldDef &field : expected.fields) {
        const auto found = types.constFind(field.name.toUpper());
        if (found == types.constEnd())
            problems << QStringLiteral("brak pola %1").arg(field.name);
        else if (*found != int(field.type))
            problems << QStringLiteral("pole %1 ma inny typ").arg(field.name);
    }
    const std::optional<QStringList> indexes = connection.column("SELECT name FROM table_indexes");
    if (!indexes)
        return;
    QStringList present;
    for (const QString &name : *indexes)
        present << name.toUpper();
    for (const IndexDef &index : expected.indexes)
        if (!index.name.isEmpty() && !present.contains(index.name.toUpper()))
            problems << QStringLiteral("brak indeksu %1").arg(index.name);
}

// The keys each unique index of the program holds once: a key written twice by another tool
// stops every listing of the table.
void CheckKeys(ReadOnlyTableFile &connection, const TableDefinition &expected, QStringList &problems)
{
    for (const IndexDef &index : expected.indexes) {
        if (!index.primary && !index.unique)
            continue;
        const std::optional<QStringList> repeated = connection.column(RepeatedKeysSql(expected, index));
        if (repeated && !repeated->isEmpty() && repeated->first().toLongLong() > 0)
            problems << QStringLiteral("klucz %1 (%2) powtarza się w %3 wierszach")
                            .arg(index.primary ? QStringLiteral("główny") : index.name, index.fields.join(u';'),
                                 repeated->first());
    }
}

// Every stored value must be one its field can hold: a number in a number or money field, a
// date (yyyy.mm.dd) in a date field. One reading of the table finds each field's first wrong row.
void CheckValues(ReadOnlyTableFile &connection, const TableDefinition &expected, QStringList &problems)
{
    struct ValueRule {
        const FieldDef *field;
        QByteArray wrong;
        QString what;
    };
    QList<ValueRule> rules;
    for (const FieldDef &field : expected.fields) {
        const QByteArray column = QuotedName(field.name);
        QByteArray wrong;
        QString what;
        switch (field.type) {
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::AutoIncrement:
        case FieldType::Boolean:
        case FieldType::Currency:
            wrong = "typeof(" + column + ") NOT IN ('integer', 'null')";
            what = field.type == FieldType::Currency ? QStringLiteral("kwotą") : QStringLiteral("liczbą");
            break;
        case FieldType::Float:
            wrong = "typeof(" + column + ") NOT IN ('integer', 'real', 'null')";
            what = QStringLiteral("liczbą");
            break;
        case FieldType::Date:
            wrong = column + " <> '' AND (" + column + " NOT GLOB '[0-9][0-9][0-9][0-9].[0-9][0-9].[0-9][0-9]' OR date(replace("
                    + column + ", '.', '-')) IS NOT replace(" + column + ", '.', '-'))";
            what = QStringLiteral("datą");
            break;
        default:
            continue;
        }
        rules.append({&field, wrong, what});
    }
    if (rules.isEmpty())
        return;
    QByteArrayList firstWrongRows;
    for (const ValueRule &rule : std::as_const(rules))
        firstWrongRows.append("min(CASE WHEN " + rule.wrong + " THEN rowid END)");
    const std::optional<QStringList> rows =
        connection.firstRow("SELECT " + firstWrongRows.join(", ") + " FROM " + kDataTable);
    if (!rows)
        return;
    for (qsizetype i = 0; i < rules.size() && i < rows->size(); ++i) {
        if (rows->at(i).isNull())
            continue;
        const FieldDef &field = *rules[i].field;
        const std::optional<QStringList> found =
            connection.column("SELECT quote(" + QuotedName(field.name) + ") || ' (wiersz ' || rowid || ')' FROM "
                              + kDataTable + " WHERE rowid = " + rows->at(i).toUtf8());
        if (found && !found->isEmpty())
            problems << QStringLiteral("pole %1: wartość %2 nie jest %3").arg(field.name, found->first(), rules[i].what);
    }
}

// The program's own tables by where they lie: "<base>|<folder>\<file>" upper-cased.
QString LocationKey(TableBase base, const QString &relativeFile)
{
    return QString::number(int(base)) + u'|' + QDir::fromNativeSeparators(relativeFile).toUpper();
}

QHash<QString, TableDefinition> KnownTables()
{
    QHash<QString, TableDefinition> known;
    auto add = [&](const TableLocation &location, TableDefinition (*definition)()) {
        if (!definition)
            return;
        const QString relative = location.folder.isEmpty() ? location.fileName : location.folder + u'/' + location.fileName;
        // A file two objects share (the reports and their old-version probe) keeps the first one's.
        const QString key = LocationKey(location.base, relative);
        if (!known.contains(key))
            known.insert(key, definition());
    };
    for (const TableObjectEntry &entry : TableObjectRegistry())
        add(entry.location, entry.definition);
    add(UsersTableLocation(), &UsersTableDefinition);
    return known;
}

void CheckFile(QList<TableFileCheck> &results, const QHash<QString, TableDefinition> &known, TableBase base,
               const QString &baseFolder, const QString &path, bool checkServerIndexes = false)
{
    const QString relative = IsServerPath(path) ? path.mid(baseFolder.size() + (baseFolder.endsWith(u'/') ? 0 : 1))
                                                : QDir(baseFolder).relativeFilePath(path);
    const auto found = known.constFind(LocationKey(base, relative));
    const std::optional<TableDefinition> expected = found == known.constEnd() ? std::nullopt : std::optional(*found);
    results << (IsServerPath(path) ? InspectServerTable(path, expected, checkServerIndexes) : InspectTableFile(path, expected));
}

bool IsYearFolder(const QString &name)
{
    return name.size() == 4 && std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.isDigit(); });
}

struct RequiredTable {
    QString path;
    TableBase base;
    QString baseFolder;
};

QList<RequiredTable> RequiredTables(const QString &workingFolder, const QString &dataRoot, const QStringList &years)
{
    QList<RequiredTable> tables;
    auto add = [&tables](const QString &folder, const QString &relative, TableBase base) {
        const QString path = ResolvePathIgnoringCase(QDir(folder).filePath(relative));
        if (std::none_of(tables.cbegin(), tables.cend(), [&path](const RequiredTable &t) { return t.path == path; }))
            tables << RequiredTable{path, base, folder};
    };
    for (const TableObjectEntry &entry : TableObjectRegistry()) {
        const TableLocation &location = entry.location;
        // The account totals are made by the report printout when it needs them.
        if (location.fileName.compare(QLatin1String("RAZEM.DB"), Qt::CaseInsensitive) == 0)
            continue;
        const QString relative = location.folder.isEmpty() ? location.fileName : location.folder + u'/' + location.fileName;
        switch (location.base) {
        case TableBase::WorkingFolder:
            if (!workingFolder.isEmpty())
                add(workingFolder, relative, location.base);
            break;
        case TableBase::DataRoot:
            add(dataRoot, relative, location.base);
            break;
        case TableBase::YearFolder:
            for (const QString &year : years)
                add(QDir(dataRoot).filePath(year), relative, location.base);
            break;
        }
    }
    return tables;
}

} // namespace

namespace {

// A table a write was cut off in has its journal beside it: the next open rolls the write back.
// The check stays read-only on the tree, so it rolls back a copy and checks what the next start
// will find.
std::optional<TableFileCheck> InspectAfterRollback(const QString &path, const std::optional<TableDefinition> &expected,
                                                   IndexReading indexes)
{
    const QString journal = path + QStringLiteral("-journal");
    if (QFileInfo(journal).size() <= 0)
        return std::nullopt;
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QFileInfo(path).fileName());
    if (!scratch.isValid() || !QFile::copy(path, copy) || !QFile::copy(journal, copy + QStringLiteral("-journal")))
        return std::nullopt;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(copy).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    TableFileCheck check = InspectTableFile(copy, expected, indexes);
    check.path = QDir::toNativeSeparators(path);
    return check;
}

} // namespace

TableFileCheck InspectTableFile(const QString &path, const std::optional<TableDefinition> &expected,
                                IndexReading indexes)
{
    if (std::optional<TableFileCheck> rolledBack = InspectAfterRollback(path, expected, indexes))
        return *rolledBack;
    TableFileCheck check{QDir::toNativeSeparators(path), {}};
    if (QFileInfo(path).isDir()) {
        check.problems << QStringLiteral("w miejscu tabeli jest folder");
        return check;
    }
    if (!QFileInfo(path).isFile()) {
        check.problems << QStringLiteral("brak tabeli");
        return check;
    }
    ReadOnlyTableFile connection(path);
    if (!connection.error().isEmpty()) {
        check.problems << connection.error();
        return check;
    }
    const std::optional<QStringList> integrity =
        connection.column(indexes == IndexReading::EveryEntry ? "PRAGMA integrity_check" : "PRAGMA quick_check");
    if (!integrity) {
        check.problems << QStringLiteral("plik nie jest tabelą lub jest uszkodzony (%1)").arg(connection.error());
        return check;
    }
    if (*integrity != QStringList{QStringLiteral("ok")}) {
        for (const QString &line : *integrity)
            check.problems << line;
        return check;
    }
    if (!expected)
        return check;
    CheckStructure(connection, *expected, check.problems);
    // Keys and values are read by the fields the program knows; a table lacking one is reported above.
    if (!check.problems.isEmpty())
        return check;
    CheckKeys(connection, *expected, check.problems);
    CheckValues(connection, *expected, check.problems);
    return check;
}

std::optional<TableDefinition> ExpectedStructureInTree(const QString &root, const QString &path)
{
    QString relative = QDir(root).relativeFilePath(path);
    TableBase base = TableBase::DataRoot;
    const qsizetype slash = relative.indexOf(u'/');
    if (slash > 0 && IsYearFolder(relative.left(slash))) {
        base = TableBase::YearFolder;
        relative = relative.mid(slash + 1);
    }
    const QHash<QString, TableDefinition> known = KnownTables();
    const auto found = known.constFind(LocationKey(base, relative));
    return found == known.constEnd() ? std::nullopt : std::optional(*found);
}

QStringList RequiredTableFiles(const QString &workingFolder, const QString &dataRoot, const QStringList &years)
{
    QStringList paths;
    for (const RequiredTable &table : RequiredTables(workingFolder, dataRoot, years))
        paths << table.path;
    return paths;
}

QStringList YearsOfDataRoot(const QString &dataRoot)
{
    QStringList years;
    for (const QString &year : QDir(dataRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (IsYearFolder(year))
            years << year;
    return years;
}

QList<TableFileCheck> CheckInstallation(const QString &workingFolder, const QString &dataRoot, QStringList *notices)
{
    const QHash<QString, TableDefinition> known = KnownTables();
    QList<TableFileCheck> results;
    const bool onServer = IsServerPath(dataRoot);
    if (!onServer && !QFileInfo(dataRoot).isDir()) {
        results << TableFileCheck{QDir::toNativeSeparators(dataRoot), {QStringLiteral("brak folderu danych")}};
        return results;
    }
    QStringList years;
    bool checkServerIndexes = false;
    try {
        years = onServer ? ServerTableBackend::years(dataRoot) : YearsOfDataRoot(dataRoot);
        if (onServer) {
            const QString unavailable = PrepareServerIndexCheck(dataRoot);
            checkServerIndexes = unavailable.isEmpty();
            if (!checkServerIndexes && notices)
                notices->append(QStringLiteral("Spójności indeksów nie sprawdzono: %1.").arg(unavailable));
        }
    } catch (const EngineError &error) {
        results << TableFileCheck{dataRoot, {QString(error.message()).replace(u'\r', u' ')}};
        return results;
    }
    if (years.isEmpty())
        results << TableFileCheck{QDir::toNativeSeparators(dataRoot), {QStringLiteral("brak folderu roku")}};
    QStringList required;
    for (const RequiredTable &table : RequiredTables(workingFolder, dataRoot, years)) {
        CheckFile(results, known, table.base, table.baseFolder, table.path, checkServerIndexes);
        required << table.path;
    }
    const QString users = ResolvePathIgnoringCase(QDir(workingFolder).filePath(QStringLiteral("BAZA/USER.DB")));
    if (QFileInfo::exists(users))
        CheckFile(results, known, TableBase::WorkingFolder, workingFolder, users);
    // Tables of other programs in the year folders are checked as tables.
    for (const QString &year : years) {
        QStringList files;
        if (onServer) {
            files = ServerTablesOf(dataRoot, year);
        } else {
            QDirIterator it(QDir(dataRoot).filePath(year), {QStringLiteral("*.DB"), QStringLiteral("*.db")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
            files.sort();
        }
        for (const QString &file : std::as_const(files))
            if (!required.contains(file) && !file.contains(QStringLiteral("/KONWERT/"), Qt::CaseInsensitive))
                CheckFile(results, known, TableBase::YearFolder, QDir(dataRoot).filePath(year), file, checkServerIndexes);
    }
    return results;
}

QString DataRootOfInstallation(const QString &workingFolder)
{
    const QString company = ResolvePathIgnoringCase(QDir(workingFolder).filePath(QStringLiteral("FIRMA.DB")));
    if (QFileInfo::exists(company)) {
        ReadOnlyTableFile connection(company);
        if (connection.error().isEmpty()) {
            const std::optional<QStringList> roots = connection.column(QByteArray("SELECT DR FROM ") + kDataTable + " LIMIT 1");
            if (roots && !roots->isEmpty() && !roots->first().trimmed().isEmpty())
                return WithTrailingSeparator(roots->first().trimmed());
        }
    }
    return WithTrailingSeparator(workingFolder);
}
