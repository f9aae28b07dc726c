#pragma once

#include "maintenance/exchange_text.h"

#include <QList>
#include <QString>
#include <QStringList>

class Table;

enum class ExchangeMode { Import = 0, Export = 1 };

// The table an import or export works on, and how its columns are called in a file.
struct ExchangeSource {
    Table &table;
    // Put before a field's name to give its column name ("TKontrah" + "NR"); empty: the field's name.
    QString columnPrefix;
    // Text fields that hold a date.
    QStringList dateFields;
    // The latest year of those dates (the earliest is 1990); 0 takes any real day.
    int latestDateYear = 0;
    // The fields that name a row when the file leaves its counted key (AUTO) empty: a row the
    // file names so is the table's row of the same values, and the file may name it only once.
    QStringList identityFields;

    QString columnName(const QString &fieldName) const { return columnPrefix + fieldName; }
    // The table's stored fields in order, as the exchange reads and writes them.
    QList<ExchangeField> fields() const;
    // The fields of the table's primary key, in the key's order.
    QStringList keyFields() const;
};

// One line of the field map.
struct FieldMapRow {
    QString shown;      // "Pole bazy": the column name of the table's field
    QString fileColumn; // "Pole pliku": the column in the file; blank leaves the field out
    QString fieldName;  // the field read or written; empty when the row has none
    bool key = false;   // "*": the row holds a field of the primary key

    bool used() const { return !fieldName.isEmpty() && !fileColumn.trimmed().isEmpty(); }
    friend bool operator==(const FieldMapRow &, const FieldMapRow &) = default;
};

inline const QString kKeyColumnText = QStringLiteral("klucz");

// Which field of the table goes to which column of the file.
class FieldMap {
public:
    // One row per field in table order. Export: every column under the field's column name.
    // Import: "klucz" against the key fields, nothing against the others, until a file is chosen.
    static FieldMap forShowing(const ExchangeSource &source, ExchangeMode mode);

    // Import: the file's column names go into rows 1..n in order, and every field takes the first
    // row of its own column name. A column whose name names no field keeps the field at its
    // position, so a file with renamed columns is read by position; a field read by name is never
    // read by position as well. A field that finds no column gets a row of its own with a blank
    // column and is left alone. Then the key rows are marked.
    void matchHeader(const ExchangeSource &source, const QStringList &columnNames);

    // Every key field stands in a row with a column of the file.
    bool keyComplete(const ExchangeSource &source) const;
    // The key fields without a column, by their column names.
    QStringList missingKeyColumns(const ExchangeSource &source) const;

    // Rows 1..n of the file's columns (the rest are the fields the file does not hold).
    int fileColumnCount() const { return fileColumns_; }

    QList<FieldMapRow> rows;

private:
    int fileColumns_ = 0;
};
