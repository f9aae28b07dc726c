#pragma once

#include <QString>

class Table;

// The users table of the whole suite, BAZA\USER.DB in the working folder: one row per user,
// keyed by LOGIN, with the password as typed and one level field per program.
namespace UsersField {
inline const QString Login = QStringLiteral("LOGIN");
inline const QString Password = QStringLiteral("HASLO");
inline const QString Name = QStringLiteral("NAZWISKO");
inline const QString GeneralLevel = QStringLiteral("P0");
inline const QString ProgramLevel = QStringLiteral("P9");
inline const QString Location = QStringLiteral("LOKALIZACJA");
inline const QString Department = QStringLiteral("DZIAL");
inline const QString Phone = QStringLiteral("TEL");
} // namespace UsersField

// Opens the table object on the users table in its key order; false (the object closed) when
// the file does not open or holds no logins and passwords.
bool OpenUsersTable(Table &users);

// The room a text field gives (characters); 0 when the field has no limit or is not there.
int TextFieldSize(const Table &table, const QString &field);
