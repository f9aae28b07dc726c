#pragma once

#include <QString>

class Session;

// The server benchmarks run on a throwaway PostgreSQL cluster of their own (made in a temporary
// folder, listening on a Unix socket there, removed when the benchmarks end), as the tests do,
// but flushing its writes to disk as an office's server does.

// The data root of the benchmarks' database ("pg:.../"); starts the cluster at the first call.
QString BenchServerRoot();

// One more database on the benchmarks' cluster, which no other benchmark empties: its data root.
QString BenchServerDatabase(const QString &name);

// Empties the benchmarks' database.
void EmptyBenchServer();

// Makes the table serverPath with the fields and indexes of the table file and copies its rows in,
// through the engine, in one transaction.
void CopyTableToServer(Session &session, const QString &file, const QString &serverPath);

// The server's address for psql: its connection options, e.g. {"service=kasa_test"}.
QString BenchServerConnection();
