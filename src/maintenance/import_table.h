#pragma once

#include "maintenance/exchange_field_map.h"

#include <QString>
#include <functional>

class Progress;

struct ImportResult {
    int rows = 0;     // lines imported
    int inserted = 0; // new rows
    int updated = 0;  // rows found by their key and changed
    QString markedPath;   // the file's new name ("z" before its name)
    bool markFailed = false; // the rows are in, but the file kept its name
};

// The marker name of an imported file: "z" before the file's name, in the same folder.
QString ImportedFileMarkerPath(const QString &path);

// Imports the file's lines into the table, after its header line: each line's key columns find
// the row by the primary key, which is changed when it exists and added when it does not; the
// other mapped columns set their fields. An automatic number is never written: a new row takes
// the table's next one. A line with fewer values than columns sets only the fields it holds.
//
// All or nothing: the lines go in one transaction, and a value a field cannot take, a row the
// table refuses or a file that cannot be read throws ExchangeError naming the line, the column
// and the value, with nothing written and the file left under its name. When every line is in,
// the file is renamed to its marker name (an older file of that name goes).
//
// The table is put in its primary order without a range for the import (the order it had comes
// back afterwards). afterRow runs after each row is stored, the table standing on it.
ImportResult ImportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress,
                         const std::function<void(Table &)> &afterRow = {});
