#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Progress;
class Session;
struct TableDefinition;

// The program's own choice of the engine's helper indexes, and the one way the commands that
// write tables in bulk build them. Opening a tree never builds them: a table without them is
// read with a slower plan.

// The helper indexes the program wants on a table of this structure beside the auto-increment
// fields' ones, as lists of field names (texts compared byte for byte, as the filters compare
// them). On the cash document table: the highest number of one desk and kind (SYMBOL, RD, NRD),
// read at every new document, and one report's documents by place (SYMBOL, NUMER, POZ), read
// for the cash state. Every other view of the table is served by its own indexes.
QList<QStringList> ProgramHelperIndexes(const TableDefinition &stored);

// Builds them on the table file at the path (with or without ".DB") and drops the helper indexes
// the program no longer wants. A missing or read-only table, or one another program holds, is
// left as it is; false then or when the build failed (the table works without them).
bool BuildProgramHelperIndexes(Session &session, const QString &tablePath);

// Every table of the year's folders the program knows (the working year's tables), one gauge
// step per table, under the title "Indeksy pomocnicze".
void BuildYearHelperIndexes(Session &session, const QString &dataRoot, const QString &year, Progress &progress);
void BuildHelperIndexesOf(Session &session, const QStringList &tablePaths, Progress &progress);
