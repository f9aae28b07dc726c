#pragma once

#include "store/table_definition.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class TableConnection;

// How a table lies in its store: one SQL table of rows whose columns are the fields in their
// order, two small tables that keep what SQL types cannot say (type codes, sizes, required
// flags, index names and options), and one SQL index per index definition. Texts are stored as
// text, integers, booleans (0/1) and money (ten-thousandths) as integers, floats as floating
// point; an empty field is NULL. The back end names these tables (see TableBackend).

// The rows' table in a table file of its own.
inline constexpr const char *kDataTable = "data";
// The column that numbers the rows in the order they were entered, on every back end.
inline constexpr const char *kRowIdColumn = "_rowid_";

// A column of an index or of an order: a field and the collation its texts compare with
// (empty for binary comparison and for non-text fields).
struct KeyColumn {
    int field = -1;
    QByteArray collation;

    friend bool operator==(const KeyColumn &, const KeyColumn &) = default;
};

// The table's structure as stored, with the SQL name of each index (as TableBackend::indexName
// takes it).
struct TableStructure {
    TableDefinition definition;
    QList<QByteArray> indexSqlNames;          // parallel to definition.indexes
    QList<QList<KeyColumn>> indexColumns;      // parallel to definition.indexes

    int indexPosition(const QString &name) const; // -1 when absent; "" is the primary index
};

QByteArray QuotedName(const QString &name);
bool IsTextField(FieldType type);
// A query counting the keys of a unique index that more than one row holds, compared as the
// index compares them; 0 in a sound table.
QByteArray RepeatedKeysSql(const TableDefinition &definition, const IndexDef &index);

// The collation an index uses for a field ("" when the field is not text).
QByteArray IndexCollation(FieldType type, bool caseInsensitive);

// Throws EngineError (Other) when the definition cannot make a table: empty or repeated field
// names, an index over a missing field, two primary indexes, repeated index names.
void ValidateDefinition(const TableDefinition &definition);

// Creates the table file at the path, replacing an existing one that no program has open.
void CreateTableFile(const QString &filePath, const TableDefinition &definition);
// Reads the structure; throws EngineError (Damaged) when the file is not a table. Indexes the
// structure lists but the file lacks are built again (when the file can be written).
TableStructure ReadTableStructure(TableConnection &connection);

// Adds (or replaces, by name) an index; a primary index replaces the primary one.
void AddTableIndex(TableConnection &connection, const IndexDef &index);
// Makes every index of the definition, in its order, on a table that was created without them
// and has its rows already, inside the running write: one sort per index instead of keeping
// each index in order row by row.
void BuildTableIndexes(TableConnection &connection, const TableDefinition &definition);
// Drops an index by name ("" = the primary index); throws Missing when there is none.
void DropTableIndex(TableConnection &connection, const QString &name);
// The engine's helper indexes: indexes of its own beside the table's, never listed in its
// structure. Opening or reading a table never builds them (a table without them is read with a
// slower plan); the commands that write a table in bulk build them.
// One helper index over each auto-increment field (the next value is read through it).
QList<QList<KeyColumn>> AutoIncrementHelperColumns(const TableDefinition &definition);
// The helper indexes the table holds, by SQL name, sorted.
QList<QByteArray> HelperIndexNames(TableConnection &connection);
// Makes the file's helper indexes exactly the wanted ones: builds the missing ones (calling step
// after each) and drops those no longer wanted. A read-only file is left alone. Returns how many
// were built; throws EngineError when one cannot be.
int BuildHelperIndexes(TableConnection &connection, const TableStructure &structure,
                       const QList<QList<KeyColumn>> &wanted, const std::function<void()> &step = {});
