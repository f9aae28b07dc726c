#pragma once

#include "ledger/ui/table_dictionary.h"

class CashLedger;

// "Konta": the accounts, "KONTO" and NAZWA; an account number is taken once.
class AccountDictionary final : public TableDictionaryWindow {
    Q_OBJECT

public:
    explicit AccountDictionary(CashLedger &ledger, QWidget *parent = nullptr);
};
