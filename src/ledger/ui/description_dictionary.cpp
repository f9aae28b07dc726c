#include "ledger/ui/description_dictionary.h"

#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/dictionary_rules.h"
#include "store/table.h"

namespace {

QList<TableNavigator::Entry> DescriptionButtons()
{
    using B = TableNavigator::Button;
    return {{B::First, NavigatorHint::First}, {B::Last, NavigatorHint::Last},    {B::Insert, NavigatorHint::Insert},
            {B::Delete, NavigatorHint::Delete}, {B::Edit, NavigatorHint::Edit}, {B::Post, NavigatorHint::Post},
            {B::Cancel, NavigatorHint::Cancel}};
}

} // namespace

DescriptionDictionary::DescriptionDictionary(CashLedger &ledger, QWidget *parent)
    : TableDictionaryWindow(ledger.context().tables.TSLO,
                            {{QStringLiteral("NAZWA"), QStringLiteral("OPIS")}, {QStringLiteral("CENA")}},
                            DescriptionButtons(), ledger.context().prompt, parent)
    , ledger_(ledger)
{
    setObjectName(QStringLiteral("DescriptionDictionary"));
    // The default amount reads as money, like every amount in the program's grids.
    ledger.context().tables.TSLO.setDisplayFormat(QStringLiteral("CENA"), QStringLiteral("### ### ##0.00"));
}

int DescriptionDictionary::showKind(const QString &kind)
{
    ledger_.documents().setCurrentKind(kind);
    setWindowTitle(DescriptionDictionaryCaption(ledger_.context().state.BiezacyRD));
    return showModal();
}
