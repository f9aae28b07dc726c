#pragma once

#include "store/engine_error.h"
#include "store/sql_statement.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// One open table file: its SQLite connection (rollback journal, full sync, Polish collations)
// and the advisory lock that tells other programs the table is in use. Every table object of
// the process that works on the same file shares one connection, so they see each other's
// writes at once and never wait for each other.
class TableConnection : public std::enable_shared_from_this<TableConnection> {
public:
    // The connection of an existing table file (path already resolved), opened on first use.
    // Takes the shared open-lock, or the exclusive one when asked; throws EngineError (Locked
    // when another program holds the file against us, Missing, Damaged).
    static std::shared_ptr<TableConnection> acquire(const QString &filePath, bool exclusive);
    // Gives back what acquire() took; the connection closes with its last user.
    void releaseOpenLock(bool exclusive);

    // True when some process other than this one has the file open as a table.
    static bool isInUseByOtherProgram(const QString &filePath);
    // True when this process has the file open.
    static bool isOpenInThisProcess(const QString &filePath);

    // How long a write waits for another program's lock before it fails as Locked.
    static void setLockTimeout(int milliseconds);
    static int lockTimeout();

    ~TableConnection();
    TableConnection(const TableConnection &) = delete;
    TableConnection &operator=(const TableConnection &) = delete;

    const QString &filePath() const { return filePath_; }
    // Opened read-only: the file was marked read-only when the connection was made.
    bool isReadOnly() const { return readOnly_; }
    sqlite3 *handle() const { return db_; }

    SqlStatement prepare(const QByteArray &sql);
    void execute(const QByteArray &sql);

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
        // Outside a scope the write is on disk when this returns; inside one, at its end.
        void commit();

    private:
        TableConnection &connection_;
        bool own_ = false;
        bool done_ = false;
    };

    // Inside a transaction scope: starts this file's part of it now, with the write lock, unless
    // it has started already; every read from then on sees the stored rows, which no other
    // program can change before the scope ends. Outside a scope it does nothing.
    void joinScopeTransaction();

    // Used by the transaction scope.
    bool inScopeTransaction() const { return inScopeTransaction_; }
    void beginScopeTransaction();
    void commitScopeTransaction();
    void rollbackScopeTransaction() noexcept;

    [[noreturn]] void throwError(int resultCode) const;
    EngineError error(int resultCode) const;

    void releaseStatement(sqlite3_stmt *statement, bool cached);

private:
    explicit TableConnection(const QString &filePath);
    void openDatabase();
    void takeOpenLock(bool exclusive);
    void rollbackQuietly() noexcept;

    QString filePath_;
    sqlite3 *db_ = nullptr;
    int lockFd_ = -1;
    int sharedUsers_ = 0;
    int exclusiveUsers_ = 0;
    QHash<QByteArray, sqlite3_stmt *> statements_;
    QHash<sqlite3_stmt *, bool> statementsInUse_;
    quint64 changeCount_ = 0;
    quint64 structureCount_ = 0;
    bool inScopeTransaction_ = false;
    bool readOnly_ = false;
};

// Engine messages, one wording for each kind.
QString LockedMessage(const QString &filePath);
QString MissingTableMessage(const QString &filePath);
QString DamagedTableMessage(const QString &filePath);
QString KeyViolationMessage(const QString &filePath);
