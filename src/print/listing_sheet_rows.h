#pragma once

#include "print/listing_sheet.h"

#include <functional>

class PreviewLines;

// The table of a listing's lines for a spreadsheet writer: the columns at once, and then the rows
// in order, read on a thread of their own a batch ahead of the writer, so that reading the lines
// and writing the file share the machine's cores. At most a few batches wait at any time: a long
// listing is never held twice.
class ListingSheetRows {
public:
    explicit ListingSheetRows(const PreviewLines &lines);

    bool hasHeading() const { return reader_.hasHeading(); }
    const QList<SheetColumn> &columns() const { return reader_.columns(); }
    // Hands every row after the heading to the visit, in order, on the calling thread.
    void forEach(const std::function<void(const SheetRow &)> &visit);

private:
    const PreviewLines &lines_;
    ListingSheetReader reader_;
    qsizetype firstRow_ = 0; // the line after the heading
};
