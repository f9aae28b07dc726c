#pragma once

#include "ledger/ui/table_dictionary.h"

class CashLedger;

// "Słownik opisu wpłaty" / "Słownik opisu wypłaty": the descriptions of one kind of document
// ("OPIS" and CENA, the default amount); a description added here belongs to that kind.
class DescriptionDictionary final : public TableDictionaryWindow {
    Q_OBJECT

public:
    explicit DescriptionDictionary(CashLedger &ledger, QWidget *parent = nullptr);

    // "KP" for payments, "KW" for payouts; becomes the current kind of document.
    int showKind(const QString &kind);

private:
    CashLedger &ledger_;
};
