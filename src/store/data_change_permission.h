#pragma once

#include <QString>

class Prompt;
class Table;
struct GlobalState;

// From this AccessLevel on the user may change data; below it he may look, list and print only.
inline constexpr int kDataChangeLevel = 100;

// "Brak uprawnień do zmiany danych."
extern const char *const kNoDataChangePermissionMessage;

bool MayChangeData(const GlobalState &state);

// True when the logged-in user may change data; otherwise says why and returns false.
bool CheckDataChangePermission(const GlobalState &state, Prompt &prompt);

// The same for the rules that refuse by abandoning the operation: says why and throws Abort.
void RequireDataChangePermission(const GlobalState &state, Prompt &prompt);

// Every new row, edit and delete of the table first asks for the permission, so no window, rule
// or command can write to it below the level that may change data.
void GuardDataChanges(Table &table, const GlobalState &state, Prompt &prompt);
