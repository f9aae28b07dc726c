#pragma once

class Table;
struct TableHelperContext;

// Rebuilds an open company table that has fewer fields than the current structure: every row is
// carried over into the current field list (the account number parts joined into NUM1, the bank
// address taken from ZAPAS1, the tax office and capital from the fields that held them in older
// versions) and the table's structure listing is removed, so a fresh one gets written. Fields of
// the suite's other programs go along untouched; values that had to be shortened are listed to
// the user. The work holds the table to itself: another program keeping it open is told about
// and the table stays as it is, and a table another program rebuilt meanwhile is left alone. A
// table the user keeps read-only is not rebuilt. The new table is built beside the old one and
// takes its place only when complete; when anything fails the old table stays as it was. The
// table is open again afterwards, on its first row.
void UpgradeCompanyTable(Table &company, TableHelperContext &context);

// Gives an open parameter table without L5 the fields L4, L5, ADATA and ACYKL: the table is built
// again as "TEMP.DB" in the working folder with its row copied, login switched off (L4 = 0),
// L5 = 0, ACYKL = 0 and ADATA the first day "00" of this month, then takes the old table's
// place. When the new table cannot be made, the old one stays unchanged. The table is open again
// afterwards.
void UpgradeParameterTable(Table &parameters, TableHelperContext &context);
