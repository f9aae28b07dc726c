#include "store/server_tree_transaction.h"

#include "base/server_location.h"
#include "store/server_session.h"
#include "store/server_table_backend.h"

ServerTreeTransaction::ServerTreeTransaction(const QString &dataRoot, Kind kind) : dataRoot_(dataRoot)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(dataRoot);
    if (!address)
        return;
    session_ = ServerSession::of(address->connectionInfo, address->server);
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

void ServerTreeTransaction::commit()
{
    if (!open_)
        return;
    open_ = false;
    session_->commit(dataRoot_);
}
