#pragma once

#include "store/sql_cursor.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>

class TableBackend;

// A prepared statement borrowed from a connection's cache. Values are always bound, never
// written into SQL text. The statement is reset and handed back when this object goes away, so
// no read lock outlives the call that read.
class SqlStatement {
public:
    SqlStatement(TableBackend &backend, SqlCursor *cursor, bool cached);
    SqlStatement(SqlStatement &&other) noexcept;
    SqlStatement(const SqlStatement &) = delete;
    SqlStatement &operator=(const SqlStatement &) = delete;
    SqlStatement &operator=(SqlStatement &&) = delete;
    ~SqlStatement();

    // Binds from 1 on: null, integers, booleans (as 0/1), doubles, texts and byte arrays.
    void bind(int position, const QVariant &value);
    void bindAll(const QVariantList &values, int firstPosition = 1);
    // Binds a column of the other statement's current row as it is stored, texts borrowed: the
    // other statement must stay on that row until this one has run.
    void bindColumnOf(int position, const SqlStatement &source, int column);
    void bindNull(int position) { cursor_->bindNull(position); }
    void bindInteger(int position, qint64 value) { cursor_->bindInteger(position, value); }
    // For binding many rows without copying: the text must outlive the statement's run.
    void bindBorrowedText(int position, const char *utf8, qsizetype size)
    {
        cursor_->bindBorrowedText(position, utf8, size);
    }

    // True while a row is available; throws EngineError on failure.
    bool step() { return cursor_->step(); }
    // Runs to completion (for statements that return no rows).
    void run();
    // Ready to bind and run again.
    void reset() { cursor_->reset(); }

    int columnCount() const { return cursor_->columnCount(); }
    bool isNull(int column) const { return cursor_->kind(column) == StoredKind::Null; }
    StoredKind type(int column) const { return cursor_->kind(column); }
    qint64 integer(int column) const { return cursor_->integer(column); }
    double floating(int column) const { return cursor_->floating(column); }
    QString text(int column) const { return cursor_->text(column); }
    QByteArrayView utf8(int column) const { return cursor_->utf8(column); }
    // The stored value as it is: invalid for null, qint64, double, QString or QByteArray.
    QVariant value(int column) const { return cursor_->value(column); }

    // Rows the last run changed, and the id of the row it inserted.
    qint64 changes() const { return cursor_->changes(); }
    qint64 insertedRowId() const { return cursor_->insertedRowId(); }

private:
    TableBackend *backend_;
    SqlCursor *cursor_;
    bool cached_;
};
