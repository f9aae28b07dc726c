#include "store/table_storage.h"

#include "store/engine_error.h"
#include "store/polish_collation.h"
#include "base/server_location.h"
#include "store/server_table_backend.h"
#include "store/table_connection.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char *kPrimaryIndexSqlName = "primary_key";
constexpr const char *kHelperIndexPrefix = "helper_";

EngineError Invalid(const QString &message)
{
    return EngineError(EngineErrorKind::Other, message);
}

// A column written by some other program without a structure entry: its type from its SQL type.
FieldType TypeFromSqlType(const QString &sqlType)
{
    const QString upper = sqlType.toUpper();
    if (upper.contains(QLatin1String("INT")))
        return FieldType::Integer;
    if (upper.contains(QLatin1String("CHAR")) || upper.contains(QLatin1String("CLOB"))
        || upper.contains(QLatin1String("TEXT")))
        return FieldType::Text;
    if (upper.contains(QLatin1String("REAL")) || upper.contains(QLatin1String("FLOA"))
        || upper.contains(QLatin1String("DOUB")))
        return FieldType::Float;
    return FieldType::Unknown;
}

QByteArray IndexSqlName(const IndexDef &index)
{
    return index.primary ? QByteArray(kPrimaryIndexSqlName) : index.name.toUtf8();
}

QList<KeyColumn> IndexColumns(const TableDefinition &definition, const IndexDef &index)
{
    QList<KeyColumn> columns;
    for (const QString &field : index.fields) {
        const int position = definition.fieldIndex(field);
        columns.append({position, IndexCollation(definition.fields[position].type, index.caseInsensitive)});
    }
    return columns;
}

// The key columns with their collations, each followed by order (for an index's columns).
QByteArray ColumnList(const TableDefinition &definition, const QList<KeyColumn> &columns,
                      const QByteArray &order = {})
{
    QByteArrayList parts;
    for (const KeyColumn &column : columns) {
        QByteArray part = QuotedName(definition.fields[column.field].name);
        if (!column.collation.isEmpty())
            part += " COLLATE " + column.collation;
        parts.append(part + order);
    }
    return parts.join(", ");
}

QByteArray CreateIndexSql(const TableBackend &backend, const TableDefinition &definition, const IndexDef &index)
{
    const bool unique = index.primary || index.unique;
    return QByteArray("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + backend.indexName(IndexSqlName(index), false)
           + " ON " + backend.dataTable() + " ("
           + ColumnList(definition, IndexColumns(definition, index), backend.indexColumnOrder()) + ")";
}

QByteArray CreateHelperIndexSql(const TableBackend &backend, const QByteArray &name, const QByteArray &columns)
{
    return "CREATE INDEX IF NOT EXISTS " + backend.indexName(name, false) + " ON " + backend.dataTable() + " ("
           + columns + ")";
}

QByteArray DropIndexSql(const TableBackend &backend, const QByteArray &name)
{
    return "DROP INDEX IF EXISTS " + backend.indexName(name, true);
}

QByteArray HelperIndexName(const TableDefinition &definition, const QList<KeyColumn> &columns)
{
    QByteArray name = kHelperIndexPrefix;
    for (const KeyColumn &column : columns) {
        name += definition.fields[column.field].name.toUtf8();
        if (column.collation == kPolishCaseInsensitiveCollation)
            name += "_ci";
        else if (column.collation == kPolishCollation)
            name += "_cs";
        name += '_';
    }
    name.chop(1);
    return name;
}

void CreateAutoIncrementHelpers(TableConnection &connection, const TableDefinition &definition)
{
    for (int i = 0; i < definition.fields.size(); ++i)
        if (definition.fields[i].type == FieldType::AutoIncrement) {
            const QList<KeyColumn> columns{{i, {}}};
            connection.execute(CreateHelperIndexSql(connection.backend(), HelperIndexName(definition, columns),
                                                    ColumnList(definition, columns, connection.backend().indexColumnOrder())));
        }
}

void WriteIndexEntries(TableConnection &connection, const QList<IndexDef> &indexes)
{
    connection.execute("DELETE FROM " + connection.backend().indexesTable());
    SqlStatement insert = connection.prepare(
        "INSERT INTO " + connection.backend().indexesTable()
        + " (position, name, fields, is_primary, is_unique, case_insensitive) VALUES (?, ?, ?, ?, ?, ?)");
    for (int i = 0; i < indexes.size(); ++i) {
        const IndexDef &index = indexes[i];
        insert.bindAll({i, index.name, index.fields.join(QLatin1Char(';')), index.primary, index.unique,
                        index.caseInsensitive});
        insert.run();
        insert.reset();
    }
}

// Writes the structure into the table's empty SQL tables and makes its indexes.
void FillSchema(TableConnection &connection, const TableDefinition &definition)
{
    TableBackend &backend = connection.backend();
    {
        SqlStatement insert = connection.prepare("INSERT INTO " + backend.fieldsTable()
                                                 + " (position, name, type, size, required) VALUES (?, ?, ?, ?, ?)");
        for (int i = 0; i < definition.fields.size(); ++i) {
            const FieldDef &field = definition.fields[i];
            insert.bindAll({i, field.name, int(field.type), field.size, field.required});
            insert.run();
            insert.reset();
        }
    }
    for (const IndexDef &index : definition.indexes)
        connection.execute(CreateIndexSql(backend, definition, index));
    WriteIndexEntries(connection, definition.indexes);
    CreateAutoIncrementHelpers(connection, definition);
}

void CreateSchema(TableConnection &connection, const TableDefinition &definition)
{
    connection.backend().createTables(definition.fields);
    FillSchema(connection, definition);
}

void SyncFolder(const QString &filePath)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(filePath).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QSet<QByteArray> ExistingIndexNames(TableConnection &connection)
{
    return connection.backend().indexNames();
}

void ReadFields(TableConnection &connection, TableDefinition &definition)
{
    struct Stored { FieldType type; int size; bool required; };
    QHash<QString, Stored> stored;
    {
        SqlStatement query = connection.prepare("SELECT name, type, size, required FROM "
                                                + connection.backend().fieldsTable() + " ORDER BY position");
        while (query.step())
            stored.insert(query.text(0).toUpper(),
                          {FieldType(query.integer(1)), int(query.integer(2)), query.integer(3) != 0});
    }
    for (const TableBackend::Column &column : connection.backend().dataColumns()) {
        FieldDef field;
        field.name = column.name;
        const auto it = stored.constFind(field.name.toUpper());
        if (it != stored.constEnd()) {
            field.type = it->type;
            field.size = it->size;
            field.required = it->required;
        } else {
            field.type = TypeFromSqlType(column.sqlType);
        }
        definition.fields.append(field);
    }
}

void ReadIndexes(TableConnection &connection, TableDefinition &definition)
{
    SqlStatement query = connection.prepare("SELECT name, fields, is_primary, is_unique, case_insensitive FROM "
                                            + connection.backend().indexesTable() + " ORDER BY position");
    while (query.step()) {
        IndexDef index;
        index.name = query.text(0);
        index.fields = query.text(1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        index.primary = query.integer(2) != 0;
        index.unique = query.integer(3) != 0;
        index.caseInsensitive = query.integer(4) != 0;
        bool usable = true;
        for (const QString &field : index.fields)
            usable = usable && definition.hasField(field);
        if (usable)
            definition.indexes.append(index);
    }
}

bool HasStructureTables(TableConnection &connection)
{
    return connection.backend().hasStructureTables();
}

// Writes a schema change in its own transaction (or the open scope's).
template <typename Change>
void WriteStructure(TableConnection &connection, Change change)
{
    TableConnection::Write write(connection);
    change();
    write.commit();
    connection.noteStructureChange();
}

} // namespace

int TableStructure::indexPosition(const QString &name) const
{
    for (int i = 0; i < definition.indexes.size(); ++i) {
        const IndexDef &index = definition.indexes[i];
        if (name.isEmpty() ? index.primary : index.name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QByteArray QuotedName(const QString &name)
{
    QByteArray quoted = name.toUtf8();
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

bool IsTextField(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo || type == FieldType::Date;
}

QByteArray RepeatedKeysSql(const TableDefinition &definition, const IndexDef &index)
{
    const QByteArray columns = ColumnList(definition, IndexColumns(definition, index));
    return QByteArray("SELECT count(*) FROM (SELECT 1 FROM ") + kDataTable + " GROUP BY " + columns
           + " HAVING count(*) > 1)";
}

QByteArray IndexCollation(FieldType type, bool caseInsensitive)
{
    if (!IsTextField(type))
        return {};
    return caseInsensitive ? kPolishCaseInsensitiveCollation : kPolishCollation;
}

void ValidateDefinition(const TableDefinition &definition)
{
    if (definition.fields.isEmpty())
        throw Invalid(QStringLiteral("Tabela musi mieć co najmniej jedno pole."));
    QSet<QString> names;
    for (const FieldDef &field : definition.fields) {
        const QString key = field.name.trimmed().toUpper();
        if (key.isEmpty())
            throw Invalid(QStringLiteral("Pole tabeli musi mieć nazwę."));
        if (names.contains(key))
            throw Invalid(QStringLiteral("Pole %1 występuje w tabeli dwa razy.").arg(field.name));
        names.insert(key);
    }
    QSet<QString> indexNames;
    int primaries = 0;
    for (const IndexDef &index : definition.indexes) {
        if (index.fields.isEmpty())
            throw Invalid(QStringLiteral("Indeks %1 nie ma pól.").arg(index.name));
        for (const QString &field : index.fields)
            if (!definition.hasField(field))
                throw Invalid(QStringLiteral("Indeks %1: tabela nie ma pola %2.").arg(index.name, field));
        if (index.primary) {
            ++primaries;
            continue;
        }
        if (index.name.trimmed().isEmpty())
            throw Invalid(QStringLiteral("Indeks wtórny musi mieć nazwę."));
        if (index.name.startsWith(QLatin1String(kHelperIndexPrefix), Qt::CaseInsensitive)
            || index.name.compare(QLatin1String(kPrimaryIndexSqlName), Qt::CaseInsensitive) == 0
            || index.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            throw Invalid(QStringLiteral("Niedozwolona nazwa indeksu %1.").arg(index.name));
        if (indexNames.contains(index.name.toUpper()))
            throw Invalid(QStringLiteral("Indeks %1 występuje w tabeli dwa razy.").arg(index.name));
        indexNames.insert(index.name.toUpper());
    }
    if (primaries > 1)
        throw Invalid(QStringLiteral("Tabela może mieć tylko jeden indeks główny."));
}

void CreateTableFile(const QString &filePath, const TableDefinition &definition)
{
    ValidateDefinition(definition);
    if (IsServerPath(filePath)) {
        if (TableConnection::isOpenInThisProcess(filePath) || TableConnection::isInUseByOtherProgram(filePath))
            throw EngineError(EngineErrorKind::Locked, LockedMessage(filePath));
        ServerTableBackend::create(filePath, definition.fields,
                                   [&](TableConnection &connection) { FillSchema(connection, definition); });
        return;
    }
    if (QFileInfo::exists(filePath)) {
        if (TableConnection::isOpenInThisProcess(filePath) || TableConnection::isInUseByOtherProgram(filePath))
            throw EngineError(EngineErrorKind::Locked, LockedMessage(filePath));
    }
    if (!QFileInfo(filePath).absoluteDir().exists())
        throw Invalid(QStringLiteral("Folder %1 nie istnieje.").arg(QDir::toNativeSeparators(QFileInfo(filePath).absolutePath())));

    // Built beside the target and moved over it in one step: a crash leaves the old table or
    // the new one, never a half-made file under the table's name.
    const QString building = filePath + QStringLiteral(".creating");
    QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));
    {
        QFile create(building);
        if (!create.open(QIODevice::WriteOnly))
            throw Invalid(QStringLiteral("Nie można utworzyć tabeli %1.").arg(QDir::toNativeSeparators(filePath)));
    }
    try {
        auto connection = TableConnection::acquire(building, true);
        connection->backend().beginWrite();
        try {
            CreateSchema(*connection, definition);
            connection->backend().commitWrite();
        } catch (...) {
            connection->backend().rollbackWrite();
            throw;
        }
        connection->releaseOpenLock(true);
    } catch (...) {
        QFile::remove(building);
        QFile::remove(building + QStringLiteral("-journal"));
        throw;
    }
    // A journal left by a crash of the old table must not be played back into the new one.
    QFile::remove(filePath + QStringLiteral("-journal"));
    if (::rename(QFile::encodeName(building).constData(), QFile::encodeName(filePath).constData()) != 0) {
        QFile::remove(building);
        throw Invalid(QStringLiteral("Nie można utworzyć tabeli %1.").arg(QDir::toNativeSeparators(filePath)));
    }
    SyncFolder(filePath);
}

TableStructure ReadTableStructure(TableConnection &connection)
{
    if (!HasStructureTables(connection))
        throw EngineError(EngineErrorKind::Damaged, DamagedTableMessage(connection.filePath()));
    TableStructure structure;
    ReadFields(connection, structure.definition);
    ReadIndexes(connection, structure.definition);
    const TableDefinition &definition = structure.definition;

    const QSet<QByteArray> existing = ExistingIndexNames(connection);
    QList<IndexDef> missing;
    for (const IndexDef &index : definition.indexes) {
        structure.indexSqlNames.append(IndexSqlName(index));
        structure.indexColumns.append(IndexColumns(definition, index));
        if (!existing.contains(IndexSqlName(index)))
            missing.append(index);
    }
    if (!missing.isEmpty()) {
        // Lost indexes are rebuilt; a table that cannot be written is read without them. The
        // engine's helper indexes are not: they are built by the commands that write in bulk.
        try {
            WriteStructure(connection, [&] {
                for (const IndexDef &index : missing)
                    connection.execute(CreateIndexSql(connection.backend(), definition, index));
            });
        } catch (const EngineError &error) {
            if (error.kind() == EngineErrorKind::KeyViolation)
                throw;
        }
    }
    return structure;
}

void BuildTableIndexes(TableConnection &connection, const TableDefinition &definition)
{
    for (const IndexDef &index : definition.indexes)
        connection.execute(CreateIndexSql(connection.backend(), definition, index));
    WriteIndexEntries(connection, definition.indexes);
    connection.noteStructureChange();
}

void AddTableIndex(TableConnection &connection, const IndexDef &index)
{
    TableStructure structure = ReadTableStructure(connection);
    TableDefinition changed = structure.definition;
    const int existing = index.primary ? structure.indexPosition(QString())
                                       : structure.indexPosition(index.name);
    if (existing >= 0)
        changed.indexes.removeAt(existing);
    if (index.primary)
        changed.indexes.prepend(index);
    else
        changed.indexes.append(index);
    ValidateDefinition(changed);
    WriteStructure(connection, [&] {
        if (existing >= 0)
            connection.execute(DropIndexSql(connection.backend(), structure.indexSqlNames[existing]));
        connection.execute(CreateIndexSql(connection.backend(), changed, index));
        WriteIndexEntries(connection, changed.indexes);
    });
}

void DropTableIndex(TableConnection &connection, const QString &name)
{
    TableStructure structure = ReadTableStructure(connection);
    const int position = structure.indexPosition(name);
    if (position < 0)
        throw EngineError(EngineErrorKind::Missing,
                          QStringLiteral("Tabela %1 nie ma indeksu %2.")
                              .arg(QDir::toNativeSeparators(connection.filePath()), name));
    QList<IndexDef> remaining = structure.definition.indexes;
    remaining.removeAt(position);
    WriteStructure(connection, [&] {
        connection.execute(DropIndexSql(connection.backend(), structure.indexSqlNames[position]));
        WriteIndexEntries(connection, remaining);
    });
}

QList<QList<KeyColumn>> AutoIncrementHelperColumns(const TableDefinition &definition)
{
    QList<QList<KeyColumn>> helpers;
    for (int i = 0; i < definition.fields.size(); ++i)
        if (definition.fields[i].type == FieldType::AutoIncrement)
            helpers.append(QList<KeyColumn>{KeyColumn{i, {}}});
    return helpers;
}

QList<QByteArray> HelperIndexNames(TableConnection &connection)
{
    QList<QByteArray> names;
    for (const QByteArray &name : ExistingIndexNames(connection))
        if (name.startsWith(kHelperIndexPrefix))
            names.append(name);
    std::sort(names.begin(), names.end());
    return names;
}

int BuildHelperIndexes(TableConnection &connection, const TableStructure &structure,
                       const QList<QList<KeyColumn>> &wanted, const std::function<void()> &step)
{
    if (connection.isReadOnly())
        return 0;
    QSet<QByteArray> wantedNames;
    for (const QList<KeyColumn> &columns : wanted)
        wantedNames.insert(HelperIndexName(structure.definition, columns));
    const QSet<QByteArray> existing = ExistingIndexNames(connection);
    int built = 0;
    // Each index in a write of its own: a long build does not hold one lock for the whole table
    // set, and what was built stays built when a later one fails.
    for (const QByteArray &name : existing)
        if (name.startsWith(kHelperIndexPrefix) && !wantedNames.contains(name))
            WriteStructure(connection, [&] { connection.execute(DropIndexSql(connection.backend(), name)); });
    QSet<QByteArray> done;
    for (const QList<KeyColumn> &columns : wanted) {
        const QByteArray name = HelperIndexName(structure.definition, columns);
        if (existing.contains(name) || done.contains(name))
            continue;
        done.insert(name);
        WriteStructure(connection, [&] {
            connection.execute(CreateHelperIndexSql(connection.backend(), name,
                                                    ColumnList(structure.definition, columns,
                                                               connection.backend().indexColumnOrder())));
        });
        ++built;
        if (step)
            step();
    }
    // The helper indexes are built where rows were written in bulk.
    connection.backend().refreshPlannerStatistics();
    return built;
}
