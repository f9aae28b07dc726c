#include "ledger/cash_state.h"

#include "base/text_format.h"
#include "ledger/document_kinds.h"
#include "ledger/document_numbering.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_view.h"
#include "store/display_format.h"
#include "store/table.h"
#include "store/table_schemas.h"

#include <QScopeGuard>

QString FormatCashState(Money balance, const QString &currency)
{
    // Written as every grid writes an amount, whatever its size, in a panel of at least the
    // width of the largest amount a report holds.
    const QString code = currency.trimmed();
    const QString amount = FormatDisplayNumber(QString::fromLatin1(kAmountDisplayFormat), balance);
    return (amount + u' ' + (IsZloty(code) ? QStringLiteral("zł") : code)).rightJustified(21);
}

// A desk without a currency keeps złoty, as do the ways the złoty is written.
bool IsZloty(const QString &currency)
{
    const QString code = currency.trimmed().toUpper();
    return code.isEmpty() || code == QStringLiteral("PLN") || code == QStringLiteral("ZŁ") || code == QStringLiteral("ZL");
}

CashState::CashState(LedgerContext &context, DocumentNumbering &numbering)
    : context_(context)
    , numbering_(numbering)
{
}

QString CashState::StanKasa()
{
    const LedgerTables &t = context_.tables;
    if (!t.TRKASA.isOpen() || !t.KNAG.isOpen())
        return {};
    const QString currency = deskCurrency();
    if (t.TRKASA.isEmpty())
        return FormatCashState(Money(), currency);
    return FormatCashState(lastReportBalance(), currency);
}

// The currency designation of the desk the reports belong to (A2, a code of the currency
// dictionary).
QString CashState::deskCurrency() const
{
    const Table &desks = context_.tables.TKASA;
    if (!desks.isOpen() || desks.isEmpty() || !desks.hasField(QStringLiteral("A2")))
        return {};
    return desks.asString(QStringLiteral("A2"));
}

void CashState::showInView()
{
    if (context_.view)
        Guarded([&] { context_.view->showCashState(StanKasa()); });
}

Money CashState::lastReportBalance()
{
    Table &reports = context_.tables.TRKASA;
    Money balance;
    VisitLastReport(reports, [&] {
        if (reports.asBoolean(QStringLiteral("ZAMKNIETY")))
            balance = reports.asMoney(QStringLiteral("BZWARTOSC"));
        else
            balance = openReportBalance(reports.asString(QStringLiteral("SYMBOL")),
                                        reports.asInteger(QStringLiteral("NUMER")),
                                        reports.asMoney(QStringLiteral("BOWARTOSC")));
    });
    return balance;
}

// The report's headers through KNAG (in place order, as the header view reads them); KNAG gets
// its numbering order and filter back afterwards.
Money CashState::openReportBalance(const QString &desk, int report, Money opening)
{
    Table &view = context_.tables.KNAG;
    const auto restore = qScopeGuard([&] { Guarded([&] { numbering_.restoreNumberingView(); }); });
    using Op = FilterCondition::Op;
    view.cancelRange();
    // The numbering filter in the place order would be read row by row through the desk's year.
    view.setFiltered(false);
    view.setIndexName(QStringLiteral("Pinx"));
    view.setFilterConditions({{QStringLiteral("SYMBOL"), Op::Equal, desk},
                              {QStringLiteral("NUMER"), Op::Equal, report},
                              {QStringLiteral("GLOWKA"), Op::Equal, true}});
    view.setFiltered(true);
    Money balance = opening;
    view.disableControls();
    const auto enable = qScopeGuard([&] { Guarded([&] { view.enableControls(); }); });
    for (view.first(); !view.eof(); view.next())
        balance += SignedAmount(view.asString(QStringLiteral("RD")), view.asString(QStringLiteral("OKOD")),
                                view.asMoney(QStringLiteral("KWOTA")), BalanceKind::CashState);
    return balance;
}
