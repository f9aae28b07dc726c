#include "ledger/document_search.h"

#include "store/table.h"

#include <QHash>

namespace {

void Order(Table &headers, const QString &index)
{
    if (headers.indexName() != index || !headers.indexFieldNames().isEmpty())
        headers.setIndexName(index);
}

// The desk and report the list shows, as the first key fields of every order of the list.
QVariantList ReportKey(const Table &headers)
{
    const Table *report = headers.masterSource();
    if (!report || !report->isOpen())
        return {headers.asString(QStringLiteral("SYMBOL")), headers.asInteger(QStringLiteral("NUMER"))};
    return {report->asString(QStringLiteral("SYMBOL")), report->asInteger(QStringLiteral("NUMER"))};
}

void FindIn(Table &headers, const QString &index, const QVariantList &afterReport)
{
    if (!headers.isOpen())
        return;
    Order(headers, index);
    headers.findNearest(ReportKey(headers) + afterReport);
}

} // namespace

bool SortDocumentsByColumn(Table &headers, const QString &field)
{
    static const QHash<QString, QString> kOrderOf{
        {QStringLiteral("POZ"), QStringLiteral("Pinx")},
        {QStringLiteral("DOWOD"), QStringLiteral("Rinx")},
        {QStringLiteral("DATA"), QStringLiteral("Dinx")},
        {QStringLiteral("ONAZ1"), QStringLiteral("Ninx")},
    };
    const auto order = kOrderOf.constFind(field.toUpper());
    if (order == kOrderOf.constEnd() || !headers.isOpen())
        return false;
    Order(headers, *order);
    return true;
}

void FindDocumentByDate(Table &headers, const QString &typed)
{
    FindIn(headers, QStringLiteral("Dinx"), {typed});
}

void FindDocumentByName(Table &headers, const QString &typed)
{
    FindIn(headers, QStringLiteral("Ninx"), {typed});
}

// The kind order runs desk, report, year, kind, number: the documents of the working year.
void FindDocumentByKind(Table &headers, const QString &typed, const QString &year)
{
    FindIn(headers, QStringLiteral("Rinx"), {year, typed});
}
