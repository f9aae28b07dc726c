#pragma once

#include "store/sql_statement.h"
#include "store/table_storage.h"
#include "store/transaction_scope.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Table;
class TableConnection;

// Many rows written into a table's file at once (an import of thousands of lines): prepared
// statements bound with the stored values, in one transaction of its own (a part of the running
// scope, if any), without the table object's view, edit buffer, events or field handlers and
// without reading each row back. Nothing reaches the disk before commit(); a writer that goes
// away without it takes every row back.
//
// Rows are lists of stored values (store/field_value.h), one per stored field in the table's
// order; an invalid value is an empty field. A text longer than its field is refused (never
// cut), as is an empty required field; a row that would repeat a unique key fails as KeyViolation.
// Every failure is an EngineError; the rows written before it stay in the transaction until
// the writer commits or goes.
//
// The table object stays where it was; other table objects on the file read the rows again at
// their next move. Windows that show the table learn of the rows when it is refreshed.
class BulkWriter {
public:
    // The table must be open and not editing a row. Takes its file's write lock at once (Locked
    // when another program holds it too long).
    explicit BulkWriter(Table &table);
    ~BulkWriter();
    BulkWriter(const BulkWriter &) = delete;
    BulkWriter &operator=(const BulkWriter &) = delete;

    const TableDefinition &definition() const { return structure_.definition; }
    // Positions of the primary key's fields, in the key's order (empty without a primary index).
    const QList<int> &primaryKeyFields() const { return keyFields_; }

    // The row whose primary key is the key (stored values, in the key's order), as the primary
    // index compares them; 0 when there is none, or when the table has no primary index.
    qint64 findPrimaryKey(const QVariantList &key);
    // Adds the row and gives its id. An empty automatic number takes the next one after the
    // highest the file holds; the number taken is put into the row.
    qint64 insert(QVariantList &row);
    // Every row's values of the fields (positions in the definition), joined by a tab, with its
    // row id: for finding rows by other fields than the key, read once.
    QHash<QString, qint64> rowsByFields(const QList<int> &fields);
    // Sets the fields at the given positions of the row with this id to the row's values there.
    void update(qint64 rowId, const QVariantList &row, const QList<int> &fields);

    // Everything written goes to the disk (or into the running scope's transaction); the writer
    // writes nothing more.
    void commit();

private:
    void requireOpenWrite() const;
    void bind(SqlStatement &statement, int position, int field, const QVariant &value);
    void checkValue(int field, const QVariant &value) const;
    QString keyText(const QVariantList &key) const;
    size_t keyHash(const QVariantList &key) const;
    void loadKeys();
    std::optional<QVariantList> storedKeyOf(qint64 rowId);

    Table &table_;
    std::shared_ptr<TableConnection> connection_;
    TableStructure structure_;
    TransactionScope scope_;
    bool committed_ = false;
    QList<int> keyFields_;
    QList<KeyColumn> keyColumns_;
    QByteArray keyColumnList_; // the key's fields for a select list
    // Primary keys compared exactly (no column ignores case): the hash of every key of the file
    // with its row, read at the first search and kept up to date by the writes.
    bool keysExact_ = false;
    bool keysLoaded_ = false;
    std::unordered_multimap<size_t, qint64> keys_;
    QList<int> autoFields_;
    QList<std::optional<qint64>> highest_; // per automatic field, read at the first insert
    std::optional<SqlStatement> insert_;
    std::vector<std::string> texts_; // per field: the UTF-8 text bound last
    QList<int> updateFields_;
    QByteArray updateSql_;
};
