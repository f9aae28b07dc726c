#include "print/document_listing_columns.h"

#include "print/document_number_text.h"
#include "print/listed_documents.h"

ColumnLine DocumentColumns(const QString &blankLine, const ListedDocument &document, const DocumentNumberText &numbers)
{
    ColumnLine line(blankLine);
    line.put(2, QStringView(document.desk()).left(8));
    line.put(12, document.report());
    line.put(19, document.date());
    line.put(30, QStringView(numbers.of(document)).left(15));
    return line;
}
