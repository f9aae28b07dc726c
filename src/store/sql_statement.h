#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;
class TableConnection;

// A prepared statement borrowed from a connection's cache. Values are always bound, never
// written into SQL text. The statement is reset and handed back when this object goes away, so
// no read lock outlives the call that read.
class SqlStatement {
public:
    SqlStatement(TableConnection &connection, sqlite3_stmt *statement, bool cached);
    SqlStatement(SqlStatement &&other) noexcept;
    SqlStatement(const SqlStatement &) = delete;
    SqlStatement &operator=(const SqlStatement &) = delete;
    SqlStatement &operator=(SqlStatement &&) = delete;
    ~SqlStatement();

    // Binds from 1 on: null, integers, booleans (as 0/1), doubles, texts and byte arrays.
    void bind(int position, const QVariant &value);
    void bindAll(const QVariantList &values, int firstPosition = 1);

    // True while a row is available; throws EngineError on failure.
    bool step();
    // Runs to completion (for statements that return no rows).
    void run();
    // Ready to bind and run again.
    void reset();

    int columnCount() const;
    bool isNull(int column) const;
    // SQLite's storage class of the value (SQLITE_NULL, SQLITE_INTEGER, SQLITE_TEXT, ...).
    int type(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;
    // The stored value as it is: invalid for null, qint64, double, QString or QByteArray.
    QVariant value(int column) const;

    // For binding many rows without the conversions of bind().
    sqlite3_stmt *handle() const { return statement_; }

private:
    TableConnection *connection_;
    sqlite3_stmt *statement_;
    bool cached_;
};
