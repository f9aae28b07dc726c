#pragma once

#include "store/sql_statement.h"
#include "store/table_definition.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantList>
#include <functional>

// Which lock a program holds to tell the others that it has a table open.
enum class OpenLock { None, Shared, Exclusive };

// The one place that speaks SQL to a store: a table file of its own, or a table on a database
// server. Everything the engine says in SQL goes through here, and everything that differs
// between the stores (how a write is locked, where the table's structure lies, how an index is
// named, which statement makes a table) is answered here.
class TableBackend {
public:
    virtual ~TableBackend() = default;

    // The table as the messages name it.
    virtual QString shownName() const = 0;

    // Moves this program's open-lock from one kind to another (None releases it). False when
    // another program holds the table against the wanted kind; the lock held before stays.
    virtual bool moveOpenLock(OpenLock from, OpenLock to) = 0;
    // Connects, once the open-lock is held. Throws EngineError.
    virtual void open() = 0;
    // Opened read-only: nothing at all is written through this connection.
    virtual bool isReadOnly() const = 0;
    // How long a write waits for another program's lock before it fails as Locked.
    virtual void setLockTimeout(int milliseconds) = 0;

    virtual SqlStatement prepare(const QByteArray &sql) = 0;
    // A statement without marks that reads many rows once through (a whole table moved or
    // compared): where rows travel from a server they come in batches, so a long table never
    // lies whole in memory, and the next batch travels while the caller works on the last.
    virtual SqlStatement prepareOnePass(const QByteArray &sql) { return prepare(sql); }
    virtual void releaseCursor(SqlCursor *cursor, bool cached) = 0;
    virtual void execute(const QByteArray &sql) = 0;

    // A write transaction with this table's write lock: the rows read from now on are the stored
    // ones and no other program changes them before it ends.
    virtual void beginWrite() = 0;
    virtual void commitWrite() = 0;
    virtual void rollbackWrite() noexcept = 0;
    // A write that joins a transaction already open: when it fails, the transaction goes on
    // without it.
    virtual void beginJoinedWrite() {}
    virtual void endJoinedWrite(bool written) noexcept { (void)written; }

    // The table's SQL names: its rows, its field and index definitions, and an index of its own
    // (qualified, for dropping it; unqualified, for creating it).
    virtual QByteArray dataTable() const = 0;
    virtual QByteArray fieldsTable() const = 0;
    virtual QByteArray indexesTable() const = 0;
    virtual QByteArray indexName(const QByteArray &name, bool qualified) const = 0;

    // Empty fields come first in every order: the words after an ORDER BY column that say so,
    // going forward or backward, and after an index column, so the index serves that order.
    virtual QByteArray orderDirection(bool forward) const = 0;
    virtual QByteArray indexColumnOrder() const = 0;
    // What ends a query for the first of the rows it finds in the order they were entered.
    virtual QByteArray firstInEntryOrder() const = 0;

    // After rows were written in bulk: the store learns what the table now holds, so that its
    // reads choose their indexes from the new figures. Nothing for a store that needs nothing.
    virtual void refreshPlannerStatistics() {}

    // Makes the table's three SQL tables, empty, inside the running write.
    virtual void createTables(const QList<FieldDef> &fields) = 0;
    // True when the table's three SQL tables are there.
    virtual bool hasStructureTables() = 0;
    // The SQL indexes the table holds, by the names indexName() was given.
    virtual QSet<QByteArray> indexNames() = 0;
    // The columns of the rows' table: name and SQL type, in their order.
    struct Column {
        QString name;
        QString sqlType;
    };
    virtual QList<Column> dataColumns() = 0;

    // Adds rows that keep the row ids they had elsewhere (a whole table moved from another store),
    // inside the running write. Each row rows steps to holds its row id, then one stored value per
    // column, in the order of columns (which are quoted names); the values pass as they are
    // stored. Rows added later get ids after the highest one.
    virtual void appendRowsWithIds(const QByteArrayList &columns, SqlStatement &rows) = 0;
};
