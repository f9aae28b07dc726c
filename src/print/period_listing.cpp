#include "print/period_listing.h"

#include "base/global_state.h"
#include "base/text_format.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_tables.h"
#include "print/document_listing_columns.h"
#include "print/document_number_text.h"
#include "print/listed_documents.h"
#include "print/listing_context.h"
#include "print/listing_job.h"
#include "print/listing_period.h"
#include "print/listing_text.h"
#include "store/table.h"

namespace {

const QString kHeading = QStringLiteral(
    "| Kasa   |Nr rap.|  Data    | Dokument      | Kontrahent                                       "
    "| Za co                                                                   | Kwota      |");
const QString kSeparator = QStringLiteral(
    "|--------|-------|----------|---------------|--------------------------------------------------"
    "|-------------------------------------------------------------------------|------------|");

QString ListingLine(const QString &blank, const ListedDocument &document, const DocumentNumberText &numbers)
{
    return DocumentColumns(blank, document, numbers)
        .put(46, QStringView(document.contractorName()).left(50))
        .put(97, QStringView(document.description()).left(75))
        .put(171, ListingAmount(document.amount()))
        .text();
}

void PrintPeriod(ListingContext &context, const QString &kind, const ListingPeriod &period)
{
    const LedgerTables &tables = context.ledger.tables;
    const ListedDocuments documents(tables.TNAG, QStringLiteral("Pinx"),
                                    PeriodDocumentConditions(CurrentDeskSymbol(tables), kind, period));
    const DocumentNumberText numbers(tables, documents);

    ListingJob job(context.druk, QStringLiteral("Raport dokumentów za okres"), documents.count());
    job.line(QStringLiteral("Raport dokumentów ") + kind);
    job.line(QStringLiteral("Za okres od : ") + period.from + QStringLiteral(" do : ") + period.to);
    job.line(RepeatChar(u'=', 183));
    job.line(kHeading);
    job.line(kSeparator);
    const QString blank = BlankColumnLine(kHeading);
    Money total;
    documents.forEach([&](const ListedDocument &document) {
        job.step();
        job.line(ListingLine(blank, document, numbers));
        total += document.amount();
    });
    job.line(kSeparator);
    const QString written = ListingTotal(total);
    job.line(ColumnLine(blank).put(97, u" RAZEM :").put(ListingTotalColumn(171, written), written).text());
    job.line(RepeatChar(u'=', 183));
    job.finish();
}

} // namespace

// Every report of the desk (its symbol compared as the report link compares it); "KP" takes KPD
// as well, "KW" KWD.
QList<FilterCondition> PeriodDocumentConditions(const QString &desk, const QString &kind, const ListingPeriod &period)
{
    using Op = FilterCondition::Op;
    return period.conditions() + QList<FilterCondition>{{QStringLiteral("SYMBOL"), Op::Equal, desk, true},
                                                         {QStringLiteral("RD"), Op::StartsWith, kind}};
}

Money PeriodTotal(const Table &documentsLike, const QString &desk, const QString &kind, const ListingPeriod &period)
{
    const ListedDocuments documents(documentsLike, QStringLiteral("Pinx"), PeriodDocumentConditions(desk, kind, period));
    Money total;
    documents.forEach([&](const ListedDocument &document) { total += document.amount(); });
    return total;
}

void DokumentyZaOkres(ListingContext &context, const QString &kind, const DateRange &period)
{
    const ListingPeriod listed(period);
    if (listed.isValid())
        Guarded([&] { PrintPeriod(context, kind, listed); });
}

void DokumentyZaOkres(ListingContext &context, const QString &kind, DateRangeDialog &dialog)
{
    const QString caption = kind == QStringLiteral("KW") ? QStringLiteral("Wypłaty KW za okres")
                                                         : QStringLiteral("Wpłaty KP za okres");
    const std::optional<DateRange> period =
        dialog.askDates(caption, FirstListingPeriod(ProgramToday(context.ledger.state, context.ledger.clock)));
    if (period)
        DokumentyZaOkres(context, kind, *period);
}
