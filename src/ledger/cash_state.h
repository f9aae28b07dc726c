#pragma once

#include "base/money.h"

#include <QString>

struct LedgerContext;
class DocumentNumbering;

// How much money the current desk holds: always the desk's last report, whatever report is
// selected. A closed last report gives its stored closing balance; an open one its opening
// balance plus the receipts minus the payouts of its documents so far (advance requests are
// not counted until they are settled).
class CashState {
public:
    CashState(LedgerContext &context, DocumentNumbering &numbering);

    // The text for the status bar: empty while the views are closed, "0.00 zł" for a desk
    // without reports, else the balance through "### ### ### ##9.99 zł"; a desk kept in another
    // currency shows its code instead of "zł" ("1 234.50 EUR").
    QString StanKasa();
    // Puts StanKasa into the main window's status bar, when there is a main window.
    void showInView();

private:
    Money lastReportBalance();
    QString deskCurrency() const;
    Money openReportBalance(const QString &desk, int report, Money opening);

    LedgerContext &context_;
    DocumentNumbering &numbering_;
};

// The balance through the cash-state picture, in złoty or in the currency with the given code.
QString FormatCashState(Money balance, const QString &currency = QString());
// True for no currency at all and for the złoty.
bool IsZloty(const QString &currency);
