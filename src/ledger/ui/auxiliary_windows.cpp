#include "ledger/ui/auxiliary_windows.h"

#include "ledger/cash_ledger.h"
#include "ledger/ui/account_dictionary.h"
#include "ledger/ui/cash_desk_dictionary.h"
#include "ledger/ui/currency_dictionary.h"
#include "ledger/ui/description_dictionary.h"
#include "ledger/ui/calendar_dialog.h"
#include "ledger/ui/qt_amount_range_dialog.h"
#include "ledger/ui/qt_cash_state_date_dialog.h"
#include "ledger/ui/qt_date_range_dialog.h"
#include "ledger/ui/qt_month_dialog.h"
#include "ledger/ui/qt_renumber_dialogs.h"

LedgerAuxiliaryWindows::LedgerAuxiliaryWindows(CashLedger &ledger, const Clock &clock, QWidget *parent)
    : ledger_(ledger)
    , clock_(clock)
    , prompt_(ledger.context().prompt)
    , parent_(parent)
{
}

LedgerAuxiliaryWindows::~LedgerAuxiliaryWindows()
{
    // Windows the parent has already taken with it are gone from the list by now.
    for (const QPointer<QWidget> &window : std::as_const(created_))
        delete window.data();
}

template <typename Window, typename Make> Window &LedgerAuxiliaryWindows::created(QPointer<Window> &window, Make make)
{
    if (!window) {
        window = make();
        created_.append(window.data());
    }
    return *window;
}

CashDeskDictionary &LedgerAuxiliaryWindows::cashDeskDictionary()
{
    return created(cashDesks_, [&] { return new CashDeskDictionary(ledger_, parent_); });
}

AccountDictionary &LedgerAuxiliaryWindows::accountDictionary()
{
    return created(accounts_, [&] { return new AccountDictionary(ledger_, parent_); });
}

DescriptionDictionary &LedgerAuxiliaryWindows::descriptionDictionary()
{
    return created(descriptions_, [&] { return new DescriptionDictionary(ledger_, parent_); });
}

CurrencyDictionary &LedgerAuxiliaryWindows::currencyDictionary()
{
    return created(currencies_, [&] { return new CurrencyDictionary(ledger_, parent_); });
}

Kalendarz &LedgerAuxiliaryWindows::kalendarz()
{
    return created(kalendarz_, [&] { return new Kalendarz(parent_); });
}

void LedgerAuxiliaryWindows::openCashDeskDictionary()
{
    cashDeskDictionary().showModal();
}

void LedgerAuxiliaryWindows::openAccountDictionary()
{
    accountDictionary().showModal();
}

void LedgerAuxiliaryWindows::openDescriptionDictionary(const QString &kind)
{
    descriptionDictionary().showKind(kind);
}

void LedgerAuxiliaryWindows::openCurrencyDictionary()
{
    currencyDictionary().showModal();
}

std::optional<QDate> LedgerAuxiliaryWindows::askCalendarDate(QWidget *anchor, QDate initial)
{
    if (anchor)
        return kalendarz().choose(initial, Kalendarz::PlaceBelow(*anchor));
    return kalendarz().choose(initial, std::nullopt);
}

MonthDialog &LedgerAuxiliaryWindows::monthDialog()
{
    return created(month_, [&] { return new QtMonthDialog(parent_); });
}

RenumberDialog &LedgerAuxiliaryWindows::renumberDialog()
{
    return created(renumber_, [&] { return new QtRenumberDialog(parent_); });
}

NumberChangeDialog &LedgerAuxiliaryWindows::numberChangeDialog()
{
    return created(numberChange_, [&] { return new QtNumberChangeDialog(parent_); });
}

CashStateDateDialog &LedgerAuxiliaryWindows::cashStateDateDialog()
{
    return created(cashStateDate_, [&] { return new QtCashStateDateDialog(kalendarz(), clock_, prompt_, parent_); });
}

DateRangeDialog &LedgerAuxiliaryWindows::dateRangeDialog()
{
    return created(dateRange_, [&] { return new QtDateRangeDialog(kalendarz(), clock_, prompt_, parent_); });
}

AmountRangeDialog &LedgerAuxiliaryWindows::amountRangeDialog()
{
    return created(amountRange_, [&] { return new QtAmountRangeDialog(parent_); });
}

void LedgerAuxiliaryWindows::setDeskSymbolEditable(bool editable)
{
    if (cashDesks_)
        cashDesks_->setDeskSymbolEditable(editable);
}
