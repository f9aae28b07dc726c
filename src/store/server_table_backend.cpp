#include "store/server_table_backend.h"

#include "store/server_cursor.h"
#include "store/server_session.h"
#include "store/table_connection.h"
#include "store/table_storage.h"

#include <libpq-fe.h>
#include <cmath>
#include <optional>

namespace {

QByteArray Quoted(const QString &name)
{
    return QuotedName(name);
}

ServerTableAddress AddressOf(const QString &path)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(path);
    if (!address || address->table.isEmpty())
        throw EngineError(EngineErrorKind::Missing, MissingTableMessage(path));
    return *address;
}

std::shared_ptr<ServerSession> SessionOf(const ServerTableAddress &address)
{
    return ServerSession::of(address.connectionInfo, address.server);
}

// The three SQL tables of a table, quoted and qualified.
QByteArrayList SqlTablesOf(const ServerTableAddress &address)
{
    const QByteArray schema = Quoted(address.schema) + '.';
    return {schema + Quoted(address.table), schema + Quoted(address.table + QStringLiteral("#fields")),
            schema + Quoted(address.table + QStringLiteral("#indexes"))};
}

bool AskSession(ServerSession &session, const QByteArray &sql, const QString &shown)
{
    ServerCursor query(std::shared_ptr<ServerSession>(&session, [](ServerSession *) {}), shown, sql);
    return query.step() && query.integer(0) != 0;
}

bool TableIsThere(ServerSession &session, const ServerTableAddress &address, const QString &shown)
{
    return AskSession(session,
                      "SELECT count(*) FROM pg_tables WHERE schemaname = " + ServerTextLiteral(address.schema)
                          + " AND tablename = " + ServerTextLiteral(address.table),
                      shown);
}

// Runs change inside one transaction of the session.
template <typename Change>
void InTransaction(ServerSession &session, const QString &shown, Change change)
{
    session.begin(shown);
    try {
        change();
        session.commit(shown);
    } catch (...) {
        session.rollback();
        throw;
    }
}

// The value of a column of the rows' current row in the server's text form of a copied row: \N
// for an empty field, and the characters that end a value or a row escaped.
void AppendCopyValue(QByteArray &line, const SqlStatement &rows, int column)
{
    QByteArrayView text;
    switch (rows.type(column)) {
    case StoredKind::Null:
        line += "\\N";
        return;
    case StoredKind::Integer:
        line += QByteArray::number(rows.integer(column));
        return;
    case StoredKind::Float: {
        const double number = rows.floating(column);
        line += std::isnan(number) ? QByteArray("NaN")
                : std::isinf(number) ? QByteArray(number > 0 ? "Infinity" : "-Infinity")
                                     : QByteArray::number(number, 'g', 17);
        return;
    }
    case StoredKind::Bytes:
        line += "\\\\x" + rows.value(column).toByteArray().toHex();
        return;
    case StoredKind::Text:
        text = rows.utf8(column);
        break;
    }
    qsizetype plain = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char *escaped = c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : nullptr;
        if (!escaped)
            continue;
        line += text.sliced(plain, i - plain);
        line += escaped;
        plain = i + 1;
    }
    line += text.sliced(plain);
}

} // namespace

QByteArray ServerTextLiteral(const QString &text)
{
    QByteArray quoted = text.toUtf8();
    quoted.replace('\'', "''");
    return '\'' + quoted + '\'';
}

QByteArray ServerColumnType(FieldType type)
{
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Date:
        return "text";
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoIncrement:
    case FieldType::Boolean:
    case FieldType::Currency:
        return "bigint";
    case FieldType::Float:
        return "double precision";
    default:
        return "bytea";
    }
}

ServerTableBackend::ServerTableBackend(const QString &path, ServerTableAddress address)
    : path_(path), address_(std::move(address))
{
}

ServerTableBackend::~ServerTableBackend()
{
    statements_.clear();
}

bool ServerTableBackend::exists(const QString &path)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(path);
    if (!address || address->table.isEmpty())
        return false;
    return TableIsThere(*SessionOf(*address), *address, path);
}

qint64 ServerTableBackend::lockKey() const
{
    // FNV-1a of the schema and table: the same number in every program.
    quint64 hash = 1469598103934665603ULL;
    for (const char c : (address_.schema + u'/' + address_.table).toUtf8()) {
        hash ^= quint8(c);
        hash *= 1099511628211ULL;
    }
    return qint64(hash);
}

bool ServerTableBackend::isInUseByOtherProgram(const QString &path)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(path);
    if (!address || address->table.isEmpty())
        return false;
    auto session = SessionOf(*address);
    const qint64 key = ServerTableBackend(path, *address).lockKey();
    const quint64 bits = quint64(key);
    return AskSession(*session,
                      "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND granted AND objsubid = 1"
                      " AND database = (SELECT oid FROM pg_database WHERE datname = current_database())"
                      " AND classid = " + QByteArray::number(quint32(bits >> 32)) + "::oid AND objid = "
                          + QByteArray::number(quint32(bits & 0xffffffffu)) + "::oid AND pid <> pg_backend_pid()",
                      path);
}

void ServerTableBackend::create(const QString &path, const QList<FieldDef> &fields,
                                const std::function<void(TableConnection &)> &fill)
{
    const ServerTableAddress address = AddressOf(path);
    auto session = SessionOf(address);
    InTransaction(*session, path, [&] {
        ServerTableBackend builder(path, address);
        builder.session_ = session;
        for (const QByteArray &table : SqlTablesOf(address))
            session->execute("DROP TABLE IF EXISTS " + table, path);
        builder.createTables(fields);
        auto connection = TableConnection::acquire(path, true);
        fill(*connection);
        connection->releaseOpenLock(true);
    });
}

bool ServerTableBackend::remove(const QString &path)
{
    const ServerTableAddress address = AddressOf(path);
    auto session = SessionOf(address);
    if (!TableIsThere(*session, address, path))
        return false;
    InTransaction(*session, path, [&] {
        for (const QByteArray &table : SqlTablesOf(address))
            session->execute("DROP TABLE IF EXISTS " + table, path);
    });
    return true;
}

bool ServerTableBackend::rename(const QString &from, const QString &to)
{
    const ServerTableAddress source = AddressOf(from);
    const ServerTableAddress target = AddressOf(to);
    auto session = SessionOf(source);
    if (!TableIsThere(*session, source, from))
        return false;
    InTransaction(*session, from, [&] {
        const QByteArray schema = Quoted(source.schema) + '.';
        // The indexes carry the table's name in theirs.
        QList<QByteArray> indexes;
        {
            ServerCursor query(session, from,
                               "SELECT indexname FROM pg_indexes WHERE schemaname = " + ServerTextLiteral(source.schema)
                                   + " AND tablename = " + ServerTextLiteral(source.table));
            while (query.step())
                indexes.append(query.text(0).toUtf8());
        }
        const QByteArray oldPrefix = (source.table + u'#').toUtf8();
        for (const QByteArray &index : indexes)
            if (index.startsWith(oldPrefix))
                session->execute("ALTER INDEX " + schema + Quoted(QString::fromUtf8(index)) + " RENAME TO "
                                     + Quoted(target.table + u'#' + QString::fromUtf8(index.mid(oldPrefix.size()))),
                                 from);
        const QStringList suffixes{QString(), QStringLiteral("#fields"), QStringLiteral("#indexes")};
        for (const QString &suffix : suffixes) {
            session->execute("ALTER TABLE " + schema + Quoted(source.table + suffix) + " RENAME TO "
                                 + Quoted(target.table + suffix),
                             from);
            if (target.schema != source.schema) {
                session->execute("CREATE SCHEMA IF NOT EXISTS " + Quoted(target.schema), to);
                session->execute("ALTER TABLE " + schema + Quoted(target.table + suffix) + " SET SCHEMA "
                                     + Quoted(target.schema),
                                 from);
            }
        }
    });
    return true;
}

void ServerTableBackend::reindex(const QString &path)
{
    const ServerTableAddress address = AddressOf(path);
    SessionOf(address)->execute("REINDEX TABLE " + SqlTablesOf(address)[0], path);
}

QStringList ServerTableBackend::years(const QString &dataRoot)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(dataRoot);
    if (!address)
        return {};
    auto session = SessionOf(*address);
    QStringList years;
    ServerCursor query(session, dataRoot,
                       "SELECT nspname FROM pg_namespace WHERE nspname ~ '^[0-9]{4}$' ORDER BY nspname");
    while (query.step())
        years.append(query.text(0));
    return years;
}

QStringList ServerTableBackend::tablesOfTree(const QString &dataRoot)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(dataRoot);
    if (!address)
        return {};
    auto session = SessionOf(*address);
    QString root = dataRoot;
    if (!root.endsWith(u'/'))
        root += u'/';
    QStringList paths;
    ServerCursor query(session, dataRoot,
                       "SELECT schemaname, tablename FROM pg_tables WHERE (schemaname = "
                           + ServerTextLiteral(QString::fromLatin1(kOutsideYearsSchema))
                           + " OR schemaname ~ '^[0-9]{4}$') AND tablename !~ '#(fields|indexes)$'"
                             " ORDER BY schemaname, tablename");
    while (query.step()) {
        const QString schema = query.text(0);
        paths.append(root + (schema == QLatin1String(kOutsideYearsSchema) ? QString() : schema + u'/') + query.text(1)
                     + QStringLiteral(".DB"));
    }
    return paths;
}

bool ServerTableBackend::lockUntilTransactionEnds(const QString &path)
{
    const ServerTableAddress address = AddressOf(path);
    auto session = SessionOf(address);
    return AskSession(*session,
                      "SELECT pg_try_advisory_xact_lock(" + QByteArray::number(ServerTableBackend(path, address).lockKey())
                          + ")::int",
                      path);
}

QString ServerTableBackend::shownName() const
{
    return path_;
}

bool ServerTableBackend::ask(const QByteArray &sql)
{
    return AskSession(*session_, sql, path_);
}

bool ServerTableBackend::moveOpenLock(OpenLock from, OpenLock to)
{
    if (!session_)
        connect();
    const QByteArray key = QByteArray::number(lockKey());
    auto release = [&](OpenLock held) {
        if (held == OpenLock::Shared)
            ask("SELECT pg_advisory_unlock_shared(" + key + ")::int");
        else if (held == OpenLock::Exclusive)
            ask("SELECT pg_advisory_unlock(" + key + ")::int");
    };
    if (to == OpenLock::None) {
        release(from);
        return true;
    }
    const bool taken = to == OpenLock::Exclusive ? ask("SELECT pg_try_advisory_lock(" + key + ")::int")
                                                 : ask("SELECT pg_try_advisory_lock_shared(" + key + ")::int");
    if (taken)
        release(from);
    return taken;
}

void ServerTableBackend::connect()
{
    session_ = SessionOf(address_);
}

void ServerTableBackend::open()
{
    if (!session_)
        connect();
    if (!TableIsThere(*session_, address_, path_))
        throw EngineError(EngineErrorKind::Missing, MissingTableMessage(path_));
    // A table this program's login may only read is opened read-only.
    readOnly_ = !ask("SELECT has_table_privilege(" + ServerTextLiteral(QString::fromUtf8(dataTable())) + ", 'INSERT')::int");
}

void ServerTableBackend::setLockTimeout(int milliseconds)
{
    if (session_)
        session_->setLockTimeout(milliseconds);
}

SqlStatement ServerTableBackend::prepare(const QByteArray &sql)
{
    return statements_.take(*this, sql, [&]() -> SqlCursor * { return new ServerCursor(session_, path_, sql); });
}

SqlStatement ServerTableBackend::prepareOnePass(const QByteArray &sql)
{
    // A server-side cursor lives in a transaction; outside one the rows come in one piece.
    if (PQtransactionStatus(session_->handle()) != PQTRANS_INTRANS)
        return prepare(sql);
    return SqlStatement(*this, new ServerCursor(session_, path_, sql, ServerCursor::Reading::InBatches), false);
}

void ServerTableBackend::releaseCursor(SqlCursor *cursor, bool cached)
{
    statements_.give(cursor, cached);
}

void ServerTableBackend::execute(const QByteArray &sql)
{
    session_->execute(sql, path_);
}

void ServerTableBackend::beginWrite()
{
    if (readOnly_)
        throw EngineError(EngineErrorKind::Other, ReadOnlyTableMessage(path_));
    session_->begin(path_);
    try {
        // Other writers wait for this transaction; readers go on with the rows as committed.
        session_->execute("LOCK TABLE " + dataTable() + " IN SHARE ROW EXCLUSIVE MODE", path_);
    } catch (...) {
        session_->rollback();
        throw;
    }
}

void ServerTableBackend::commitWrite()
{
    session_->commit(path_);
}

void ServerTableBackend::rollbackWrite() noexcept
{
    session_->rollback();
}

void ServerTableBackend::beginJoinedWrite()
{
    session_->begin(path_);
}

void ServerTableBackend::endJoinedWrite(bool written) noexcept
{
    if (!written) {
        session_->rollback();
        return;
    }
    try {
        session_->commit(path_);
    } catch (...) {
        session_->rollback();
    }
}

QByteArray ServerTableBackend::dataTable() const
{
    return SqlTablesOf(address_)[0];
}

QByteArray ServerTableBackend::fieldsTable() const
{
    return SqlTablesOf(address_)[1];
}

QByteArray ServerTableBackend::indexesTable() const
{
    return SqlTablesOf(address_)[2];
}

QByteArray ServerTableBackend::indexName(const QByteArray &name, bool qualified) const
{
    const QString full = address_.table + u'#' + QString::fromUtf8(name);
    // The server cuts longer names short, and the index could not be found by its name again.
    if (full.toUtf8().size() > 63)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Nazwa indeksu %1 tabeli %2 jest za długa dla serwera bazy danych.")
                              .arg(QString::fromUtf8(name), path_));
    return (qualified ? Quoted(address_.schema) + '.' : QByteArray()) + Quoted(full);
}

QByteArray ServerTableBackend::orderDirection(bool forward) const
{
    return forward ? " ASC NULLS FIRST" : " DESC NULLS LAST";
}

// A table filled at once is read by plans made for an empty one until the server's own upkeep
// comes round: the figures are taken now.
void ServerTableBackend::refreshPlannerStatistics()
{
    execute("ANALYZE " + dataTable());
}

QByteArray ServerTableBackend::indexColumnOrder() const
{
    return " NULLS FIRST";
}

QByteArray ServerTableBackend::firstInEntryOrder() const
{
    return QByteArray(" ORDER BY ") + kRowIdColumn + " LIMIT 1";
}

void ServerTableBackend::createTables(const QList<FieldDef> &fields)
{
    const QByteArrayList tables = SqlTablesOf(address_);
    const QByteArray rowId = QByteArray(kRowIdColumn) + " bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
    QByteArrayList columns{rowId};
    for (const FieldDef &field : fields)
        columns.append(QuotedName(field.name) + ' ' + ServerColumnType(field.type));
    session_->execute("CREATE SCHEMA IF NOT EXISTS " + Quoted(address_.schema), path_);
    session_->execute("CREATE TABLE " + tables[0] + " (" + columns.join(", ") + ")", path_);
    session_->execute("CREATE TABLE " + tables[1] + " (" + rowId
                          + ", position bigint NOT NULL UNIQUE, name text NOT NULL, type bigint NOT NULL,"
                            " size bigint NOT NULL, required bigint NOT NULL)",
                      path_);
    session_->execute("CREATE TABLE " + tables[2] + " (" + rowId
                          + ", position bigint NOT NULL UNIQUE, name text NOT NULL, fields text NOT NULL,"
                            " is_primary bigint NOT NULL, is_unique bigint NOT NULL, case_insensitive bigint NOT NULL)",
                      path_);
}

bool ServerTableBackend::hasStructureTables()
{
    return ask("SELECT count(*) = 3 FROM pg_tables WHERE schemaname = " + ServerTextLiteral(address_.schema)
               + " AND tablename IN (" + ServerTextLiteral(address_.table) + ", " + ServerTextLiteral(address_.table + "#fields") + ", "
               + ServerTextLiteral(address_.table + "#indexes") + ")");
}

QSet<QByteArray> ServerTableBackend::indexNames()
{
    QSet<QByteArray> names;
    const QByteArray prefix = (address_.table + u'#').toUtf8();
    SqlStatement query = prepare("SELECT indexname FROM pg_indexes WHERE schemaname = ? AND tablename = ?");
    query.bindAll({address_.schema, address_.table});
    while (query.step()) {
        const QByteArray name = query.text(0).toUtf8();
        if (name.startsWith(prefix))
            names.insert(name.mid(prefix.size()));
    }
    return names;
}

QList<TableBackend::Column> ServerTableBackend::dataColumns()
{
    QList<Column> columns;
    SqlStatement query = prepare("SELECT column_name, data_type FROM information_schema.columns"
                                 " WHERE table_schema = ? AND table_name = ? AND column_name <> '_rowid_'"
                                 " ORDER BY ordinal_position");
    query.bindAll({address_.schema, address_.table});
    while (query.step())
        columns.append({query.text(0), query.text(1)});
    return columns;
}

void ServerTableBackend::appendRowsWithIds(const QByteArrayList &columns, SqlStatement &rows)
{
    pg_conn *connection = session_->handle();
    const QByteArray sql = "COPY " + dataTable() + " (" + kRowIdColumn
                           + (columns.isEmpty() ? QByteArray() : ", " + columns.join(", ")) + ") FROM STDIN";
    PGresult *start = PQexec(connection, sql.constData());
    if (PQresultStatus(start) != PGRES_COPY_IN) {
        const EngineError failure = session_->error(start, path_);
        PQclear(start);
        throw failure;
    }
    PQclear(start);
    // Rows travel in blocks, so a long table costs few trips to the server.
    QByteArray block;
    const int values = int(columns.size()) + 1;
    bool sent = true;
    while (sent && rows.step()) {
        for (int i = 0; i < values; ++i) {
            if (i > 0)
                block += '\t';
            AppendCopyValue(block, rows, i);
        }
        block += '\n';
        if (block.size() >= (1 << 20)) {
            sent = PQputCopyData(connection, block.constData(), int(block.size())) == 1;
            block.clear();
        }
    }
    if (sent && !block.isEmpty())
        sent = PQputCopyData(connection, block.constData(), int(block.size())) == 1;
    PQputCopyEnd(connection, sent ? nullptr : "przerwano");
    PGresult *end = PQgetResult(connection);
    const bool copied = PQresultStatus(end) == PGRES_COMMAND_OK;
    std::optional<EngineError> failure;
    if (!copied)
        failure = session_->error(end, path_);
    PQclear(end);
    while (PGresult *rest = PQgetResult(connection))
        PQclear(rest);
    if (failure)
        throw *failure;
    // The rows keep their ids; new rows are numbered after the highest of them.
    session_->execute("SELECT setval(pg_get_serial_sequence(" + ServerTextLiteral(QString::fromUtf8(dataTable())) + ", "
                          + ServerTextLiteral(QString::fromLatin1(kRowIdColumn)) + "), GREATEST(max(" + kRowIdColumn
                          + "), 1), max(" + kRowIdColumn + ") IS NOT NULL) FROM " + dataTable(),
                      path_);
}
