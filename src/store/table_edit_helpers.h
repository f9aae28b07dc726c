#pragma once

class Prompt;
class Table;

// Puts the table into edit state unless it is already editing or inserting.
void EnsureEditing(Table &table);

// Posts the row of an open table that is editing or inserting, so the change is on disk at once.
// When the engine refuses the post, the change is cancelled, "Błąd zapisu" is shown and the
// result is false. A rule that refuses the post (Abort) has said why: Abort goes on to the
// caller and the row stays as the rule left it.
bool PostAndFlush(Table &table, Prompt &prompt);
