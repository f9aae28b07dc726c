#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class ServerSession;

// One transaction over every table of a data tree on a database server: whatever the tables
// write while it is open (new schemas and tables too) reaches the server together at commit(),
// and a program killed or a connection lost before that leaves the server as it was. The
// transactions the tables open inside it become parts of it.
class ServerTreeTransaction {
public:
    // Connects and begins; throws EngineError with the server's message when it cannot.
    explicit ServerTreeTransaction(const QString &dataRoot);
    ServerTreeTransaction(const ServerTreeTransaction &) = delete;
    ServerTreeTransaction &operator=(const ServerTreeTransaction &) = delete;
    // Rolls back unless committed.
    ~ServerTreeTransaction();

    // Waits until no other program runs the same work (named by the text) on this database; the
    // wait ends with the transaction.
    void waitForOthersDoing(const QString &work);
    // Makes the year's schema when it is not there.
    void makeYear(const QString &year);
    // Throws EngineError when the commit fails; nothing is written then.
    void commit();

private:
    std::shared_ptr<ServerSession> session_;
    QString dataRoot_;
    bool open_ = false;
};

// The tables of one year's schema (or of the schema outside the years) on the server of the data
// root, as paths under it ("pg:kasa/2026/KASA/NAGKASA.DB"), in order of their names.
QStringList ServerTablesOf(const QString &dataRoot, const QString &year);
