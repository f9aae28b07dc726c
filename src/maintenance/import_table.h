#pragma once

#include "maintenance/exchange_field_map.h"

#include <QString>
#include <QVariantList>
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
// The file is read in a stream, and rows are found through the table's indexes: memory does not
// grow with the file or the table.
//
// All or nothing: the lines go in one transaction, and a value a field cannot take, a row the
// table refuses or a file that cannot be read throws ExchangeError naming the line, the column
// and the value, with nothing written and the file left under its name. When every line is in,
// the file is renamed to its marker name (an older file of that name goes).
//
// The rows go straight into the table's file: keys are found among all its rows whatever the
// view shows, and the table object's events and field handlers do not run (the tables imported
// have none; the ledger's rules are checked over the imported rows afterwards). The view keeps
// its order, range and filter and is read again at the end. afterRow gets each row as stored:
// the values the line set, the key and a new row's automatic number (the other fields of a
// changed row are left empty).
ImportResult ImportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress,
                         const std::function<void(const QVariantList &row)> &afterRow = {});
