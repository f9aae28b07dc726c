#pragma once

#include <QString>

// What the ledger's rules change in the windows. The main window hands one over when it is
// created; until then (and in tests that do not need it) the rules leave the windows alone.
// Every method has an empty default, so a window implements only what it shows.
class LedgerView {
public:
    virtual ~LedgerView() = default;

    // Fourth panel of the main window's status bar.
    virtual void showCashState(const QString &text) { (void)text; }
    // "Słownik kas": a desk's symbol can be changed only while it has no reports.
    virtual void setDeskSymbolEditable(bool editable) { (void)editable; }
    // Report grid: a report's number can be changed only while it has no documents.
    virtual void setReportNumberEditable(bool editable) { (void)editable; }
    // A new report was appended: in-place editing of the report grid on, "Edycja" highlighted.
    virtual void startReportEditing() {}
    // "Brak zdefiniowanej kasy." answered Yes: show "Słownik kas".
    virtual void openCashDeskDictionary() {}
    // RZ editor: "Do zwrotu :" or "Do wypłaty :" after every settlement.
    virtual void showSettlementLabel(const QString &label) { (void)label; }
};
