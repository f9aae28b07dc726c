#pragma once

#include <QStringView>

struct sqlite3;

// Polish text order for indexes and comparisons: ą after a, ł after l, ż after ź. Two collations
// are registered on every connection: case-sensitive (equal texts only when identical) and
// case-insensitive (upper and lower case compare equal).
inline constexpr const char *kPolishCollation = "POLISH";
inline constexpr const char *kPolishCaseInsensitiveCollation = "POLISH_CI";

// SQL function starts_with_ci(text, prefix): 1 when the text begins with the prefix, letters
// compared without regard to case.
inline constexpr const char *kStartsWithIgnoringCaseFunction = "starts_with_ci";

// <0, 0, >0 as a sorts before, equal to or after b.
int ComparePolish(QStringView a, QStringView b, bool caseInsensitive);

// Registers both collations and the prefix function; an SQLite result code.
int RegisterPolishTextFunctions(sqlite3 *db);
