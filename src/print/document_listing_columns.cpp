#include "print/document_listing_columns.h"

#include "app/text_format.h"
#include "store/table.h"

QString WithDocumentColumns(const QString &blankLine, const Table &documents)
{
    QString line = PutAt(blankLine, 2, documents.asString(QStringLiteral("SYMBOL")).left(8));
    line = PutAt(line, 12, documents.asString(QStringLiteral("NUMER")));
    line = PutAt(line, 19, documents.asString(QStringLiteral("DATA")));
    return PutAt(line, 30, documents.asString(QStringLiteral("DOWOD")).left(15));
}
