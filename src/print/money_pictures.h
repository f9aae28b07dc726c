#pragma once

#include "base/money.h"
#include "print/cash_report_printout.h"
#include "print/listing_period.h"

#include <QList>
#include <QString>

struct LedgerTables;

// The figures of "Wykresy", the pictures of a desk's money. They are summed by the same queries
// the listings and the cash report sum by, so a picture and a listing of one period agree.

// One report of a desk: its marking and number, its days, and its closing balance (an open
// report's: its opening balance plus its documents as closing it would count them).
struct ReportBalance {
    int number = 0;
    QString marking;
    QString firstDay;
    QString lastDay;
    bool closed = false;
    Money closing;
};
// Every report of the desk, in number order.
QList<ReportBalance> BalancesByReport(const LedgerTables &tables, const QString &desk);

// The receipts ("Wpłaty KP za okres") and payouts ("Wypłaty KW za okres") of a desk's month.
struct MonthTurnover {
    int month = 0; // 1..12
    Money receipts;
    Money payouts;
};
// The twelve months of the year.
QList<MonthTurnover> TurnoverByMonth(const LedgerTables &tables, const QString &desk, int year);

// The desk's documents of the period summed per account as the cash report's totals sum them,
// the account with the largest turnover (receipts and payouts) first.
QList<AccountTotal> TotalsByAccount(const LedgerTables &tables, const QString &desk, const ListingPeriod &period);

// The desks' symbols with their currency (empty for the złoty), in symbol order.
struct DeskCurrency {
    QString desk;
    QString name;
    QString currency;
};
QList<DeskCurrency> DesksOf(const LedgerTables &tables);
