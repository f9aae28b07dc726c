#pragma once

#include <QString>

class Table;

// The columns every document listing begins with, written over a blank line of the listing:
// the desk (column 2, 8 characters), the report number (12), the date (19) and the first 15
// characters of the printed document number (30), from the current row of the documents view.
QString WithDocumentColumns(const QString &blankLine, const Table &documents);
