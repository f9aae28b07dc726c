#include "store/table_connection.h"

#include "store/engine_failure_text.h"

#include "store/polish_collation.h"
#include "store/table_files.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFileInfo>
#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int gLockTimeoutMs = 5000;

QHash<QString, std::weak_ptr<TableConnection>> &Pool()
{
    static QHash<QString, std::weak_ptr<TableConnection>> pool;
    return pool;
}

QString PoolKey(const QString &filePath)
{
    const QFileInfo info(filePath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QString Shown(const QString &filePath)
{
    return QDir::toNativeSeparators(filePath);
}

EngineError LockedByOtherProgram(const QString &filePath)
{
    return EngineError(EngineErrorKind::Locked, LockedMessage(filePath));
}

} // namespace

QString LockedMessage(const QString &filePath)
{
    return QStringLiteral("Tabela %1 jest zablokowana przez inny program.\rSpróbuj ponownie za chwilę.")
        .arg(Shown(filePath));
}

QString MissingTableMessage(const QString &filePath)
{
    return QStringLiteral("Tabela %1 nie istnieje.").arg(Shown(filePath));
}

QString DamagedTableMessage(const QString &filePath)
{
    return QStringLiteral("Plik %1 nie jest tabelą albo jest uszkodzony.").arg(Shown(filePath));
}

QString KeyViolationMessage(const QString &filePath)
{
    return QStringLiteral("Naruszenie klucza w tabeli %1.").arg(Shown(filePath));
}

std::shared_ptr<TableConnection> TableConnection::acquire(const QString &filePath, bool exclusive)
{
    if (!QFileInfo(filePath).isFile())
        throw EngineError(EngineErrorKind::Missing, MissingTableMessage(filePath));
    const QString key = PoolKey(filePath);
    if (auto existing = Pool().value(key).lock()) {
        existing->takeOpenLock(exclusive);
        return existing;
    }
    std::shared_ptr<TableConnection> connection(new TableConnection(key));
    connection->takeOpenLock(exclusive);
    connection->openDatabase();
    Pool().insert(key, connection);
    return connection;
}

bool TableConnection::isOpenInThisProcess(const QString &filePath)
{
    return !Pool().value(PoolKey(filePath)).expired();
}

bool TableConnection::isInUseByOtherProgram(const QString &filePath)
{
    // Only asked about files this process does not hold: closing this descriptor would otherwise
    // drop the locks SQLite keeps on the same file.
    const int fd = ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool busy = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return busy;
}

void TableConnection::setLockTimeout(int milliseconds)
{
    gLockTimeoutMs = milliseconds;
    for (const auto &weak : Pool())
        if (auto connection = weak.lock())
            sqlite3_busy_timeout(connection->db_, milliseconds);
}

int TableConnection::lockTimeout()
{
    return gLockTimeoutMs;
}

TableConnection::TableConnection(const QString &filePath) : filePath_(filePath) {}

TableConnection::~TableConnection()
{
    for (sqlite3_stmt *statement : std::as_const(statements_))
        sqlite3_finalize(statement);
    if (db_)
        sqlite3_close_v2(db_);
    // The descriptor goes last: closing it earlier would cancel SQLite's own locks on the file.
    if (lockFd_ >= 0)
        ::close(lockFd_);
    const auto it = Pool().constFind(filePath_);
    if (it != Pool().constEnd() && it->expired())
        Pool().remove(filePath_);
}

void TableConnection::takeOpenLock(bool exclusive)
{
    if (lockFd_ < 0) {
        lockFd_ = ::open(QFile::encodeName(filePath_).constData(), O_RDONLY | O_CLOEXEC);
        if (lockFd_ < 0)
            throw EngineError(errno == ENOENT ? EngineErrorKind::Missing : EngineErrorKind::Other,
                              errno == ENOENT ? MissingTableMessage(filePath_)
                                              : QStringLiteral("Nie można otworzyć pliku %1.").arg(Shown(filePath_)));
    }
    const bool hadLock = sharedUsers_ + exclusiveUsers_ > 0;
    const bool wasExclusive = exclusiveUsers_ > 0;
    const bool wantExclusive = wasExclusive || exclusive;
    if (!hadLock || wantExclusive != wasExclusive) {
        if (::flock(lockFd_, (wantExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
            // A refused upgrade may have dropped the shared lock on the way: take it back.
            if (hadLock)
                ::flock(lockFd_, LOCK_SH | LOCK_NB);
            throw LockedByOtherProgram(filePath_);
        }
    }
    ++(exclusive ? exclusiveUsers_ : sharedUsers_);
}

void TableConnection::releaseOpenLock(bool exclusive)
{
    --(exclusive ? exclusiveUsers_ : sharedUsers_);
    if (exclusive && exclusiveUsers_ == 0 && sharedUsers_ > 0)
        ::flock(lockFd_, LOCK_SH);
    else if (exclusiveUsers_ == 0 && sharedUsers_ == 0)
        ::flock(lockFd_, LOCK_UN);
}

void TableConnection::openDatabase()
{
    // A file marked read-only (kept so when the user declined to change it) is opened so that
    // nothing at all is written to it, whoever runs the program: no lost index is rebuilt and no
    // helper index made, and every write fails as a read-only table.
    // A connection serves the one thread that works with the tables (the pool itself is not
    // shared between threads), so SQLite need not lock it at every value read.
    readOnly_ = IsReadOnlyFile(filePath_);
    const int rc = sqlite3_open_v2(QFile::encodeName(filePath_).constData(), &db_,
                                   (readOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK)
        throwError(rc);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, gLockTimeoutMs);
    const int registered = RegisterPolishTextFunctions(db_);
    if (registered != SQLITE_OK)
        throwError(registered);
    // A committed post is on disk, and no side file holds committed data.
    execute("PRAGMA journal_mode=DELETE");
    execute("PRAGMA synchronous=FULL");
    execute("PRAGMA temp_store=MEMORY");
    execute("PRAGMA cache_size=-16384");
}

SqlStatement TableConnection::prepare(const QByteArray &sql)
{
    sqlite3_stmt *statement = statements_.value(sql);
    if (statement && !statementsInUse_.contains(statement)) {
        statementsInUse_.insert(statement, true);
        return SqlStatement(*this, statement, true);
    }
    const bool cache = statement == nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql.constData(), int(sql.size()),
                                      cache ? SQLITE_PREPARE_PERSISTENT : 0, &statement, nullptr);
    if (rc != SQLITE_OK)
        throwError(rc);
    if (cache) {
        statements_.insert(sql, statement);
        statementsInUse_.insert(statement, true);
    }
    return SqlStatement(*this, statement, cache);
}

void TableConnection::releaseStatement(sqlite3_stmt *statement, bool cached)
{
    if (!cached) {
        sqlite3_finalize(statement);
        return;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    statementsInUse_.remove(statement);
}

void TableConnection::execute(const QByteArray &sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throwError(rc);
}

EngineError TableConnection::error(int resultCode) const
{
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError(EngineErrorKind::Locked, LockedMessage(filePath_));
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return EngineError(EngineErrorKind::Damaged, DamagedTableMessage(filePath_));
    case SQLITE_READONLY:
        return EngineError(EngineErrorKind::Other,
                           QStringLiteral("Tabela %1 jest tylko do odczytu.").arg(Shown(filePath_)));
    case SQLITE_CANTOPEN:
        if (!QFileInfo::exists(filePath_))
            return EngineError(EngineErrorKind::Missing, MissingTableMessage(filePath_));
        break;
    case SQLITE_CONSTRAINT:
        if (resultCode == SQLITE_CONSTRAINT_UNIQUE || resultCode == SQLITE_CONSTRAINT_PRIMARYKEY)
            return EngineError(EngineErrorKind::KeyViolation, KeyViolationMessage(filePath_));
        break;
    default:
        break;
    }
    const QString detail = EngineFailureText(resultCode, db_ ? QString::fromUtf8(sqlite3_errmsg(db_))
                                                             : QString::fromUtf8(sqlite3_errstr(resultCode)));
    return EngineError(EngineErrorKind::Other,
                       QStringLiteral("Błąd tabeli %1: %2").arg(Shown(filePath_), detail));
}

void TableConnection::throwError(int resultCode) const
{
    throw error(resultCode);
}

void TableConnection::rollbackQuietly() noexcept
{
    if (sqlite3_get_autocommit(db_) == 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    ++changeCount_;
}

void TableConnection::beginScopeTransaction()
{
    execute("BEGIN IMMEDIATE");
    inScopeTransaction_ = true;
}

void TableConnection::commitScopeTransaction()
{
    execute("COMMIT");
    inScopeTransaction_ = false;
}

void TableConnection::rollbackScopeTransaction() noexcept
{
    rollbackQuietly();
    inScopeTransaction_ = false;
}

void TableConnection::joinScopeTransaction()
{
    if (!TransactionScope::active() || inScopeTransaction_)
        return;
    beginScopeTransaction();
    TransactionScope::enlist(shared_from_this());
    // Rows buffered before the lock may be older than the file: cursors read them again.
    noteChange();
}

TableConnection::Write::Write(TableConnection &connection) : connection_(connection)
{
    if (TransactionScope::active()) {
        connection_.joinScopeTransaction();
        return;
    }
    connection_.execute("BEGIN IMMEDIATE");
    own_ = true;
}

TableConnection::Write::~Write()
{
    if (!done_ && own_)
        connection_.rollbackQuietly();
    else if (!done_)
        connection_.noteChange();
}

void TableConnection::Write::commit()
{
    done_ = true;
    connection_.noteChange();
    if (!own_)
        return;
    try {
        connection_.execute("COMMIT");
    } catch (...) {
        connection_.rollbackQuietly();
        throw;
    }
}
