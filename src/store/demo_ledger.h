#pragma once

#include "base/money.h"
#include "store/table_records.h"

#include <QDate>
#include <QList>
#include <QString>

// The cash ledger of the demo firm for one year: reports and documents as rows of the report
// and document tables, made up but consistent with the ledger's rules.

struct DemoCashDesk {
    QString symbol;
    QString name;
    QString account;
    QString currency;              // designation of the currency table (A2)
    Money openingBalance;          // carried from the year before
    int documentsPerMonth = 0;
    Money smallestLine;            // range of an ordinary line amount
    Money largestLine;
    Money cashLimit;               // above it the surplus goes to the bank
};

QList<DemoCashDesk> DemoCashDesks();

struct DemoLedger {
    QList<TableRecord> reports;   // cash-report rows
    QList<TableRecord> documents; // document rows: each header followed by its line rows
};

// Per desk one report a month from January up to today's month (December of a past year,
// January of a future one). Every report but the last is closed, its closing balance carried
// into the next report; the last one is open. Documents of every kind lie in the report of
// their date, are numbered per desk and kind through the year and placed 1, 2, ... in their
// report, and never take the cash below zero. The same year and day give the same ledger.
DemoLedger BuildDemoLedger(const QString &year, const QDate &today);

// The sign a document header's amount has in a balance: KP, KPD and an RZ returning money
// ("+") add, every other kind subtracts.
Money SignedDocumentAmount(const QString &kind, const QString &settlementSign, Money amount);
