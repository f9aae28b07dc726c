#pragma once

#include <QStringList>

class Table;
struct TableObjectEntry;

// The fields a table object of the data module works with: its key, the key of the index it
// orders by and its link to the master. A table file without one of them is not the table the
// object expects (an older structure, a file of another program), so opening it fails.
QStringList FieldsTheObjectNeeds(const TableObjectEntry &entry);

// Opens the table (exclusively when asked). When the table object is one of the data module's,
// the file must have the fields the object works with; otherwise the table is closed again and
// EngineError (Damaged) says which field is missing.
void OpenTableObject(Table &table, bool exclusive = false);
