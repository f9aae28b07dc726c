#include "ledger/ui/cash_desk_dictionary.h"

#include "ledger/cash_ledger.h"
#include "ledger/dictionary_rules.h"
#include "ledger/ledger_queries.h"

#include <QToolButton>

namespace {

const QString kSymbol = QStringLiteral("SYMBOL");
const QString kCurrency = QStringLiteral("A2");

QList<GridColumn> DeskColumns()
{
    GridColumn currency{kCurrency, QStringLiteral("WALUTA")};
    currency.pickListOnly = true;
    return {{kSymbol, QStringLiteral("SYMBOL")}, {QStringLiteral("NAZWA"), QStringLiteral("OPIS")}, currency};
}

QList<TableNavigator::Entry> DeskButtons()
{
    using B = TableNavigator::Button;
    return {{B::Insert, NavigatorHint::Insert}, {B::Delete, NavigatorHint::Delete},
            {B::Post, NavigatorHint::Post}, {B::Cancel, NavigatorHint::Cancel}};
}

} // namespace

CashDeskDictionary::CashDeskDictionary(CashLedger &ledger, QWidget *parent)
    : TableDictionaryWindow(ledger.context().tables.TKASA, DeskColumns(), DeskButtons(), ledger.context().prompt, parent)
    , ledger_(ledger)
{
    setObjectName(QStringLiteral("CashDeskDictionary"));
    setWindowTitle(QString::fromUtf8("Słownik kas"));

    // The desk's own refusal comes before the navigator's question.
    QToolButton *deleteButton = Navigator->button(TableNavigator::Button::Delete);
    disconnect(deleteButton, &QToolButton::clicked, nullptr, nullptr);
    connect(deleteButton, &QToolButton::clicked, this, &CashDeskDictionary::deleteDesk);

    LedgerTables &tables = ledger_.context().tables;
    tables.TKASA.addListener(this);
    tables.TRKASA.addListener(this);
}

CashDeskDictionary::~CashDeskDictionary()
{
    LedgerTables &tables = ledger_.context().tables;
    tables.TKASA.removeListener(this);
    tables.TRKASA.removeListener(this);
}

void CashDeskDictionary::setDeskSymbolEditable(bool editable)
{
    model().setColumnReadOnly(kSymbol, !editable);
}

void CashDeskDictionary::prepareToShow()
{
    model().setPickList(kCurrency, FieldValues(ledger_.context().tables.TWALUTA, QStringLiteral("WALUTA")));
    followCurrentDesk();
}

// The rule follows the current desk: a new desk has no reports yet; otherwise the symbol is
// decided once the reports have followed the desk (after a move, a post or a cancel).
void CashDeskDictionary::tableChanged(Table &table, TableChange change)
{
    const LedgerTables &tables = ledger_.context().tables;
    const bool deskStateChanged = &table == &tables.TKASA && change == TableChange::State;
    const bool reportsFollowed = &table == &tables.TRKASA && change == TableChange::DataSet;
    if (deskStateChanged || reportsFollowed)
        followCurrentDesk();
}

void CashDeskDictionary::followCurrentDesk()
{
    const LedgerTables &tables = ledger_.context().tables;
    if (tables.TKASA.state() == TableState::Insert) {
        setDeskSymbolEditable(true);
        return;
    }
    Guarded([&] { setDeskSymbolEditable(!DeskHasReports(tables)); });
}

void CashDeskDictionary::deleteDesk()
{
    const bool newDesk = table_.state() == TableState::Insert;
    if (!newDesk && !ledger_.desks().mayDeleteFromDictionary())
        return;
    Navigator->run(TableNavigator::Button::Delete);
}
