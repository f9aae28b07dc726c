#pragma once

#include <QString>

class Table;
struct GlobalState;
struct TableHelperContext;

// At most this many tables are recorded for index repair during one open sequence.
inline constexpr int kMaxOpenedTables = 50;

// Records a table path (without extension) in OpenedTableList, unless the list is full.
void RecordOpenedTable(GlobalState &state, const QString &pathWithoutExtension);

// Opens the table object on path + ".DB" and returns whether it is open.
//
// With a display name the table is recorded for index repair, a failed open is reported with the
// long message that points to index repair and the archive, and a structure listing is written
// beside the table when there is none. An empty display name opens silently.
//
// A read-only table file is offered to be made writable; when the user agrees, every file of the
// table loses the read-only attribute and the table is opened again. The company table ("FIRMA")
// is brought to the current structure right after it opens.
//
// Throws EngineError when the table opened but cannot be opened again after its attribute was
// changed: the caller ends what it was doing with the engine's message.
bool OpenTableGuarded(Table &table, const QString &pathWithoutExtension, const QString &displayName,
                      TableHelperContext &context);

// The long message of a table that could not be opened.
QString OpenFailureMessage(const QString &displayName, const QString &pathWithoutExtension);
// The question asked about a read-only table.
QString ReadOnlyQuestion(const QString &pathWithoutExtension);
