#include "ledger/ui/account_dictionary.h"

#include "ledger/cash_ledger.h"

namespace {

QList<TableNavigator::Entry> AccountButtons()
{
    using B = TableNavigator::Button;
    return {{B::Prior, NavigatorHint::Prior}, {B::Next, NavigatorHint::Next}, {B::Insert, NavigatorHint::Insert},
            {B::Delete, NavigatorHint::Delete}, {B::Post, NavigatorHint::Post}};
}

} // namespace

AccountDictionary::AccountDictionary(CashLedger &ledger, QWidget *parent)
    : TableDictionaryWindow(ledger.context().tables.TKONTA,
                            {{QStringLiteral("KOD"), QStringLiteral("KONTO")}, {QStringLiteral("NAZWA")}},
                            AccountButtons(), ledger.context().prompt, parent)
{
    setObjectName(QStringLiteral("AccountDictionary"));
    setWindowTitle(QStringLiteral("Konta"));
}
