#pragma once

#include "print/listing_text.h"

#include <QString>

class DocumentNumberText;
class ListedDocument;

// The columns every document listing begins with, written over a blank line of the listing:
// the desk (column 2, 8 characters), the report number (12), the date (19) and the first 15
// characters of the printed document number (30).
ColumnLine DocumentColumns(const QString &blankLine, const ListedDocument &document, const DocumentNumberText &numbers);
