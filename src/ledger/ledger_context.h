#pragma once

#include "ledger/ledger_tables.h"

class Clock;
class LedgerView;
class Prompt;
struct GlobalState;

// What every rule and command of the ledger works with.
struct LedgerContext {
    LedgerTables tables;
    Prompt &prompt;
    GlobalState &state;
    const Clock &clock;
    LedgerView *view = nullptr; // the main window, once it exists
};
