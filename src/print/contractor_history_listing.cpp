#include "print/contractor_history_listing.h"

#include "base/global_state.h"
#include "base/text_format.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
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
    std::pair<int, Money> add(const ListedDocument &document)
    {
        const QString kind = document.kind();
        if (kind == DocumentKind::KP || kind == DocumentKind::KPD || kind == DocumentKind::RZ) {
            const Money amount = kind == DocumentKind::RZ ? document.lineAmount() : document.amount();
            debit += amount;
            return {kDebitColumn, amount};
        }
        credit += document.amount();
        return {kCreditColumn, document.amount()};
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
    const LedgerTables &tables = context.ledger.tables;
    const ListedDocuments documents(
        tables.TNAG, QString(),
        period.conditions() + QList<FilterCondition>{{QStringLiteral("ONR"), FilterCondition::Op::Equal, contractor.number}});
    const DocumentNumberText numbers(tables, documents);

    ListingJob job(context.druk, QStringLiteral("Raport obrotów"), documents.count());
    job.line(QStringLiteral("Raport obrotów dla kontrahenta : ") + contractor.name1);
    job.line(RepeatChar(u' ', 33) + contractor.name2);
    job.line(QStringLiteral("Za okres od : ") + period.from + QStringLiteral(" do : ") + period.to);
    job.line(RepeatChar(u'=', 107));
    job.line(kHeading);
    job.line(kSeparator);
    const QString blank = BlankColumnLine(kHeading);
    Turnover turnover;
    documents.forEach([&](const ListedDocument &document) {
        job.step();
        const auto [column, amount] = turnover.add(document);
        job.line(DocumentColumns(blank, document, numbers)
                     .put(46, QStringView(document.description()).left(35))
                     .put(column, ListingAmount(amount))
                     .text());
    });
    job.line(kSeparator);
    const QString debit = ListingTotal(turnover.debit);
    const QString credit = ListingTotal(turnover.credit);
    if (ListingTotalColumn(kCreditColumn, credit) == kCreditColumn) {
        job.line(ColumnLine(blank)
                     .put(46, u" RAZEM :")
                     .put(ListingTotalColumn(kDebitColumn, debit), debit)
                     .put(kCreditColumn, credit)
                     .text());
    } else {
        // A credit total too wide for its column takes a line of its own.
        job.line(ColumnLine(blank).put(46, u" RAZEM :").put(ListingTotalColumn(kDebitColumn, debit), debit).text());
        job.line(ColumnLine(blank).put(ListingTotalColumn(kCreditColumn, credit), credit).text());
    }
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
