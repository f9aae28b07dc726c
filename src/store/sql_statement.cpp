#include "store/sql_statement.h"

#include "store/table_connection.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(TableConnection &connection, sqlite3_stmt *statement, bool cached)
    : connection_(&connection), statement_(statement), cached_(cached)
{
}

SqlStatement::SqlStatement(SqlStatement &&other) noexcept
    : connection_(other.connection_), statement_(other.statement_), cached_(other.cached_)
{
    other.statement_ = nullptr;
}

SqlStatement::~SqlStatement()
{
    if (statement_)
        connection_->releaseStatement(statement_, cached_);
}

void SqlStatement::bind(int position, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(statement_, position);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(statement_, position, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(statement_, position, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(statement_, position, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(statement_, position, bytes.constData(), sqlite3_uint64(bytes.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text64(statement_, position, text.constData(), sqlite3_uint64(text.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        connection_->throwError(rc);
}

void SqlStatement::bindAll(const QVariantList &values, int firstPosition)
{
    for (int i = 0; i < values.size(); ++i)
        bind(firstPosition + i, values[i]);
}

bool SqlStatement::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    connection_->throwError(rc);
}

void SqlStatement::run()
{
    while (step()) {
    }
}

void SqlStatement::reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

int SqlStatement::columnCount() const
{
    return sqlite3_column_count(statement_);
}

bool SqlStatement::isNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

qint64 SqlStatement::integer(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

QString SqlStatement::text(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement_, column));
    const int bytes = sqlite3_column_bytes(statement_, column);
    return text ? QString::fromUtf8(text, bytes) : QString();
}

int SqlStatement::type(int column) const
{
    return sqlite3_column_type(statement_, column);
}

QVariant SqlStatement::value(int column) const
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
