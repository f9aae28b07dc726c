#pragma once

#include "ledger/amount_limits.h"
#include "ledger/cash_desk_rules.h"
#include "ledger/cash_report_commands.h"
#include "ledger/cash_report_rules.h"
#include "ledger/cash_state.h"
#include "ledger/document_commands.h"
#include "ledger/document_filters.h"
#include "ledger/document_line_rules.h"
#include "ledger/document_numbering.h"
#include "ledger/document_rules.h"
#include "ledger/document_totals.h"
#include "ledger/dictionary_rules.h"
#include "ledger/document_copy.h"
#include "ledger/number_change.h"
#include "ledger/renumbering.h"
#include "ledger/ledger_context.h"

class Clock;
class LedgerView;
class Prompt;
struct GlobalState;

// The cash ledger on the data module's table objects: constructing it installs the rules of
// desks, reports, documents and dictionaries as events of those tables (so every window that
// edits them obeys), and it offers the commands that work on them. The tables may be opened
// before or after; the ledger must be destroyed before them.
class CashLedger {
public:
    CashLedger(const LedgerTables &tables, Prompt &prompt, GlobalState &state, const Clock &clock);
    CashLedger(const CashLedger &) = delete;
    CashLedger &operator=(const CashLedger &) = delete;
    ~CashLedger();

    // After the data module has (re)opened its tables: the filters and the numbering view are
    // applied to the open tables again.
    void tablesReopened();

    // The main window, once it exists (nullptr again when it goes).
    void setView(LedgerView *view) { context_.view = view; }

    LedgerContext &context() { return context_; }
    CashState &cashState() { return cashState_; }
    DocumentNumbering &numbering() { return numbering_; }
    DocumentFilters &filters() { return filters_; }
    CashDeskRules &desks() { return deskRules_; }
    CashReportRules &reportRules() { return reportRules_; }
    CashReportCommands &reports() { return reportCommands_; }
    DocumentTotals &totals() { return totals_; }
    DocumentCommands &documents() { return documentCommands_; }
    Renumbering &renumbering() { return renumbering_; }
    DocumentCopy &copying() { return copy_; }
    NumberChange &numberChange() { return numberChange_; }

private:
    LedgerContext context_;
    DocumentNumbering numbering_;
    CashState cashState_;
    DocumentFilters filters_;
    CashDeskRules deskRules_;
    CashReportRules reportRules_;
    CashReportCommands reportCommands_;
    DocumentTotals totals_;
    DocumentRules documentRules_;
    DocumentLineRules lineRules_;
    DocumentCommands documentCommands_;
    DictionaryRules dictionaryRules_;
    Renumbering renumbering_;
    DocumentCopy copy_;
    NumberChange numberChange_;
    AmountLimits amountLimits_;
};
