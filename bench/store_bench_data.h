#pragma once

#include <QString>

// Document tables shaped like NAGKASA for the engine benchmarks, built once into a folder under
// the system's temporary folder and reused by later runs.
struct BenchDocuments {
    int rows = 0;
    int desks = 0;
    int reportsPerDesk = 0;
    QString path;      // the table file
    QString cliCopy;   // the same rows for the sqlite3 tool: binary index over SYMBOL, NUMER, POZ
};

// Desk symbols are "K01", "K02", ...; every report holds about 200 rows (headers of every kind
// and their lines); numbers run per desk and kind.
BenchDocuments PrepareBenchDocuments(int rows);

QString BenchDeskSymbol(int desk);
