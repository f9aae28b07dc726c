#pragma once

#include "store/engine_error.h"
#include "store/sql_statement.h"
#include "store/table_backend.h"

#include <QByteArray>
#include <QString>
#include <memory>

// One open table: its back end's connection and the open-lock that tells other programs the
// table is in use. Every table object of the process that works on the same table shares one
// connection, so they see each other's writes at once and never wait for each other.
class TableConnection : public std::enable_shared_from_this<TableConnection> {
public:
    // The connection of an existing table (path already resolved), opened on first use. Takes
    // the shared open-lock, or the exclusive one when asked; throws EngineError (Locked when
    // another program holds the table against us, Missing, Damaged).
    static std::shared_ptr<TableConnection> acquire(const QString &filePath, bool exclusive);
    // Gives back what acquire() took; the connection closes with its last user.
    void releaseOpenLock(bool exclusive);

    // True when some process other than this one has the table open.
    static bool isInUseByOtherProgram(const QString &filePath);
    // True when this process has the table open.
    static bool isOpenInThisProcess(const QString &filePath);

    // How long a write waits for another program's lock before it fails as Locked.
    static void setLockTimeout(int milliseconds);
    static int lockTimeout();

    ~TableConnection();
    TableConnection(const TableConnection &) = delete;
    TableConnection &operator=(const TableConnection &) = delete;

    const QString &filePath() const { return filePath_; }
    // Opened read-only: the table was marked read-only when the connection was made.
    bool isReadOnly() const { return backend_->isReadOnly(); }
    TableBackend &backend() const { return *backend_; }

    SqlStatement prepare(const QByteArray &sql) { return backend_->prepare(sql); }
    SqlStatement prepareOnePass(const QByteArray &sql) { return backend_->prepareOnePass(sql); }
    void execute(const QByteArray &sql) { backend_->execute(sql); }
    // The SQL name of the table's rows.
    QByteArray dataTable() const { return backend_->dataTable(); }

    // Counts every change written through this connection (and every rollback); cursors
    // compare it to know their buffered rows may be stale.
    quint64 changeCount() const { return changeCount_; }
    void noteChange() { ++changeCount_; }
    // Counts structure changes (indexes added or dropped).
    quint64 structureCount() const { return structureCount_; }
    void noteStructureChange() { ++structureCount_; ++changeCount_; }

    // A write: one transaction of its own, or part of the open transaction scope.
    class Write {
    public:
        explicit Write(TableConnection &connection);
        Write(const Write &) = delete;
        Write &operator=(const Write &) = delete;
        ~Write();
        // Outside a scope the write is stored when this returns; inside one, at its end.
        void commit();

    private:
        TableConnection &connection_;
        bool own_ = false;
        bool done_ = false;
    };

    // Inside a transaction scope: starts this table's part of it now, with the write lock, unless
    // it has started already; every read from then on sees the stored rows, which no other
    // program can change before the scope ends. Outside a scope it does nothing.
    void joinScopeTransaction();

    // Used by the transaction scope.
    bool inScopeTransaction() const { return inScopeTransaction_; }
    void beginScopeTransaction();
    void commitScopeTransaction();
    void rollbackScopeTransaction() noexcept;

private:
    TableConnection(const QString &filePath, std::unique_ptr<TableBackend> backend);
    void takeOpenLock(bool exclusive);
    void rollbackQuietly() noexcept;
    OpenLock heldLock() const;

    QString filePath_;
    std::unique_ptr<TableBackend> backend_;
    int sharedUsers_ = 0;
    int exclusiveUsers_ = 0;
    quint64 changeCount_ = 0;
    quint64 structureCount_ = 0;
    bool inScopeTransaction_ = false;
};

// Whether the table is there: its file, or its table on the server.
bool TableExists(const QString &filePath);

// Engine messages, one wording for each kind.
QString LockedMessage(const QString &filePath);
QString MissingTableMessage(const QString &filePath);
QString DamagedTableMessage(const QString &filePath);
QString KeyViolationMessage(const QString &filePath);
QString ReadOnlyTableMessage(const QString &filePath);
QString TableFailureMessage(const QString &filePath, const QString &detail);
