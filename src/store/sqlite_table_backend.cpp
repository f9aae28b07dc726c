#include "store/sqlite_table_backend.h"

#include "store/engine_failure_text.h"
#include "store/polish_collation.h"
#include "store/sqlite_cursor.h"
#include "store/table_connection.h"
#include "store/table_files.h"
#include "store/table_storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kApplicationId = 0x4B415341; // "KASA"
constexpr int kFormatVersion = 1;

QString Shown(const QString &filePath)
{
    return QDir::toNativeSeparators(filePath);
}

QByteArray ColumnSqlType(FieldType type)
{
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Date:
        return "TEXT";
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoIncrement:
    case FieldType::Boolean:
    case FieldType::Currency:
        return "INTEGER";
    case FieldType::Float:
        return "REAL";
    default:
        return "BLOB";
    }
}

} // namespace

SqliteTableBackend::SqliteTableBackend(const QString &filePath) : filePath_(filePath) {}

SqliteTableBackend::~SqliteTableBackend()
{
    statements_.clear();
    if (db_)
        sqlite3_close_v2(db_);
    // The descriptor goes last: closing it earlier would cancel SQLite's own locks on the file.
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

bool SqliteTableBackend::isInUseByOtherProgram(const QString &filePath)
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

QString SqliteTableBackend::shownName() const
{
    return Shown(filePath_);
}

bool SqliteTableBackend::moveOpenLock(OpenLock from, OpenLock to)
{
    if (lockFd_ < 0) {
        lockFd_ = ::open(QFile::encodeName(filePath_).constData(), O_RDONLY | O_CLOEXEC);
        if (lockFd_ < 0)
            throw EngineError(errno == ENOENT ? EngineErrorKind::Missing : EngineErrorKind::Other,
                              errno == ENOENT ? MissingTableMessage(filePath_)
                                              : QStringLiteral("Nie można otworzyć pliku %1.").arg(Shown(filePath_)));
    }
    if (to == OpenLock::None) {
        ::flock(lockFd_, LOCK_UN);
        return true;
    }
    // Going down from exclusive to shared always succeeds.
    const bool wait = from == OpenLock::Exclusive && to == OpenLock::Shared;
    if (::flock(lockFd_, (to == OpenLock::Exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB)) == 0)
        return true;
    // A refused upgrade may have dropped the shared lock on the way: take it back.
    if (from != OpenLock::None)
        ::flock(lockFd_, LOCK_SH | LOCK_NB);
    return false;
}

void SqliteTableBackend::open()
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
    sqlite3_busy_timeout(db_, TableConnection::lockTimeout());
    const int registered = RegisterPolishTextFunctions(db_);
    if (registered != SQLITE_OK)
        throwError(registered);
    // A committed post is on disk, and no side file holds committed data.
    execute("PRAGMA journal_mode=DELETE");
    execute("PRAGMA synchronous=FULL");
    execute("PRAGMA temp_store=MEMORY");
    execute("PRAGMA cache_size=-16384");
}

void SqliteTableBackend::setLockTimeout(int milliseconds)
{
    if (db_)
        sqlite3_busy_timeout(db_, milliseconds);
}

SqlStatement SqliteTableBackend::prepare(const QByteArray &sql)
{
    return statements_.take(*this, sql, [&]() -> SqlCursor * {
        sqlite3_stmt *statement = nullptr;
        const int rc = sqlite3_prepare_v3(db_, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                          &statement, nullptr);
        if (rc != SQLITE_OK)
            throwError(rc);
        return new SqliteCursor(*this, db_, statement);
    });
}

void SqliteTableBackend::releaseCursor(SqlCursor *cursor, bool cached)
{
    statements_.give(cursor, cached);
}

void SqliteTableBackend::execute(const QByteArray &sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throwError(rc);
}

void SqliteTableBackend::beginWrite()
{
    execute("BEGIN IMMEDIATE");
}

void SqliteTableBackend::commitWrite()
{
    execute("COMMIT");
}

void SqliteTableBackend::rollbackWrite() noexcept
{
    if (db_ && sqlite3_get_autocommit(db_) == 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

QByteArray SqliteTableBackend::dataTable() const
{
    return kDataTable;
}

QByteArray SqliteTableBackend::fieldsTable() const
{
    return "table_fields";
}

QByteArray SqliteTableBackend::indexesTable() const
{
    return "table_indexes";
}

QByteArray SqliteTableBackend::indexName(const QByteArray &name, bool) const
{
    return QuotedName(QString::fromUtf8(name));
}

QByteArray SqliteTableBackend::orderDirection(bool forward) const
{
    return forward ? " ASC" : " DESC";
}

QByteArray SqliteTableBackend::indexColumnOrder() const
{
    return {};
}

QByteArray SqliteTableBackend::firstInEntryOrder() const
{
    // An index keeps the rows of one key in the order of their row ids.
    return " LIMIT 1";
}

void SqliteTableBackend::createTables(const QList<FieldDef> &fields)
{
    QByteArrayList columns;
    for (const FieldDef &field : fields)
        columns.append(QuotedName(field.name) + ' ' + ColumnSqlType(field.type));
    execute("CREATE TABLE " + dataTable() + " (" + columns.join(", ") + ")");
    execute("CREATE TABLE " + fieldsTable()
            + " (position INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER NOT NULL, size INTEGER NOT NULL,"
              " required INTEGER NOT NULL)");
    execute("CREATE TABLE " + indexesTable()
            + " (position INTEGER PRIMARY KEY, name TEXT NOT NULL, fields TEXT NOT NULL, is_primary INTEGER NOT NULL,"
              " is_unique INTEGER NOT NULL, case_insensitive INTEGER NOT NULL)");
    execute("PRAGMA application_id = " + QByteArray::number(kApplicationId));
    execute("PRAGMA user_version = " + QByteArray::number(kFormatVersion));
}

bool SqliteTableBackend::hasStructureTables()
{
    SqlStatement query = prepare(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('data', 'table_fields', 'table_indexes')");
    return query.step() && query.integer(0) == 3;
}

QSet<QByteArray> SqliteTableBackend::indexNames()
{
    QSet<QByteArray> names;
    SqlStatement query = prepare("SELECT name FROM sqlite_master WHERE type = 'index'");
    while (query.step())
        names.insert(query.text(0).toUtf8());
    return names;
}

QList<TableBackend::Column> SqliteTableBackend::dataColumns()
{
    QList<Column> columns;
    SqlStatement query = prepare("SELECT name, type FROM pragma_table_info('" + dataTable() + "')");
    while (query.step())
        columns.append({query.text(0), query.text(1)});
    return columns;
}

EngineError SqliteTableBackend::error(int resultCode) const
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
        return EngineError(EngineErrorKind::Other, ReadOnlyTableMessage(filePath_));
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
    return EngineError(EngineErrorKind::Other, TableFailureMessage(filePath_, detail));
}

void SqliteTableBackend::throwError(int resultCode) const
{
    throw error(resultCode);
}

void SqliteTableBackend::appendRowsWithIds(const QByteArrayList &columns, SqlStatement &rows)
{
    QByteArrayList marks(columns.size() + 1, "?");
    SqlStatement insert = prepare("INSERT INTO " + dataTable() + " (" + kRowIdColumn
                                  + (columns.isEmpty() ? QByteArray() : ", " + columns.join(", ")) + ") VALUES ("
                                  + marks.join(", ") + ")");
    const int values = int(columns.size()) + 1;
    while (rows.step()) {
        for (int i = 0; i < values; ++i)
            insert.bindColumnOf(i + 1, rows, i);
        insert.run();
        insert.reset();
    }
}
