#include "print/contractor_history_listing.h"

#include "app/global_state.h"
#include "app/text_format.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
#include "print/document_listing_columns.h"
#include "print/documents_view_switch.h"
#include "print/listing_context.h"
#include "print/listing_job.h"
#include "print/listing_period.h"
#include "print/listing_text.h"
#include "store/table.h"

namespace {

const QString kHeading = QStringLiteral(
    "| Kasa   |Nr rap.|  Data    | Dokument      | Za co                             | Winien     |     Ma     |");
const QString kSeparator = QStringLiteral(
    "|--------|-------|----------|---------------|-----------------------------------|------------|------------|");
constexpr int kDebitColumn = 82;
constexpr int kCreditColumn = 95;

// Receipts and what a settlement's expenses came to go under "Winien", the rest under "Ma".
struct Turnover {
    Money debit;
    Money credit;

    // The column the document's amount goes to, with that amount.
    std::pair<int, Money> add(const Table &documents)
    {
        const QString kind = documents.asString(QStringLiteral("RD"));
        if (kind == DocumentKind::KP || kind == DocumentKind::KPD || kind == DocumentKind::RZ) {
            const Money amount = documents.asMoney(kind == DocumentKind::RZ ? QStringLiteral("KWOTAP")
                                                                             : QStringLiteral("KWOTA"));
            debit += amount;
            return {kDebitColumn, amount};
        }
        const Money amount = documents.asMoney(QStringLiteral("KWOTA"));
        credit += amount;
        return {kCreditColumn, amount};
    }
};

} // namespace

ListedContractor ListedContractorOf(const Table &contractors)
{
    return {contractors.asString(QStringLiteral("NR")), contractors.asString(QStringLiteral("NAZWA1")),
            contractors.asString(QStringLiteral("NAZWA2"))};
}

void HistoriaKontrahenta(ListingContext &context, const ListedContractor &contractor, const DateRange &range)
{
    const ListingPeriod period(range);
    if (!period.isValid())
        return;
    Table &documents = context.ledger.tables.TNAG;
    DocumentsViewSwitch view(documents, context.filters);
    view.showWholeYear(period.conditions()
                       + QList<FilterCondition>{{QStringLiteral("ONR"), FilterCondition::Op::Equal, contractor.number}});

    ListingJob job(context.druk, QStringLiteral("Raport obrotów"), documents.recordCount());
    job.line(QStringLiteral("Raport obrotów dla kontrahenta : ") + contractor.name1);
    job.line(RepeatChar(u' ', 33) + contractor.name2);
    job.line(QStringLiteral("Za okres od : ") + period.from + QStringLiteral(" do : ") + period.to);
    job.line(RepeatChar(u'=', 107));
    job.line(kHeading);
    job.line(kSeparator);
    const QString blank = BlankColumnLine(kHeading);
    Turnover turnover;
    for (documents.first(); !documents.eof(); documents.next()) {
        job.step();
        QString line = WithDocumentColumns(blank, documents);
        line = PutAt(line, 46, documents.asString(QStringLiteral("TYT1")).left(35));
        const auto [column, amount] = turnover.add(documents);
        job.line(PutAt(line, column, ListingAmount(amount)));
    }
    job.line(kSeparator);
    QString totals = PutAt(blank, 46, QStringLiteral(" RAZEM :"));
    totals = PutAt(totals, kDebitColumn, ListingAmount(turnover.debit));
    job.line(PutAt(totals, kCreditColumn, ListingAmount(turnover.credit)));
    job.line(RepeatChar(u'=', 107));
    job.finish();
}

void HistoriaKontrahenta(ListingContext &context, const ListedContractor &contractor, DateRangeDialog &dialog)
{
    const std::optional<DateRange> period = dialog.askDates(
        QStringLiteral("Historia kontrahenta"), FirstListingPeriod(ProgramToday(context.ledger.state, context.ledger.clock)));
    if (period)
        HistoriaKontrahenta(context, contractor, *period);
}
