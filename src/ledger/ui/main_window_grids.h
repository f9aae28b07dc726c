#pragma once

#include "widgets/table_model.h"

#include <QColor>
#include <QList>
#include <optional>

class Table;

// The columns and colours of the main window's grids.

// The desk selector: SYMBOL and NAZWA.
QList<GridColumn> DeskSelectorColumns();
// The reports of the current desk; the two balances under the common title "WARTOŚĆ".
QList<GridColumn> ReportGridColumns();
// The documents of the current report. "Za co" and KONTO follow the parameter B3.
QList<GridColumn> DocumentGridColumns(bool accountsOnReport);
// The parameter B3: accounts go on the cash report printout, one account per document.
bool AccountsOnReport(const Table &parameters);
// B3 true: "Za co" 150 wide and the account shown; false: "Za co" 230 wide, no account.
void ShowAccountsOnReport(TableModel &documents, bool accountsOnReport);

// A closed report's "Stan" is orange; a negative closing balance red.
std::optional<QColor> ReportCellColour(const Table &report, const QString &field);
// The place, number and amount of a payout (KW, KWD, WZ, and a settlement paying out) are pale
// green.
std::optional<QColor> DocumentCellColour(const Table &document, const QString &field);

// Colours as RGB: a closed report orange, a negative balance red, a payout pale green.
inline const QColor kClosedReportColour(0xFF, 0x97, 0x2F);
inline const QColor kNegativeBalanceColour(0xFF, 0x00, 0x00);
inline const QColor kPayoutColour(0xC0, 0xDC, 0xC0);
