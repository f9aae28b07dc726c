#pragma once

#include <memory>

class TableConnection;

// A command that changes several rows runs inside one scope: every post still fires its events
// at once, but the changes reach the disk together when the outermost scope commits, so a
// crash leaves the old state or the new one. Scopes nest; only the outermost one writes.
// A scope left without commit() (an exception, an Abort) rolls the whole transaction back.
//
//     TransactionScope scope;
//     ... posts and deletes ...
//     scope.commit();
//
// Atomicity holds per table file: a scope that wrote into several files commits them one after
// the other.
class TransactionScope {
public:
    TransactionScope();
    TransactionScope(const TransactionScope &) = delete;
    TransactionScope &operator=(const TransactionScope &) = delete;
    ~TransactionScope();

    // Throws EngineError when the outermost commit fails (everything is rolled back then), or
    // when an inner scope was left without commit (the whole transaction is rolled back).
    void commit();

    static bool active();
    // Called by a connection at its first write inside the scope.
    static void enlist(const std::shared_ptr<TableConnection> &connection);

private:
    bool committed_ = false;
};
