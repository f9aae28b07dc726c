#include "store/table_connection.h"

#include "base/server_location.h"
#include "store/server_table_backend.h"
#include "store/sqlite_table_backend.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

int gLockTimeoutMs = 5000;

QHash<QString, std::weak_ptr<TableConnection>> &Pool()
{
    static QHash<QString, std::weak_ptr<TableConnection>> pool;
    return pool;
}

QString PoolKey(const QString &filePath)
{
    if (IsServerPath(filePath))
        return filePath;
    const QFileInfo info(filePath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QString Shown(const QString &filePath)
{
    return QDir::toNativeSeparators(filePath);
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

QString ReadOnlyTableMessage(const QString &filePath)
{
    return QStringLiteral("Tabela %1 jest tylko do odczytu.").arg(Shown(filePath));
}

QString TableFailureMessage(const QString &filePath, const QString &detail)
{
    return QStringLiteral("Błąd tabeli %1: %2").arg(Shown(filePath), detail);
}

bool TableExists(const QString &filePath)
{
    if (IsServerPath(filePath))
        return ServerTableBackend::exists(filePath);
    return QFileInfo(filePath).isFile();
}

std::shared_ptr<TableConnection> TableConnection::acquire(const QString &filePath, bool exclusive)
{
    const QString key = PoolKey(filePath);
    if (auto existing = Pool().value(key).lock()) {
        existing->takeOpenLock(exclusive);
        return existing;
    }
    std::unique_ptr<TableBackend> backend;
    if (const std::optional<ServerTableAddress> address = ParseServerTablePath(filePath)) {
        backend = std::make_unique<ServerTableBackend>(key, *address);
    } else {
        if (!QFileInfo(filePath).isFile())
            throw EngineError(EngineErrorKind::Missing, MissingTableMessage(filePath));
        backend = std::make_unique<SqliteTableBackend>(key);
    }
    std::shared_ptr<TableConnection> connection(new TableConnection(key, std::move(backend)));
    connection->takeOpenLock(exclusive);
    connection->backend_->open();
    Pool().insert(key, connection);
    return connection;
}

bool TableConnection::isOpenInThisProcess(const QString &filePath)
{
    return !Pool().value(PoolKey(filePath)).expired();
}

bool TableConnection::isInUseByOtherProgram(const QString &filePath)
{
    if (IsServerPath(filePath))
        return ServerTableBackend::isInUseByOtherProgram(filePath);
    return SqliteTableBackend::isInUseByOtherProgram(filePath);
}

void TableConnection::setLockTimeout(int milliseconds)
{
    gLockTimeoutMs = milliseconds;
    for (const auto &weak : Pool())
        if (auto connection = weak.lock())
            connection->backend_->setLockTimeout(milliseconds);
}

int TableConnection::lockTimeout()
{
    return gLockTimeoutMs;
}

TableConnection::TableConnection(const QString &filePath, std::unique_ptr<TableBackend> backend)
    : filePath_(filePath), backend_(std::move(backend))
{
}

TableConnection::~TableConnection()
{
    // A lock held by a session that outlives this table is given back here; a file's goes with
    // its descriptor.
    try {
        if (heldLock() != OpenLock::None)
            backend_->moveOpenLock(heldLock(), OpenLock::None);
    } catch (const EngineError &) {
    }
    backend_.reset();
    const auto it = Pool().constFind(filePath_);
    if (it != Pool().constEnd() && it->expired())
        Pool().remove(filePath_);
}

OpenLock TableConnection::heldLock() const
{
    if (exclusiveUsers_ > 0)
        return OpenLock::Exclusive;
    return sharedUsers_ > 0 ? OpenLock::Shared : OpenLock::None;
}

void TableConnection::takeOpenLock(bool exclusive)
{
    const OpenLock held = heldLock();
    const OpenLock wanted = exclusive || held == OpenLock::Exclusive ? OpenLock::Exclusive : OpenLock::Shared;
    if (wanted != held && !backend_->moveOpenLock(held, wanted))
        throw EngineError(EngineErrorKind::Locked, LockedMessage(filePath_));
    ++(exclusive ? exclusiveUsers_ : sharedUsers_);
}

void TableConnection::releaseOpenLock(bool exclusive)
{
    const OpenLock held = heldLock();
    --(exclusive ? exclusiveUsers_ : sharedUsers_);
    const OpenLock now = heldLock();
    if (now != held)
        backend_->moveOpenLock(held, now);
}

void TableConnection::rollbackQuietly() noexcept
{
    backend_->rollbackWrite();
    ++changeCount_;
}

void TableConnection::beginScopeTransaction()
{
    backend_->beginWrite();
    inScopeTransaction_ = true;
}

void TableConnection::commitScopeTransaction()
{
    backend_->commitWrite();
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
    // Rows buffered before the lock may be older than the stored ones: cursors read them again.
    noteChange();
}

TableConnection::Write::Write(TableConnection &connection) : connection_(connection)
{
    if (TransactionScope::active()) {
        connection_.joinScopeTransaction();
        connection_.backend_->beginJoinedWrite();
        return;
    }
    connection_.backend_->beginWrite();
    own_ = true;
}

TableConnection::Write::~Write()
{
    if (!done_ && own_) {
        connection_.rollbackQuietly();
    } else if (!done_) {
        connection_.backend_->endJoinedWrite(false);
        connection_.noteChange();
    }
}

void TableConnection::Write::commit()
{
    done_ = true;
    connection_.noteChange();
    if (!own_) {
        connection_.backend_->endJoinedWrite(true);
        return;
    }
    try {
        connection_.backend_->commitWrite();
    } catch (...) {
        connection_.rollbackQuietly();
        throw;
    }
}
