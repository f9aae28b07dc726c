#include "print/money_pictures.h"

#include "ledger/cash_state.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_tables.h"
#include "print/listed_documents.h"
#include "print/period_listing.h"
#include "store/table.h"

#include <QDate>
#include <QScopeGuard>
#include <algorithm>

namespace {

using Op = FilterCondition::Op;

// A view of the program's own on the file a data-module table works on, so that its windows
// and current rows do not move.
class OwnView {
public:
    OwnView(const Table &like, const QString &index, const QList<FilterCondition> &conditions) : view_(*like.session())
    {
        view_.setTableName(like.filePath());
        view_.setIndexName(index);
        view_.setFilterConditions(conditions);
        view_.setFiltered(!conditions.isEmpty());
        view_.open();
    }
    ~OwnView() { view_.close(); }
    Table &operator*() { return view_; }
    Table *operator->() { return &view_; }

private:
    Table view_;
};

// An open report's balance as closing it counts it: the opening plus every document's signed
// amount.
Money OpenReportClosing(const LedgerTables &tables, const QString &desk, int report, Money opening)
{
    const ListedDocuments documents(tables.TNAG, QStringLiteral("Pinx"),
                                    {{QStringLiteral("SYMBOL"), Op::Equal, desk, true},
                                     {QStringLiteral("NUMER"), Op::Equal, report},
                                     {QStringLiteral("GLOWKA"), Op::Equal, true}});
    const int sign = documents.fieldPosition(QStringLiteral("OKOD"));
    Money balance = opening;
    documents.forEach([&](const ListedDocument &document) {
        balance += SignedAmount(document.kind(), document.textAt(sign), document.amount());
    });
    return balance;
}

} // namespace

QList<ReportBalance> BalancesByReport(const LedgerTables &tables, const QString &desk)
{
    QList<ReportBalance> result;
    if (!tables.TRKASA.isOpen())
        return result;
    OwnView reports(tables.TRKASA, QString(), {{QStringLiteral("SYMBOL"), Op::Equal, desk, true}});
    for (reports->first(); !reports->eof(); reports->next()) {
        ReportBalance balance;
        balance.number = reports->asInteger(QStringLiteral("NUMER"));
        balance.marking = reports->asString(QStringLiteral("OZNACZENIE"));
        balance.firstDay = reports->asString(QStringLiteral("DATAOD"));
        balance.lastDay = reports->asString(QStringLiteral("DATADO"));
        balance.closed = reports->asBoolean(QStringLiteral("ZAMKNIETY"));
        balance.closing = balance.closed ? reports->asMoney(QStringLiteral("BZWARTOSC"))
                                         : OpenReportClosing(tables, desk, balance.number,
                                                             reports->asMoney(QStringLiteral("BOWARTOSC")));
        result.append(balance);
    }
    return result;
}

QList<MonthTurnover> TurnoverByMonth(const LedgerTables &tables, const QString &desk, int year)
{
    QList<MonthTurnover> result;
    for (int month = 1; month <= 12; ++month) {
        const QDate first(year, month, 1);
        const ListingPeriod period(DateRange{first, first.addMonths(1).addDays(-1)});
        result.append({month, PeriodTotal(tables.TNAG, desk, QStringLiteral("KP"), period),
                       PeriodTotal(tables.TNAG, desk, QStringLiteral("KW"), period)});
    }
    return result;
}

QList<AccountTotal> TotalsByAccount(const LedgerTables &tables, const QString &desk, const ListingPeriod &period)
{
    QList<FilterCondition> conditions = period.conditions();
    conditions.append({QStringLiteral("SYMBOL"), Op::Equal, desk, true});
    const ListedDocuments documents(tables.TNAG, QStringLiteral("Pinx"), conditions);
    const int sign = documents.fieldPosition(QStringLiteral("OKOD"));
    const int account = documents.fieldPosition(QStringLiteral("KONTO"));
    RecordList rows;
    documents.forEach([&](const ListedDocument &document) {
        rows.append({{QStringLiteral("RD"), document.kind()},
                     {QStringLiteral("OKOD"), document.textAt(sign)},
                     {QStringLiteral("KONTO"), document.textAt(account)},
                     {QStringLiteral("KWOTA"), QVariant::fromValue(document.amount())}});
    });
    QList<AccountTotal> totals = SumPerAccount(rows);
    std::stable_sort(totals.begin(), totals.end(),
                     [](const AccountTotal &a, const AccountTotal &b) { return a.wn + a.ma > b.wn + b.ma; });
    return totals;
}

QList<DeskCurrency> DesksOf(const LedgerTables &tables)
{
    QList<DeskCurrency> result;
    if (!tables.TKASA.isOpen())
        return result;
    OwnView desks(tables.TKASA, QString(), {});
    const bool withCurrency = desks->hasField(QStringLiteral("A2"));
    for (desks->first(); !desks->eof(); desks->next()) {
        const QString currency = withCurrency ? desks->asString(QStringLiteral("A2")).trimmed() : QString();
        result.append({desks->asString(QStringLiteral("SYMBOL")), desks->asString(QStringLiteral("NAZWA")),
                       IsZloty(currency) ? QString() : currency});
    }
    return result;
}
