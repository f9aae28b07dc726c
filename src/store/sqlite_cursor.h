#pragma once

#include "store/sql_cursor.h"

struct sqlite3;
struct sqlite3_stmt;
class SqliteTableBackend;

// A prepared statement of a table file.
class SqliteCursor final : public SqlCursor {
public:
    SqliteCursor(const SqliteTableBackend &backend, sqlite3 *db, sqlite3_stmt *statement)
        : backend_(backend), db_(db), statement_(statement)
    {
    }
    ~SqliteCursor() override;

    void bindNull(int position) override;
    void bindInteger(int position, qint64 value) override;
    void bindFloat(int position, double value) override;
    void bindText(int position, const QByteArray &utf8) override;
    void bindBytes(int position, const QByteArray &bytes) override;
    void bindBorrowedText(int position, const char *utf8, qsizetype size) override;

    bool step() override;
    void reset() override;

    int columnCount() const override;
    StoredKind kind(int column) const override;
    qint64 integer(int column) const override;
    double floating(int column) const override;
    QString text(int column) const override;
    QByteArrayView utf8(int column) const override;
    QVariant value(int column) const override;

    qint64 changes() const override;
    qint64 insertedRowId() const override;

private:
    void check(int resultCode) const;

    const SqliteTableBackend &backend_;
    sqlite3 *db_;
    sqlite3_stmt *statement_;
};
