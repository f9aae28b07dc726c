#pragma once

#include "store/engine_error.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

struct pg_conn;
struct pg_result;

// This program's one connection to a database server, shared by every table on it: one
// transaction at a time spans every table the program writes there, so a scope that writes into
// several tables commits them together. Statements are prepared once per connection.
class ServerSession {
public:
    // The session of the server, connected on first use (and again after a lost connection).
    // Throws EngineError with the server's name when it cannot connect.
    static std::shared_ptr<ServerSession> of(const QByteArray &connectionInfo, const QString &server);
    ~ServerSession();
    ServerSession(const ServerSession &) = delete;
    ServerSession &operator=(const ServerSession &) = delete;

    const QString &server() const { return server_; }
    pg_conn *handle() const { return connection_; }

    // Runs a statement without parameters; throws EngineError naming the table.
    void execute(const QByteArray &sql, const QString &table);
    // The name of the prepared statement for the text (prepared now when new).
    QByteArray prepared(const QByteArray &sql, int parameterCount, const QString &table);

    // Transactions: the outermost begin/commit/rollback write, the inner ones are savepoints.
    bool inTransaction() const { return depth_ > 0; }
    void begin(const QString &table);
    // The outermost transaction, reading every table as of the moment it began (other programs'
    // later commits are not seen); the inner ones are savepoints as above.
    void beginSnapshot(const QString &table);
    void commit(const QString &table);
    void rollback() noexcept;
    void setLockTimeout(int milliseconds);

    // The error of a failed result (or of the connection when there is none), naming the table.
    EngineError error(const pg_result *result, const QString &table);
    [[noreturn]] void fail(const pg_result *result, const QString &table);

private:
    ServerSession(const QByteArray &connectionInfo, const QString &server);
    void connect();
    void prepareDatabase();
    void ensureConnected();

    QByteArray connectionInfo_;
    QString server_;
    pg_conn *connection_ = nullptr;
    QHash<QByteArray, QByteArray> statements_;
    int depth_ = 0;
    bool broken_ = false;
};

// The message of a server that cannot be reached, refuses the login or was lost.
QString ServerUnavailableMessage(const QString &server);
