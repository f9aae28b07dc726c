#include "store/sqlite_cursor.h"

#include "store/sqlite_table_backend.h"

#include <sqlite3.h>

SqliteCursor::~SqliteCursor()
{
    sqlite3_finalize(statement_);
}

void SqliteCursor::check(int resultCode) const
{
    if (resultCode != SQLITE_OK)
        backend_.throwError(resultCode);
}

void SqliteCursor::bindNull(int position)
{
    check(sqlite3_bind_null(statement_, position));
}

void SqliteCursor::bindInteger(int position, qint64 value)
{
    check(sqlite3_bind_int64(statement_, position, value));
}

void SqliteCursor::bindFloat(int position, double value)
{
    check(sqlite3_bind_double(statement_, position, value));
}

void SqliteCursor::bindText(int position, const QByteArray &utf8)
{
    check(sqlite3_bind_text64(statement_, position, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
}

void SqliteCursor::bindBytes(int position, const QByteArray &bytes)
{
    check(sqlite3_bind_blob64(statement_, position, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT));
}

void SqliteCursor::bindBorrowedText(int position, const char *utf8, qsizetype size)
{
    check(sqlite3_bind_text64(statement_, position, utf8, sqlite3_uint64(size), SQLITE_STATIC, SQLITE_UTF8));
}

bool SqliteCursor::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    backend_.throwError(rc);
}

void SqliteCursor::reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqliteCursor::columnCount() const
{
    return sqlite3_column_count(statement_);
}

StoredKind SqliteCursor::kind(int column) const
{
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return StoredKind::Integer;
    case SQLITE_FLOAT:
        return StoredKind::Float;
    case SQLITE_TEXT:
        return StoredKind::Text;
    case SQLITE_BLOB:
        return StoredKind::Bytes;
    default:
        return StoredKind::Null;
    }
}

qint64 SqliteCursor::integer(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

double SqliteCursor::floating(int column) const
{
    return sqlite3_column_double(statement_, column);
}

QByteArrayView SqliteCursor::utf8(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(statement_, column)) : QByteArrayView();
}

QString SqliteCursor::text(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, column));
    const int bytes = sqlite3_column_bytes(statement_, column);
    return text ? QString::fromUtf8(text, bytes) : QString();
}

QVariant SqliteCursor::value(int column) const
{
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
        return QVariant(text(column));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement_, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement_, column)));
    }
    default:
        return QVariant();
    }
}

qint64 SqliteCursor::changes() const
{
    return sqlite3_changes64(db_);
}

qint64 SqliteCursor::insertedRowId() const
{
    return sqlite3_last_insert_rowid(db_);
}
