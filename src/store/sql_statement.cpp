#include "store/sql_statement.h"

#include "store/table_backend.h"

SqlStatement::SqlStatement(TableBackend &backend, SqlCursor *cursor, bool cached)
    : backend_(&backend), cursor_(cursor), cached_(cached)
{
}

SqlStatement::SqlStatement(SqlStatement &&other) noexcept
    : backend_(other.backend_), cursor_(other.cursor_), cached_(other.cached_)
{
    other.cursor_ = nullptr;
}

SqlStatement::~SqlStatement()
{
    if (cursor_)
        backend_->releaseCursor(cursor_, cached_);
}

void SqlStatement::bind(int position, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        cursor_->bindNull(position);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        cursor_->bindInteger(position, value.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        cursor_->bindInteger(position, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        cursor_->bindFloat(position, value.toDouble());
        break;
    case QMetaType::QByteArray:
        cursor_->bindBytes(position, value.toByteArray());
        break;
    default:
        cursor_->bindText(position, value.toString().toUtf8());
        break;
    }
}

void SqlStatement::bindAll(const QVariantList &values, int firstPosition)
{
    for (int i = 0; i < values.size(); ++i)
        bind(firstPosition + i, values[i]);
}

void SqlStatement::bindColumnOf(int position, const SqlStatement &source, int column)
{
    switch (source.type(column)) {
    case StoredKind::Null:
        cursor_->bindNull(position);
        break;
    case StoredKind::Integer:
        cursor_->bindInteger(position, source.integer(column));
        break;
    case StoredKind::Float:
        cursor_->bindFloat(position, source.floating(column));
        break;
    case StoredKind::Text: {
        const QByteArrayView text = source.utf8(column);
        cursor_->bindBorrowedText(position, text.data(), text.size());
        break;
    }
    case StoredKind::Bytes:
        cursor_->bindBytes(position, source.value(column).toByteArray());
        break;
    }
}

void SqlStatement::run()
{
    while (step()) {
    }
}
