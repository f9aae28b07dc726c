#pragma once

#include <QString>
#include <QStringList>

// Document tables shaped like NAGKASA for the engine benchmarks, built once into a folder under
// the system's temporary folder and reused by later runs.
struct BenchDocuments {
    int rows = 0;
    int desks = 0;
    int reportsPerDesk = 0;
    QString path; // the table file, which the sqlite3 tool reads as well
};

// Desk symbols are "K01", "K02", ...; every report holds about 200 rows (headers of every kind
// and their lines); numbers run per desk and kind.
BenchDocuments PrepareBenchDocuments(int rows);

QString BenchDeskSymbol(int desk);

// A year folder of the program's tables, empty but for the document table, which is a copy of
// the one at documentsPath.
void CreateBenchYear(const QString &yearFolder, const QString &documentsPath);

// The CPU time of the child programs that have ended, in seconds.
double ChildrenCpuSeconds();

// The sqlite3 tool's arguments for a table file of the program: the program's collations and
// functions loaded first, so the tool reads the same file through the same indexes.
QStringList SqliteToolArguments(const QString &tableFile);

// The program's primary order of the document table, for the tool's ORDER BY.
inline constexpr const char *kDocumentKeyOrder =
    "SYMBOL COLLATE POLISH, NUMER, AUTO, RD COLLATE POLISH, ROK COLLATE POLISH, NRD, rowid";
