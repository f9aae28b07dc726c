#pragma once

#include "base/money.h"

#include <optional>

#include <QString>
#include <functional>

struct LedgerContext;
class CashReportRules;
class DocumentFilters;
class MonthDialog;

// The commands of the "Raporty Kasowe" tab that create, close, reopen and delete reports, and
// the selection behind the monthly report. Each refusal is said in a message; nothing changes then.
class CashReportCommands {
public:
    CashReportCommands(LedgerContext &context, CashReportRules &rules, DocumentFilters &filters);

    // "Nowy": a new report after the desk's last one, which must be closed; it starts from that
    // report's closing balance and marking, numbered within the desk or (P2 "2") across all desks.
    void newReport();
    // "Zamknij": stores the closing balance of the current open report.
    void closeReport();
    // "Otwórz": reopens the current report (closing balance 0, no closer; the end date stays).
    void openReport();
    // "Kasuj": deletes the current report when it is open, empty and the user agrees.
    void deleteReport();
    // "Dokumenty": asks for a month and shows the desk's documents of that month to the preview,
    // which gets the month text (YYYY.MM); the documents of the current report come back after,
    // also when the preview fails.
    void monthlyReport(MonthDialog &dialog, const std::function<void(const QString &monthText)> &preview);

private:
    int highestReportNumberOfAllDesks();
    std::optional<Money> closingBalance();
    std::optional<Money> carriedOpeningBalance();

    LedgerContext &context_;
    CashReportRules &rules_;
    DocumentFilters &filters_;
};
