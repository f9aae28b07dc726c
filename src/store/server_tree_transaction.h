#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class ServerSession;

// One transaction of the server that holds a data tree, spanning every table this program reads
// or writes there until it ends: a whole-tree copy is taken as of one moment, or written all or
// nothing (new schemas and tables too); a program killed or a connection lost before commit()
// leaves the server as it was. The transactions the tables open inside it become parts of it.
// On a data root that is a folder it does nothing (table files keep their own locks).
class ServerTreeTransaction {
public:
    // Snapshot: every table is read as it was when the transaction began, while other programs
    // go on writing. Write: everything written meanwhile is stored together at commit(), or not
    // at all. Throws EngineError with the server's message when the server cannot be reached.
    enum class Kind { Snapshot, Write };
    explicit ServerTreeTransaction(const QString &dataRoot, Kind kind = Kind::Write);
    // Rolls back unless committed.
    ~ServerTreeTransaction();
    ServerTreeTransaction(const ServerTreeTransaction &) = delete;
    ServerTreeTransaction &operator=(const ServerTreeTransaction &) = delete;

    // Takes each table against every other program until the transaction ends; the tables that
    // another program has open are returned (none taken then is a refusal of the whole work).
    QStringList lockTables(const QStringList &paths);
    // Waits until no other program runs the same work (named by the text) on this database; the
    // wait ends with the transaction.
    void waitForOthersDoing(const QString &work);
    // Makes the year's schema when it is not there.
    void makeYear(const QString &year);
    // Throws EngineError when the server does not store it; nothing is written then.
    void commit();

private:
    QString dataRoot_;
    std::shared_ptr<ServerSession> session_;
    bool open_ = false;
};

// The tables of one year's schema (or of the schema outside the years) on the server of the data
// root, as paths under it ("pg:kasa/2026/KASA/NAGKASA.DB"), in order of their names.
QStringList ServerTablesOf(const QString &dataRoot, const QString &year);
