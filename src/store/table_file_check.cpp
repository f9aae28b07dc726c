#include "store/table_file_check.h"

#include "store/data_tree.h"
#include "store/polish_collation.h"
#include "store/table_files.h"
#include "store/table_schemas.h"
#include "store/table_storage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <sqlite3.h>

namespace {

// A connection that cannot write to the file.
class ReadOnlyConnection {
public:
    explicit ReadOnlyConnection(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            error_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("nie można otworzyć pliku");
        else
            RegisterPolishTextFunctions(db_);
    }
    ~ReadOnlyConnection() { sqlite3_close_v2(db_); }
    ReadOnlyConnection(const ReadOnlyConnection &) = delete;
    ReadOnlyConnection &operator=(const ReadOnlyConnection &) = delete;

    const QString &error() const { return error_; }

    // The first column of every row; nullopt (and error()) when the query fails.
    std::optional<QStringList> column(const QByteArray &sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return std::nullopt;
        }
        QStringList values;
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            return std::nullopt;
        }
        return values;
    }

    QHash<QString, int> fieldTypes()
    {
        QHash<QString, int> types;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db_, "SELECT name, type FROM table_fields", -1, &statement, nullptr) != SQLITE_OK)
            return types;
        while (sqlite3_step(statement) == SQLITE_ROW)
            types.insert(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))).toUpper(),
                         sqlite3_column_int(statement, 1));
        sqlite3_finalize(statement);
        return types;
    }

private:
    sqlite3 *db_ = nullptr;
    QString error_;
};

void CheckStructure(ReadOnlyConnection &connection, const TableDefinition &expected, QStringList &problems)
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
    return known;
}

void CheckFile(QList<TableFileCheck> &results, const QHash<QString, TableDefinition> &known, TableBase base,
               const QString &baseFolder, const QString &path)
{
    const QString relative = QDir(baseFolder).relativeFilePath(path);
    const auto found = known.constFind(LocationKey(base, relative));
    results << InspectTableFile(path, found == known.constEnd() ? std::nullopt : std::optional(*found));
}

bool IsYearFolder(const QString &name)
{
    return name.size() == 4 && std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.isDigit(); });
}

} // namespace

TableFileCheck InspectTableFile(const QString &path, const std::optional<TableDefinition> &expected)
{
    TableFileCheck check{QDir::toNativeSeparators(path), {}};
    if (!QFileInfo(path).isFile()) {
        check.problems << QStringLiteral("brak pliku");
        return check;
    }
    ReadOnlyConnection connection(path);
    if (!connection.error().isEmpty()) {
        check.problems << connection.error();
        return check;
    }
    const std::optional<QStringList> integrity = connection.column("PRAGMA integrity_check");
    if (!integrity) {
        check.problems << QStringLiteral("plik nie jest tabelą lub jest uszkodzony (%1)").arg(connection.error());
        return check;
    }
    if (*integrity != QStringList{QStringLiteral("ok")}) {
        for (const QString &line : *integrity)
            check.problems << line;
        return check;
    }
    if (expected)
        CheckStructure(connection, *expected, check.problems);
    return check;
}

QList<TableFileCheck> CheckInstallation(const QString &workingFolder, const QString &dataRoot)
{
    const QHash<QString, TableDefinition> known = KnownTables();
    QList<TableFileCheck> results;
    CheckFile(results, known, TableBase::WorkingFolder, workingFolder,
              ResolvePathIgnoringCase(QDir(workingFolder).filePath(QStringLiteral("KASA.DB"))));
    const QString users = ResolvePathIgnoringCase(QDir(workingFolder).filePath(QStringLiteral("BAZA/USER.DB")));
    if (QFileInfo::exists(users))
        CheckFile(results, known, TableBase::WorkingFolder, workingFolder, users);
    CheckFile(results, known, TableBase::DataRoot, dataRoot, ResolvePathIgnoringCase(CompanyTablePath(dataRoot) + QStringLiteral(".DB")));
    const QDir root(dataRoot);
    for (const QString &year : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!IsYearFolder(year))
            continue;
        const QString yearFolder = root.filePath(year);
        QStringList files;
        QDirIterator it(yearFolder, {QStringLiteral("*.DB"), QStringLiteral("*.db")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        for (const QString &file : files)
            if (!file.contains(QStringLiteral("/KONWERT/"), Qt::CaseInsensitive))
                CheckFile(results, known, TableBase::YearFolder, yearFolder, file);
    }
    return results;
}

QString DataRootOfInstallation(const QString &workingFolder)
{
    const QString company = ResolvePathIgnoringCase(QDir(workingFolder).filePath(QStringLiteral("FIRMA.DB")));
    if (QFileInfo::exists(company)) {
        ReadOnlyConnection connection(company);
        if (connection.error().isEmpty()) {
            const std::optional<QStringList> roots = connection.column(QByteArray("SELECT DR FROM ") + kDataTable + " LIMIT 1");
            if (roots && !roots->isEmpty() && !roots->first().trimmed().isEmpty())
                return WithTrailingSeparator(roots->first().trimmed());
        }
    }
    return WithTrailingSeparator(workingFolder);
}
