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
#include <utility>
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
    // A row whose fields at the positions hold exactly the row's values there (texts byte for
    // byte, numbers by their value, an empty field only an empty one), looked up through the
    // table's index that leads with most of those fields; 0 when there is none. Reads the file
    // as written so far, so memory does not grow with the table.
    qint64 findExact(const QList<int> &fields, const QVariantList &row);
    // Adds the row and gives its id. An empty automatic number takes the next one after the
    // highest the file holds; the number taken is put into the row.
    qint64 insert(QVariantList &row);
    // Sets the fields at the given positions of the row with this id to the row's values there.
    void update(qint64 rowId, const QVariantList &row, const QList<int> &fields);

    // Everything written goes to the disk (or into the running scope's transaction); the writer
    // writes nothing more.
    void commit();

private:
    void requireOpenWrite() const;
    void bind(SqlStatement &statement, int position, int field, const QVariant &value);
    void checkValue(int field, const QVariant &value) const;
    QByteArray exactLookupSql(const QList<int> &fields, const QList<bool> &emptyFields, QList<int> &boundFields) const;

    Table &table_;
    std::shared_ptr<TableConnection> connection_;
    TableStructure structure_;
    TransactionScope scope_;
    bool committed_ = false;
    QList<int> keyFields_;
    QList<KeyColumn> keyColumns_;
    // Primary keys compared exactly (no column ignores case) are looked up as findExact() does.
    bool keysExact_ = false;
    // The searches by the values of some fields, one per list of fields.
    class ValueFilter;
    // One statement per set of empty fields (one flag per field of the lookup).
    struct Search {
        QList<bool> emptyFields;
        QList<int> boundFields;
        SqlStatement statement;
    };
    struct Lookup {
        QList<int> fields;
        std::unique_ptr<ValueFilter> filter;
        std::vector<Search> searches;
    };
    std::vector<Lookup> lookups_;
    void fillFilter(Lookup &lookup, std::optional<qint64> rowId);
    QList<int> autoFields_;
    QList<std::optional<qint64>> highest_; // per automatic field, read at the first insert
    std::optional<SqlStatement> insert_;
    std::vector<std::string> texts_; // per field: the UTF-8 text bound last
    QList<int> updateFields_;
    QByteArray updateSql_;
};
