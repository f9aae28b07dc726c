#include "ledger/ui/currency_dictionary.h"

#include "ledger/cash_ledger.h"
#include "ledger/ui/qt_dialog_parts.h"
#include "store/table.h"
#include "widgets/table_grid.h"

#include <QLineEdit>
#include <QStyledItemDelegate>

namespace {

const QString kWordForms = QStringLiteral("OPIS WALUTY");

// The order number takes one digit.
class OrderNumberDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return MaskedLineEdit(QStringLiteral("9;1;_"), QStringLiteral("OrderNumberEdit"), parent);
    }
};

GridColumn WordForm(const char *field, const QString &title)
{
    GridColumn column{QString::fromLatin1(field), title};
    column.group = kWordForms;
    return column;
}

QList<GridColumn> CurrencyColumns()
{
    const QString one = QStringLiteral("JEDEN");
    const QString two = QStringLiteral("DWA");
    const QString ten = QString::fromUtf8("DZIESIĘĆ");
    return {{QStringLiteral("KOD"), QStringLiteral("KOL.")},
            {QStringLiteral("WALUTA"), QStringLiteral("OZNACZENIE WALUTY")},
            {QStringLiteral("L1"), QStringLiteral("JEDNOSTKA")},
            WordForm("Z1", one), WordForm("Z2", two), WordForm("Z3", ten),
            WordForm("G1", one), WordForm("G2", two), WordForm("G3", ten)};
}

QList<TableNavigator::Entry> EveryButton()
{
    using B = TableNavigator::Button;
    return {{B::First, NavigatorHint::First},   {B::Prior, NavigatorHint::Prior}, {B::Next, NavigatorHint::Next},
            {B::Last, NavigatorHint::Last},     {B::Insert, NavigatorHint::Insert}, {B::Delete, NavigatorHint::Delete},
            {B::Edit, NavigatorHint::Edit},     {B::Post, NavigatorHint::Post},   {B::Cancel, NavigatorHint::Cancel},
            {B::Refresh, NavigatorHint::Refresh}};
}

} // namespace

CurrencyDictionary::CurrencyDictionary(CashLedger &ledger, QWidget *parent)
    : TableDictionaryWindow(ledger.context().tables.TWALUTA, CurrencyColumns(), EveryButton(),
                            ledger.context().prompt, parent)
{
    setObjectName(QStringLiteral("CurrencyDictionary"));
    setWindowTitle(QString::fromUtf8("Słownik rodzajów waluty"));
    Grid->setItemDelegateForColumn(0, new OrderNumberDelegate(Grid));
    ledger.context().tables.TWALUTA.setDisplayFormat(QStringLiteral("L1"), QStringLiteral("### ### ##0.00"));
}
