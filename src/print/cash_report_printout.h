#pragma once

#include "base/money.h"
#include "print/report_form.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class Prompt;
class Table;

// One row of the per-account totals: MA gathers receipts (KP, KPD, a settlement returned),
// WN payouts (KW, KWD, a settlement paid out); other documents still name their account.
struct AccountTotal {
    QString account;
    Money wn;
    Money ma;
    friend bool operator==(const AccountTotal &, const AccountTotal &) = default;
};

// The document headers' rows (fields RD, OKOD, KWOTA, KONTO) summed per account, in account order.
QList<AccountTotal> SumPerAccount(RecordList &documents);

// The cash report form: page header with the stamp, title and report fields, the sums carried
// from the page before, one two-line entry per document, the page's sums, the sums carried to
// the next page and, in report mode, the opening and closing cash state.
std::unique_ptr<ReportForm> CreateCashReportForm(const FormRecord &report, const FormRecord &desk,
                                                 const FormRecord &company);
// The per-account totals form over the totals' rows.
std::unique_ptr<ReportForm> CreateAccountTotalsForm(const FormRecord &report, const FormRecord &desk,
                                                    const FormRecord &company);

// Report mode (the report's number, period and cash state; title "RK") or monthly mode (the
// month's text; title "MIESIĘCZNY").
void SetCashReportMode(ReportForm &form, const QString &monthText);
// The switches that follow the parameters: the accounts shown (B3), the stamp (character 3 of
// P2); and the footer line with the company's name and today's date.
void SetCashReportOptions(ReportForm &form, bool accounts, bool stamp, const QString &companyName,
                          const QString &todayText);

// The tables the cash report reads.
struct CashReportTables {
    Table &documents;        // TNAG: the report's (or the month's) document headers
    const Table &report;     // TRKASA
    const Table &desk;       // TKASA
    const Table &company;    // TFIRMA
    const Table &parameters; // TPARA
    Table &totals;           // TRAZEM: RAZEM.DB, built anew for every printout with accounts
};

class CashReportPrintout {
public:
    CashReportPrintout(const CashReportTables &tables, FormOutput &output, Prompt &prompt,
                       std::function<QString()> todayText);

    // The current report in report mode, then (with accounts on) the totals per account.
    void printReport();
    // The documents the view shows now (the month's filter is in place), in monthly mode.
    void previewMonth(const QString &monthText);

    ReportForm &reportForm();
    ReportForm &totalsForm();
    // The documents as read for the last printout.
    RecordList &documentRows() { return documentRows_; }

    // Reads the documents view into rows, from its first row in its order; its row is kept.
    static void ReadDocuments(Table &documents, RecordList &rows);

private:
    void prepare(const QString &monthText);
    void buildTotals();

    CashReportTables tables_;
    FormOutput &output_;
    Prompt &prompt_;
    std::function<QString()> todayText_;
    TableRecord reportRecord_;
    TableRecord deskRecord_;
    TableRecord companyRecord_;
    RecordList documentRows_;
    RecordList totalRows_;
    std::unique_ptr<ReportForm> reportForm_;
    std::unique_ptr<ReportForm> totalsForm_;
};
