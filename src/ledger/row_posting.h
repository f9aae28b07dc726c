#pragma once

class Prompt;
class Table;

// Puts the table's current row into edit unless it is already being edited or inserted.
void EditRow(Table &table);

// Posts a pending edit or insert; every post is on disk when it returns. A rule that refused the
// post has said why: its Abort goes on and the row stays in edit. A failure of the table engine
// cancels the change, says "Błąd zapisu" and stops the running command with Abort, so nothing is
// built on a row that was never stored.
void PostRow(Table &table, Prompt &prompt);
