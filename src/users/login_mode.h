#pragma once

#include <QString>

class Prompt;
class Table;

// How users identify themselves: the parameter table's field L4. It takes effect at the next
// login (the next start, or the next time the tables are opened again).
enum class LoginMode : int {
    None = 0,     // "brak": nobody logs in, everybody works with level 255
    Network = 1,  // "na podstawie sieci": the operating system's user name is the login
    Password = 2, // "na podstawie logowania": the login dialog with name and password
};

// The mode L4 holds: 0 or less (and a table without L4) is no identification, anything else as
// stored (a value above 2 asks for a login that no dialog gives, so nobody gets in).
int StoredLoginMode(const Table &parameters);

// Writes the mode into L4 of the parameter row and puts it on disk; false when the post failed
// (the failure has been said).
bool StoreLoginMode(Table &parameters, int mode, Prompt &prompt);

// The choices of the users window, in the order of the modes.
QString LoginModeCaption(LoginMode mode);
