#include "print/cash_state_listing.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
#include "print/cash_state_lines.h"
#include "print/listing_context.h"
#include "print/listing_job.h"
#include "print/listing_text.h"
#include "store/table.h"

#include <QList>
#include <memory>

namespace {

// A view of its own on a table object's file, so the program's views do not move.
std::unique_ptr<Table> OwnView(const Table &like, const QString &indexName)
{
    auto view = std::make_unique<Table>(*like.session());
    view->setTableName(like.tableName());
    view->setIndexName(indexName);
    view->open();
    return view;
}

// The first three characters of A2, "PLN" when they are blank.
QString CurrencyCodeOf(const Table &desks)
{
    const QString code = desks.asString(QStringLiteral("A2")).left(3);
    return code.trimmed().isEmpty() ? QStringLiteral("PLN") : code;
}

struct CurrencyTotal {
    QString code;
    Money total;
};

void AddToCurrency(QList<CurrencyTotal> &totals, const QString &code, Money amount)
{
    for (CurrencyTotal &known : totals)
        if (known.code == code) {
            known.total += amount;
            return;
        }
    totals.append({code, amount});
}

// The desk's last report's opening balance plus the signed amounts of all its documents.
class DeskStates {
public:
    DeskStates(const Table &reportsLike, const Table &documentsLike)
        : reports_(OwnView(reportsLike, QString()))
        , documents_(OwnView(documentsLike, QStringLiteral("Pinx")))
    {
        documents_->setFilterConditions({{QStringLiteral("GLOWKA"), FilterCondition::Op::Equal, true}});
        documents_->setFiltered(true);
    }

    Money stateOf(const QString &desk)
    {
        reports_->setRange({desk}, {desk});
        reports_->last();
        if (reports_->isEmpty())
            return Money();
        const QVariant report = reports_->value(QStringLiteral("NUMER"));
        Money state = reports_->asMoney(QStringLiteral("BOWARTOSC"));
        documents_->setRange({desk, report}, {desk, report});
        for (documents_->first(); !documents_->eof(); documents_->next())
            state += SignedAmount(documents_->asString(QStringLiteral("RD")),
                                  documents_->asString(QStringLiteral("OKOD")),
                                  documents_->asMoney(QStringLiteral("KWOTA")));
        return state;
    }

private:
    std::unique_ptr<Table> reports_;
    std::unique_ptr<Table> documents_;
};

} // namespace

void StanKasy(ListingContext &context)
{
    const LedgerTables &t = context.ledger.tables;
    const QTime now = context.ledger.clock.now().time();
    const auto desks = OwnView(t.TKASA, QString());
    DeskStates states(t.TRKASA, t.TNAG);

    ListingJob job(context.druk, QStringLiteral("Raport stanu kas"), desks->recordCount());
    job.line(QStringLiteral("Raport stanu kas.    data : ") + context.ledger.state.TodayText
             + QStringLiteral("    godzina : ") + ListingClockText(now));
    job.line(QString());
    job.line(CashStateLines::Ruling());
    job.line(CashStateLines::Heading());
    job.line(CashStateLines::Separator());
    QList<CurrencyTotal> totals;
    for (desks->first(); !desks->eof(); desks->next()) {
        job.step();
        const QString symbol = desks->asString(QStringLiteral("SYMBOL"));
        const QString code = CurrencyCodeOf(*desks);
        const Money state = states.stateOf(symbol);
        job.line(CashStateLines::Desk(symbol, desks->asString(QStringLiteral("NAZWA")), state, code));
        AddToCurrency(totals, code, state);
    }
    job.line(CashStateLines::Separator());
    for (const CurrencyTotal &currency : totals)
        job.line(CashStateLines::Total(currency.total, currency.code));
    job.line(CashStateLines::Ruling());
    job.line(QString());
    job.finish();
}
