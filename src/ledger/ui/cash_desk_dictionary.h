#pragma once

#include "ledger/ui/table_dictionary.h"
#include "store/table.h"

class CashLedger;

// "Słownik kas": the cash desks with "SYMBOL", "OPIS" and "WALUTA" (a currency of the currency
// dictionary). A desk's symbol can be changed only while the desk has no reports, and a desk
// with reports cannot be deleted.
class CashDeskDictionary final : public TableDictionaryWindow, private TableListener {
    Q_OBJECT

public:
    CashDeskDictionary(CashLedger &ledger, QWidget *parent = nullptr);
    ~CashDeskDictionary() override;

    void setDeskSymbolEditable(bool editable);

protected:
    void prepareToShow() override;

private:
    void tableChanged(Table &table, TableChange change) override;
    void followCurrentDesk();
    void deleteDesk();

    CashLedger &ledger_;
};
