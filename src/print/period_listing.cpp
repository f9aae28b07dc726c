#include "print/period_listing.h"

#include "app/global_state.h"
#include "app/text_format.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "print/document_listing_columns.h"
#include "print/documents_view_switch.h"
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

QString ListingLine(const QString &blank, const Table &documents)
{
    QString line = WithDocumentColumns(blank, documents);
    line = PutAt(line, 46, documents.asString(QStringLiteral("ONAZ1")).left(50));
    line = PutAt(line, 97, documents.asString(QStringLiteral("TYT1")).left(75));
    return PutAt(line, 171, ListingAmount(documents.asMoney(QStringLiteral("KWOTA"))));
}

void PrintPeriod(ListingContext &context, const QString &kind, const ListingPeriod &period)
{
    Table &documents = context.ledger.tables.TNAG;
    DocumentsViewSwitch view(documents, context.filters);
    using Op = FilterCondition::Op;
    // "KP" takes KPD as well, "KW" KWD.
    view.showCurrentDesk(period.conditions() + QList<FilterCondition>{{QStringLiteral("RD"), Op::StartsWith, kind}});

    ListingJob job(context.druk, QStringLiteral("Raport dokumentów za okres"), documents.recordCount());
    job.line(QStringLiteral("Raport dokumentów ") + kind);
    job.line(QStringLiteral("Za okres od : ") + period.from + QStringLiteral(" do : ") + period.to);
    job.line(RepeatChar(u'=', 183));
    job.line(kHeading);
    job.line(kSeparator);
    const QString blank = BlankColumnLine(kHeading);
    Money total;
    for (documents.first(); !documents.eof(); documents.next()) {
        job.step();
        job.line(ListingLine(blank, documents));
        total += documents.asMoney(QStringLiteral("KWOTA"));
    }
    job.line(kSeparator);
    job.line(PutAt(PutAt(blank, 97, QStringLiteral(" RAZEM :")), 171, ListingAmount(total)));
    job.line(RepeatChar(u'=', 183));
    job.finish();
}

} // namespace

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
