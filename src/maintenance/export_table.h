#pragma once

#include "maintenance/exchange_field_map.h"

#include <QString>

class Progress;

struct ExportResult {
    int rows = 0; // lines written under the header
};

// Writes the table's rows, in the table's current order (its range and filter applied), to the
// file: a header line with the map's file columns, then one line per row with the values of the
// same fields, every value followed by a tab, CR LF at each line's end, in Windows-1250. Rows
// whose column is blank are left out. The file appears complete or not at all: a row holding a
// character Windows-1250 cannot write, or a failed write, leaves whatever file was there before
// and throws ExchangeError naming the row, the column and the character.
ExportResult ExportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress);
