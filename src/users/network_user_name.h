#pragma once

#include <QString>

// The login of the operating system's user, as the network login mode looks it up: the name up
// to its first NUL, at most 10 characters. A letter made of several code units (a letter outside
// the basic plane, a letter with a combining accent) is kept whole or left out whole, never cut.
QString NetworkUserName(const QString &systemUserName);
