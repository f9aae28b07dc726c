#include "store/server_tree_transaction.h"

#include "base/server_location.h"
#include "store/engine_error.h"
#include "store/server_cursor.h"
#include "store/server_session.h"
#include "store/server_table_backend.h"
#include "store/table_connection.h"
#include "store/table_storage.h"

namespace {

std::shared_ptr<ServerSession> SessionOfRoot(const QString &dataRoot)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(dataRoot);
    if (!address)
        throw EngineError(EngineErrorKind::Missing, MissingTableMessage(dataRoot));
    return ServerSession::of(address->connectionInfo, address->server);
}

} // namespace

ServerTreeTransaction::ServerTreeTransaction(const QString &dataRoot, Kind kind) : dataRoot_(dataRoot)
{
    if (!ParseServerTablePath(dataRoot))
        return;
    session_ = SessionOfRoot(dataRoot);
    if (kind == Kind::Snapshot)
        session_->beginSnapshot(dataRoot);
    else
        session_->begin(dataRoot);
    open_ = true;
}

ServerTreeTransaction::~ServerTreeTransaction()
{
    if (open_)
        session_->rollback();
}

QStringList ServerTreeTransaction::lockTables(const QStringList &paths)
{
    QStringList inUse;
    if (!open_)
        return inUse;
    for (const QString &path : paths)
        if (!ServerTableBackend::lockUntilTransactionEnds(path))
            inUse.append(path);
    return inUse;
}

void ServerTreeTransaction::waitForOthersDoing(const QString &work)
{
    if (open_)
        session_->execute("SELECT pg_advisory_xact_lock(hashtext(" + ServerTextLiteral(work) + "))", dataRoot_);
}

void ServerTreeTransaction::makeYear(const QString &year)
{
    if (open_)
        session_->execute("CREATE SCHEMA IF NOT EXISTS " + QuotedName(year), dataRoot_);
}

void ServerTreeTransaction::commit()
{
    if (!open_)
        return;
    // A statement that failed outside a part of its own has spoilt the transaction, and the
    // server answers a COMMIT then by rolling back: that is a failure, never a success.
    session_->execute("SELECT 1", dataRoot_);
    open_ = false;
    session_->commit(dataRoot_);
}

QStringList ServerTablesOf(const QString &dataRoot, const QString &year)
{
    const QString schema = year.isEmpty() ? QString::fromLatin1(kOutsideYearsSchema) : year;
    QString root = dataRoot;
    if (!root.endsWith(u'/'))
        root += u'/';
    ServerCursor query(SessionOfRoot(dataRoot), dataRoot,
                       "SELECT tablename FROM pg_tables WHERE schemaname = " + ServerTextLiteral(schema)
                           + " AND position('#' in tablename) = 0 ORDER BY tablename");
    QStringList tables;
    while (query.step())
        tables.append(root + (year.isEmpty() ? QString() : year + u'/') + query.text(0) + QStringLiteral(".DB"));
    return tables;
}
