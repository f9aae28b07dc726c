#include "ledger/cash_ledger.h"

#include "ledger/ledger_queries.h"
#include "store/table.h"

CashLedger::CashLedger(const LedgerTables &tables, Prompt &prompt, GlobalState &state, const Clock &clock)
    : context_{tables, prompt, state, clock, nullptr}
    , numbering_(context_)
    , cashState_(context_, numbering_)
    , filters_(context_)
    , deskRules_(context_, cashState_)
    , reportRules_(context_, cashState_)
    , reportCommands_(context_, reportRules_, filters_)
    , totals_(context_)
    , documentRules_(context_, numbering_, cashState_)
    , lineRules_(context_, filters_, totals_)
    , documentCommands_(context_, filters_)
    , dictionaryRules_(context_)
    , renumbering_(context_, totals_)
    , copy_(context_, documentCommands_, numbering_)
    , numberChange_(context_, numbering_, totals_)
    , amountLimits_(context_)
{
    tablesReopened();
}

// A row still in edit when the ledger goes was never accepted by its rules (a refused line the
// user left on screen, say): it is dropped here, while the rules still stand, so that closing
// the tables afterwards cannot write it past them.
CashLedger::~CashLedger()
{
    const LedgerTables &tables = context_.tables;
    for (Table *table : {&tables.TPOZ, &tables.TNAG, &tables.TRKASA, &tables.TKASA, &tables.TSLO, &tables.TKONTA,
                         &tables.TWALUTA, &tables.TPARA, &tables.KNAG})
        Guarded([table] {
            if (table->isOpen())
                table->cancel();
        });
}

void CashLedger::tablesReopened()
{
    filters_.applyHeaderFilter();
    filters_.setLineRowsOnly(filters_.lineRowsOnly());
    filters_.applyDescriptionFilter();
    if (context_.tables.KNAG.isOpen())
        numbering_.restoreNumberingView();
}
