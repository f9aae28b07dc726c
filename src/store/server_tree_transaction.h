#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class ServerSession;

// One transaction of the server that holds a data tree, spanning every table this program reads
// or writes there until it ends: a whole-tree copy is taken as of one moment, or written all or
// nothing. On a data root that is a folder it does nothing (table files keep their own locks).
class ServerTreeTransaction {
public:
    // Snapshot: every table is read as it was when the transaction began, while other programs
    // go on writing. Write: everything written meanwhile is stored together at commit(), or not
    // at all. Throws EngineError when the server cannot be reached.
    enum class Kind { Snapshot, Write };
    ServerTreeTransaction(const QString &dataRoot, Kind kind);
    // Rolls back unless committed.
    ~ServerTreeTransaction();
    ServerTreeTransaction(const ServerTreeTransaction &) = delete;
    ServerTreeTransaction &operator=(const ServerTreeTransaction &) = delete;

    // Takes each table against every other program until the transaction ends; the tables that
    // another program has open are returned (none taken then is a refusal of the whole work).
    QStringList lockTables(const QStringList &paths);
    // Throws EngineError when the server does not store it.
    void commit();

private:
    QString dataRoot_;
    std::shared_ptr<ServerSession> session_;
    bool open_ = false;
};
