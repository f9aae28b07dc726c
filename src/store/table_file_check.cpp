#include "store/table_file_check.h"

#include "store/data_tree.h"
#include "store/read_only_table_file.h"
#include "store/table_files.h"
#include "store/table_schemas.h"
#include "store/table_storage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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
    ReadOnlyTableFile connection(path);
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
        ReadOnlyTableFile connection(company);
        if (connection.error().isEmpty()) {
            const std::optional<QStringList> roots = connection.column(QByteArray("SELECT DR FROM ") + kDataTable + " LIMIT 1");
            if (roots && !roots->isEmpty() && !roots->first().trimmed().isEmpty())
                return WithTrailingSeparator(roots->first().trimmed());
        }
    }
    return WithTrailingSeparator(workingFolder);
}
