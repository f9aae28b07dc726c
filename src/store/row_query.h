#pragma once

#include "store/row.h"
#include "store/table_storage.h"

#include <QByteArray>
#include <QList>
#include <QVariantList>
#include <functional>
#include <optional>

class TableConnection;

enum class FetchDirection { Forward, Backward };

// A piece of WHERE clause with its bound values.
struct SqlCondition {
    QByteArray sql;
    QVariantList parameters;
};

// A position in an order: the stored values of its first columns, and the row id when the
// position is a whole row. Rows equal to it count as past it when it is inclusive.
struct KeyBoundary {
    QVariantList values;
    std::optional<qint64> rowId;
    bool inclusive = false;
};

// An order column the view holds to one value (a master link, a range with equal ends, a
// filter of equality).
struct HeldColumn {
    KeyColumn column;
    QVariant value;
};

// The stored values of the row a read stands on, handed on without building the row: valid only
// during the call it is handed to. A long listing reads a year this way at about the speed of
// SQLite's own stepping.
class StoredValues {
public:
    virtual ~StoredValues() = default;
    virtual qint64 rowId() const = 0;
    // The stored value as a row's values hold it (invalid for an empty field).
    virtual QVariant value(int field) const = 0;
    // The value when it is stored as text, resp. as an integer; nullopt when it is empty or
    // stored otherwise.
    virtual std::optional<QString> storedText(int field) const = 0;
    virtual std::optional<qint64> storedInteger(int field) const = 0;
};

// A row already read, seen through the same questions.
class RowStoredValues final : public StoredValues {
public:
    explicit RowStoredValues(const Row &row) : row_(row) {}
    qint64 rowId() const override { return row_.rowId; }
    QVariant value(int field) const override { return row_.values.value(field); }
    std::optional<QString> storedText(int field) const override;
    std::optional<qint64> storedInteger(int field) const override;

private:
    const Row &row_;
};

// Reads the rows of a table file that satisfy some conditions, in the order of some key columns
// (ties broken by row id), a page at a time. A page that starts in the middle of the order is
// read with a few index seeks (equal on the leading columns, past the boundary on the next),
// never with a scan from the start, so its cost does not grow with the size of the table.
// Empty fields sort first, as in the indexes.
class RowQuery {
public:
    RowQuery(TableConnection &connection, const TableStructure &structure, QList<KeyColumn> order,
             QList<SqlCondition> conditions, QList<HeldColumn> held = {});

    QList<Row> fetch(FetchDirection direction, const std::optional<KeyBoundary> &boundary, int limit) const;
    // The same rows going forward, each handed to visit as it is stepped to, without building
    // it; returns the id of the last one (0 for none) and sets visited.
    qint64 visit(const std::optional<KeyBoundary> &boundary, int limit,
                 const std::function<void(const StoredValues &)> &visit, int *visited) const;
    // Rows whose first order columns equal the values, in order.
    QList<Row> fetchEqual(const QVariantList &values, int limit) const;
    // The row by its id, whatever the conditions; nullopt when it is gone.
    std::optional<Row> rowById(qint64 rowId) const;
    qint64 count() const;
    // Reads only these stored fields (by position) and the order's fields; the rows' other
    // values stay empty. Every field is read until this is called.
    void readOnly(const QList<int> &fields);

    KeyBoundary boundaryOf(const Row &row, bool inclusive) const;
    const QList<KeyColumn> &order() const { return order_; }

private:
    struct Segment {
        QByteArrayList terms;
        QVariantList parameters;
    };
    QList<Row> run(const Segment &segment, FetchDirection direction, int limit) const;
    // Prepares the segment's statement and calls each(statement) for every row it steps to.
    template <typename Each>
    void step(const Segment &segment, FetchDirection direction, int limit, Each each) const;
    QList<Segment> segmentsFrom(FetchDirection direction, const std::optional<KeyBoundary> &boundary) const;
    QList<Segment> levelSegments(FetchDirection direction, const KeyBoundary &boundary, int level) const;
    QByteArray columnExpression(int orderPosition) const; // the row id past the last column

    TableConnection &connection_;
    const TableStructure &structure_;
    QList<KeyColumn> order_;
    QList<SqlCondition> conditions_;
    QList<HeldColumn> held_;
    QByteArray selectList_;
    QList<int> readFields_; // the fields of the select list in its order; empty for every field
    Row readRow(const class SqlStatement &statement) const;
};

// The SQL expression of a key column: the quoted field with its collation.
QByteArray KeyColumnExpression(const TableDefinition &definition, const KeyColumn &column);
// Stored key values compared as the index compares them: empty first, numbers by value, texts
// by the collation. <0, 0, >0.
int CompareKeyValues(const QVariant &a, const QVariant &b, const QByteArray &collation);
// Reads the row the statement stands on: row id first, then every field.
Row ReadRow(const class SqlStatement &statement, int fieldCount);
