#pragma once

#include <QString>
#include <optional>

// A database server of the tests' own: a cluster made in a temporary folder, listening only on
// a Unix socket there, stopped and removed when the test program ends (a watcher removes it
// also when the program is killed). Run as an unprivileged user when the tests run as root.
//
// Started when KASA_TEST_BACKEND=server; its address goes to the programs the tests start in
// KASA_TEST_SERVER_ROOT, so they use the same server.

// True when the tests run on the server.
bool TestsRunOnServer();

// Starts the server (once per program; a child program uses its parent's). Aborts the test
// program with a message when the server cannot start: a missing server fails the run.
void StartTestServerWhenAsked();

// The data root of the tests' database ("pg:..." with a trailing "/").
QString TestServerDataRoot();

// The same database as the service "kasatest" of a pg_service.conf the tests' programs find
// (PGSERVICEFILE): "pg:kasatest/", short enough for the company table's data-root field.
QString TestServerServiceRoot();

// Makes one more database on the tests' server, reached as the service of the same name, and
// gives its data root ("pg:NAME/"). For benchmarks that need a database nobody else empties.
QString AddTestServerDatabase(const QString &name);

// Drops every table of the tests' database, so a test starts from an empty one.
void EmptyTestServerDatabase();

// Waits (up to the time given) until no other session on the tests' database is in the middle
// of work: a killed program's server process goes on with its statement until it finds the
// program gone, and holds its locks until then. True when none is left.
bool WaitForKilledProgramsSessions(int milliseconds);
