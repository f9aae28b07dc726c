#include "print/amount_range_listing.h"

#include "base/prompt.h"
#include "base/text_format.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_tables.h"
#include "print/document_listing_columns.h"
#include "print/document_number_text.h"
#include "print/listed_documents.h"
#include "print/listing_context.h"
#include "print/listing_job.h"
#include "print/listing_text.h"
#include "store/table.h"

namespace {

const QString kAmount = QStringLiteral("KWOTA");

const QString kHeading = QStringLiteral(
    "| Kasa   |Nr rap.|  Data    | Dokument      | Kontrahent                                  "
    "| Za co                                                           | Kwota      |");
const QString kSeparator = QStringLiteral(
    "|--------|-------|----------|---------------|---------------------------------------------"
    "|-----------------------------------------------------------------|------------|");

std::optional<Money> ReadBound(const QString &text, const char *name, Prompt &prompt)
{
    const std::optional<Money> bound = Money::parse(text);
    if (!bound)
        prompt.error(QStringLiteral("Błąd kwoty \"%1\"").arg(QLatin1String(name)));
    return bound;
}

// The bounds said to SQLite when they select exactly the rows of the range: an empty amount
// fails every comparison there, so when empty amounts belong to the range and a bound is set,
// the rows are tested one by one instead.
QList<FilterCondition> RangeConditions(const AmountRange &range)
{
    using Op = FilterCondition::Op;
    const bool anyBound = !range.from.isZero() || !range.to.isZero();
    if (range.containsEmpty() && anyBound)
        return {};
    QList<FilterCondition> conditions;
    if (!range.from.isZero())
        conditions.append({kAmount, Op::GreaterOrEqual, QVariant::fromValue(range.from)});
    if (!range.to.isZero())
        conditions.append({kAmount, Op::LessOrEqual, QVariant::fromValue(range.to)});
    return conditions;
}

QString ListingLine(const QString &blank, const ListedDocument &document, const DocumentNumberText &numbers)
{
    return DocumentColumns(blank, document, numbers)
        .put(46, QStringView(document.contractorName()).left(45))
        .put(92, QStringView(document.description()).left(65))
        .put(158, ListingAmount(document.amount()))
        .text();
}

} // namespace

bool AmountRange::contains(Money amount) const
{
    return (from.isZero() || amount >= from) && (to.isZero() || amount <= to);
}

std::optional<AmountRange> ReadAmountRange(const AmountRangeTexts &texts, Prompt &prompt)
{
    const std::optional<Money> from = ReadBound(texts.from, "od", prompt);
    if (!from)
        return std::nullopt;
    const std::optional<Money> to = ReadBound(texts.to, "do", prompt);
    if (!to)
        return std::nullopt;
    return AmountRange{*from, *to};
}

void DokumentyZKwota(ListingContext &context, const AmountRangeTexts &texts)
{
    const std::optional<AmountRange> range = ReadAmountRange(texts, context.ledger.prompt);
    if (!range)
        return;
    const LedgerTables &tables = context.ledger.tables;
    const ListedDocuments documents(tables.TNAG, QString(), RangeConditions(*range));
    const DocumentNumberText numbers(tables, documents);

    ListingJob job(context.druk, QStringLiteral("Raport dokumentów z kwotami od ") + texts.from
                                     + QStringLiteral(" do ") + texts.to,
                   documents.count());
    job.line(RepeatChar(u'=', 170));
    job.line(kHeading);
    job.line(kSeparator);
    const QString blank = BlankColumnLine(kHeading);
    documents.forEach([&](const ListedDocument &document) {
        job.step();
        if (range->contains(document.amount()))
            job.line(ListingLine(blank, document, numbers));
    });
    job.line(RepeatChar(u'=', 171));
    job.finish();
}

void DokumentyZKwota(ListingContext &context, AmountRangeDialog &dialog)
{
    const std::optional<AmountRangeTexts> typed = dialog.askAmounts();
    if (typed)
        DokumentyZKwota(context, {RemoveSpaces(typed->from), RemoveSpaces(typed->to)});
}
