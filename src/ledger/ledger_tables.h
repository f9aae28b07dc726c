#pragma once

class Table;

// The table objects of the data module that the ledger's rules and commands work on. The data
// module owns them (and opens them); the ledger only installs its events and moves them.
struct LedgerTables {
    Table &TPARA;   // the parameter row: number template P1, option digits P2
    Table &TKASA;   // cash desks; the current row is the current desk
    Table &TRKASA;  // reports of the current desk; the current row is the current report
    Table &TNAG;    // document headers of the current report
    Table &TPOZ;    // rows of the current document (header row and line rows)
    Table &KNAG;    // the whole document table, for numbering
    Table &TSLO;    // payment and payout descriptions of the current kind
    Table &TKONTA;  // accounts
    Table &TWALUTA; // currencies
};
