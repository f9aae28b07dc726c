#pragma once

#include <QString>

struct sqlite3;

// The engine's reason for a failure in the user's language: the common failures (a full disk, a
// read-only file, a damaged file, a held lock, a failed read or write) in Polish; any other with
// the engine's own words.
QString EngineFailureText(int resultCode, const QString &engineMessage);

// The same for the last failure on the connection.
QString EngineFailureText(sqlite3 *db);
