#pragma once

#include "ledger/ui/table_dictionary.h"

class CashLedger;

// "Słownik rodzajów waluty": the currencies, their order numbers, codes and units, and the word
// forms of the main unit and of the hundredth used when amounts are written out.
class CurrencyDictionary final : public TableDictionaryWindow {
    Q_OBJECT

public:
    explicit CurrencyDictionary(CashLedger &ledger, QWidget *parent = nullptr);
};
