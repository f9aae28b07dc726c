#pragma once

#include "store/table_definition.h"

#include <QString>
#include <functional>

class Table;

// Structure work (rebuilding a table, converting the old version) needs the table to itself for
// its whole run: another program writing meanwhile would lose its rows, and two programs
// starting at once must not both do the work.
enum class StructureWorkAccess {
    Taken,       // the table is open exclusively and the work is still needed
    NotNeeded,   // another program did the work meanwhile; the table is open as before
    HeldElsewhere, // another program keeps the table open; the table is open as before
};

// Reopens the (open) table exclusively, trying again for a while (StructureWorkWait) while
// another program holds it. The predicate reads the stored structure, so work that another
// program has finished meanwhile is not done twice.
StructureWorkAccess TakeTableForStructureWork(Table &table, const std::function<bool(const TableDefinition &)> &needed);

// How long structure work waits for a table another program holds: long enough for a second
// workstation that started at the same moment to finish its own upgrade. Settable for tests.
int StructureWorkWait();
void SetStructureWorkWait(int milliseconds);

class Prompt;

// The usual way to begin structure work on an open table: true when the table is now held
// exclusively and the work is still needed. Otherwise the table is open as before, and when
// another program keeps it the user is told (a warning) that the work has to wait.
bool BeginStructureWork(Table &table, const std::function<bool(const TableDefinition &)> &needed, Prompt &prompt);

// Opens the table shared, trying again for a while (StructureWorkWait) while another program
// holds it exclusively for a moment (its own check whether structure work is needed).
void OpenSharedWaiting(Table &table);

// "The table ... is open in another program" with what the user can do about it.
QString TableHeldElsewhereMessage(const QString &filePath);
