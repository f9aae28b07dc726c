#pragma once

#include "store/table_definition.h"

#include <QString>
#include <QStringList>

// A whole table moved between stores (a table file, a table on a server): its fields, indexes
// and every row with the row id it has, so the copy lists its rows in the same entry order.

// Makes the table at targetPath anew (an old one there is replaced) with the source's structure
// and rows, inside the running transaction of its server when there is one. Returns the
// structure copied. Throws EngineError.
TableDefinition TransferTable(const QString &sourcePath, const QString &targetPath);

// Compares two tables field by field and row by row, rows matched by their row ids. Empty when
// they are equal; otherwise a line for the structure and one for the first row that differs
// (the tables named as the messages name them). Throws EngineError.
QStringList TableDifferences(const QString &firstPath, const QString &secondPath);
