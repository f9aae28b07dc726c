#pragma once

class Prompt;
class Table;

// EnsureEditing, under the ledger's name.
void EditRow(Table &table);

// PostAndFlush for the ledger's commands: a pending edit or insert is posted and on disk when it
// returns. A rule that refused the post has said why: its Abort goes on and the row stays in
// edit. A failure of the table engine cancels the change, says "Błąd zapisu" and then stops the
// running command with Abort, so nothing is built on a row that was never stored.
void PostRow(Table &table, Prompt &prompt);
