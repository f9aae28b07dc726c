#include "store/transaction_scope.h"

#include "store/engine_error.h"
#include "store/table_connection.h"

#include <QList>
#include <QString>

namespace {

// The program is single-threaded: one transaction state for the process.
struct ScopeState {
    int depth = 0;
    bool doomed = false;
    QList<std::shared_ptr<TableConnection>> connections;
};

ScopeState &State()
{
    static ScopeState state;
    return state;
}

void RollbackAll()
{
    ScopeState &state = State();
    for (const auto &connection : state.connections)
        connection->rollbackScopeTransaction();
    state.connections.clear();
    state.doomed = false;
}

void CommitAll()
{
    ScopeState &state = State();
    try {
        while (!state.connections.isEmpty()) {
            state.connections.first()->commitScopeTransaction();
            state.connections.removeFirst();
        }
    } catch (...) {
        RollbackAll();
        throw;
    }
}

} // namespace

TransactionScope::TransactionScope()
{
    ++State().depth;
}

TransactionScope::~TransactionScope()
{
    ScopeState &state = State();
    if (!committed_) {
        state.doomed = true;
        if (--state.depth == 0)
            RollbackAll();
    }
}

void TransactionScope::commit()
{
    if (committed_)
        return;
    committed_ = true;
    ScopeState &state = State();
    if (--state.depth > 0)
        return;
    if (state.doomed) {
        RollbackAll();
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Operacja nie została zakończona; zmiany wycofano."));
    }
    CommitAll();
}

bool TransactionScope::active()
{
    return State().depth > 0;
}

void TransactionScope::enlist(const std::shared_ptr<TableConnection> &connection)
{
    State().connections.append(connection);
}
