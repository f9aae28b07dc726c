#pragma once

#include "base/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

// A listing's table read back from its printed lines, for a spreadsheet: the columns of its
// heading line ("| Kasa   |Nr rap.| ..."), and each row of the table as cells of a kind a
// spreadsheet can count with. Title lines, rulers and the closing line are not part of it.
struct SheetCell {
    enum class Kind { Empty, Text, Integer, Amount, Date };
    Kind kind = Kind::Empty;
    QString text;       // Text: as printed, trimmed
    qint64 integer = 0; // Integer
    Money amount;       // Amount
    QString currency;   // Amount: the code printed after it ("EUR"), if any
    QDate date;         // Date
};

struct SheetColumn {
    QString heading;
    int width = 0; // in characters, as printed
};

struct SheetRow {
    QList<SheetCell> cells;
    bool total = false; // a "RAZEM" line
};

// Reads the cells of a printed table cell: an amount ("1 064.36", "9 254 , 80 PLN",
// "-12,50"), a day ("2026.01.08"), a whole number, or text.
SheetCell ReadSheetCell(QStringView printed);

// Goes over the listing's lines once, in order: the first table line is the heading, the table
// lines after it are its rows. Lines are handed in one at a time, so a long listing is never
// held whole; the row handed to the visit is the reader's own, valid until the next line.
class ListingSheetReader {
public:
    // Takes one printed line; a row of the table goes to the visit.
    void read(const QString &line, const std::function<void(const SheetRow &)> &visit);

    bool hasHeading() const { return !columns_.isEmpty(); }
    const QList<SheetColumn> &columns() const { return columns_; }

private:
    QList<SheetColumn> columns_;
    QList<int> bars_; // where the heading's bars stand
    SheetRow row_;
};

// The columns and the rows of the listing's lines, read by the reader above.
struct ListingSheet {
    QList<SheetColumn> columns;
    QList<SheetRow> rows;
};
ListingSheet ReadListingSheet(const QStringList &lines);
