#pragma once

class CashLedger;
class TDRUK;
struct LedgerContext;

// What the listings work with: the print module their lines go to, and the ledger's table
// objects (the current desk, report and document are the current rows of TKASA, TRKASA and
// TNAG), its prompt, global state and clock.
struct ListingContext {
    TDRUK &druk;
    LedgerContext &ledger;
};

ListingContext ListingContextOf(CashLedger &ledger, TDRUK &druk);
