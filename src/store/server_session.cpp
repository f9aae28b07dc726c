#include "store/server_session.h"

#include "store/table_connection.h"

#include <QHash>
#include <libpq-fe.h>

namespace {

// The connection stays for the program's life once made: a command that opens and closes tables
// one after another (an installation made, a listing) does not connect each time again. Its
// open-locks are given back one by one as tables close.
QHash<QByteArray, std::shared_ptr<ServerSession>> &Sessions()
{
    static QHash<QByteArray, std::shared_ptr<ServerSession>> sessions;
    return sessions;
}

// The Polish orders and the prefix test the engine's SQL names, made once per database. Two
// programs making them at the same moment: the second finds them made.
constexpr const char *kPrepareDatabaseSql = R"(DO $$
BEGIN
  PERFORM pg_advisory_xact_lock(4935741);
  IF NOT EXISTS (SELECT 1 FROM pg_collation WHERE collname = 'polish' AND collnamespace = 'public'::regnamespace) THEN
    CREATE COLLATION public.polish (provider = icu, locale = 'pl-PL');
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_collation WHERE collname = 'polish_ci' AND collnamespace = 'public'::regnamespace) THEN
    CREATE COLLATION public.polish_ci (provider = icu, locale = 'pl-PL-u-ks-level2', deterministic = false);
  END IF;
  IF NOT EXISTS (SELECT 1 FROM pg_proc WHERE proname = 'starts_with_ci' AND pronamespace = 'public'::regnamespace) THEN
    CREATE FUNCTION public.starts_with_ci(t text, p text) RETURNS boolean
      LANGUAGE sql IMMUTABLE PARALLEL SAFE
      AS 'SELECT substr(t, 1, length(p)) = p COLLATE public.polish_ci';
  END IF;
EXCEPTION WHEN unique_violation OR duplicate_object THEN NULL;
END $$)";

// True when the database has what kPrepareDatabaseSql makes: mostly it has, and this asks
// without the lock that making them takes.
constexpr const char *kDatabasePreparedSql =
    "SELECT (SELECT count(*) FROM pg_collation WHERE collnamespace = 'public'::regnamespace"
    " AND collname IN ('polish', 'polish_ci'))"
    " + (SELECT count(*) FROM pg_proc WHERE pronamespace = 'public'::regnamespace AND proname = 'starts_with_ci')";

bool IsConnectionLost(const pg_result *result, pg_conn *connection)
{
    if (PQstatus(connection) != CONNECTION_OK)
        return true;
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (!state)
        return result == nullptr;
    const QByteArray code(state);
    return code.startsWith("08") || code == "57P01" || code == "57P02" || code == "57P03";
}

} // namespace

QString ServerUnavailableMessage(const QString &server)
{
    return QStringLiteral("Brak połączenia z serwerem bazy danych %1.\r"
                          "Sprawdź, czy serwer działa i czy nazwa użytkownika i hasło są poprawne.\r"
                          "Polecenie zostało wycofane.")
        .arg(server);
}

std::shared_ptr<ServerSession> ServerSession::of(const QByteArray &connectionInfo, const QString &server)
{
    if (const std::shared_ptr<ServerSession> existing = Sessions().value(connectionInfo)) {
        existing->ensureConnected();
        return existing;
    }
    std::shared_ptr<ServerSession> session(new ServerSession(connectionInfo, server));
    session->connect();
    Sessions().insert(connectionInfo, session);
    return session;
}

ServerSession::ServerSession(const QByteArray &connectionInfo, const QString &server)
    : connectionInfo_(connectionInfo), server_(server)
{
}

ServerSession::~ServerSession()
{
    if (connection_)
        PQfinish(connection_);
}

void ServerSession::connect()
{
    if (connection_)
        PQfinish(connection_);
    statements_.clear();
    depth_ = 0;
    broken_ = false;
    // Never asks for a password on the terminal: it comes from ~/.pgpass or the service file.
    const char *keywords[] = {"dbname", "application_name", "connect_timeout", nullptr};
    const char *values[] = {connectionInfo_.constData(), "kasa", "10", nullptr};
    connection_ = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(connection_) != CONNECTION_OK) {
        PQfinish(connection_);
        connection_ = nullptr;
        throw EngineError(EngineErrorKind::Unreachable, ServerUnavailableMessage(server_));
    }
    prepareDatabase();
}

void ServerSession::prepareDatabase()
{
    execute("SET client_min_messages = warning; SET lock_timeout = "
                + QByteArray::number(TableConnection::lockTimeout()),
            server_);
    PGresult *result = PQexec(connection_, kDatabasePreparedSql);
    const bool prepared = PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1
                          && QByteArray(PQgetvalue(result, 0, 0)) == "3";
    PQclear(result);
    if (!prepared)
        execute(kPrepareDatabaseSql, server_);
}

void ServerSession::ensureConnected()
{
    // A lost connection is made again at the next command outside a transaction: the program is
    // usable once the server is back.
    if (depth_ == 0 && (broken_ || !connection_ || PQstatus(connection_) != CONNECTION_OK))
        connect();
}

void ServerSession::setLockTimeout(int milliseconds)
{
    if (connection_ && !broken_)
        execute("SET lock_timeout = " + QByteArray::number(milliseconds), server_);
}

void ServerSession::execute(const QByteArray &sql, const QString &table)
{
    ensureConnected();
    PGresult *result = PQexec(connection_, sql.constData());
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const EngineError failure = error(result, table);
        PQclear(result);
        throw failure;
    }
    PQclear(result);
}

QByteArray ServerSession::prepared(const QByteArray &sql, int parameterCount, const QString &table)
{
    ensureConnected();
    const auto it = statements_.constFind(sql);
    if (it != statements_.constEnd())
        return *it;
    const QByteArray name = "k" + QByteArray::number(statements_.size() + 1);
    PGresult *result = PQprepare(connection_, name.constData(), sql.constData(), parameterCount, nullptr);
    if (PQresultStatus(result) != PGRES_COMMAND_OK) {
        const EngineError failure = error(result, table);
        PQclear(result);
        throw failure;
    }
    PQclear(result);
    statements_.insert(sql, name);
    return name;
}

void ServerSession::begin(const QString &table)
{
    execute(depth_ == 0 ? QByteArray("BEGIN") : "SAVEPOINT k" + QByteArray::number(depth_), table);
    ++depth_;
}

void ServerSession::beginSnapshot(const QString &table)
{
    if (depth_ > 0) {
        begin(table);
        return;
    }
    execute("BEGIN ISOLATION LEVEL REPEATABLE READ", table);
    ++depth_;
}

void ServerSession::commit(const QString &table)
{
    if (depth_ == 0)
        return;
    if (depth_ == 1) {
        // Whatever happens to the COMMIT, the transaction is over.
        depth_ = 0;
        execute("COMMIT", table);
        return;
    }
    --depth_;
    execute("RELEASE SAVEPOINT k" + QByteArray::number(depth_), table);
}

void ServerSession::rollback() noexcept
{
    if (depth_ == 0)
        return;
    --depth_;
    if (broken_ || !connection_)
        return;
    const QByteArray sql = depth_ == 0 ? QByteArray("ROLLBACK")
                                       : "ROLLBACK TO SAVEPOINT k" + QByteArray::number(depth_) + "; RELEASE SAVEPOINT k"
                                             + QByteArray::number(depth_);
    PQclear(PQexec(connection_, sql.constData()));
}

EngineError ServerSession::error(const pg_result *result, const QString &table)
{
    if (IsConnectionLost(result, connection_)) {
        // Nothing of the open transaction reached the server: it rolls back when the
        // connection drops. The next command outside a transaction connects again.
        broken_ = true;
        return EngineError(EngineErrorKind::Unreachable, ServerUnavailableMessage(server_));
    }
    const QByteArray state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    if (state == "23505")
        return EngineError(EngineErrorKind::KeyViolation, KeyViolationMessage(table));
    if (state == "55P03" || state == "40P01" || state == "40001")
        return EngineError(EngineErrorKind::Locked, LockedMessage(table));
    if (state == "42P01")
        return EngineError(EngineErrorKind::Missing, MissingTableMessage(table));
    if (state == "25006" || state == "42501")
        return EngineError(EngineErrorKind::Other, ReadOnlyTableMessage(table));
    const QString detail = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    return EngineError(EngineErrorKind::Other, TableFailureMessage(table, detail));
}

void ServerSession::fail(const pg_result *result, const QString &table)
{
    throw error(result, table);
}
