#pragma once

#include "ledger/ui/main_window_commands.h"

#include <QList>
#include <QPointer>

class AccountDictionary;
class CashDeskDictionary;
class CashLedger;
class Clock;
class CurrencyDictionary;
class DescriptionDictionary;
class Kalendarz;
class Prompt;
class QtAmountRangeDialog;
class QtCashStateDateDialog;
class QtDateRangeDialog;
class QtMonthDialog;
class QtNumberChangeDialog;
class QtRenumberDialog;
class AmountRangeDialog;
class DateRangeDialog;

// The dictionaries, the calendar and the small dialogs of the ledger as real windows. Each is
// created on first use (over the given parent) and kept until this object goes.
class LedgerAuxiliaryWindows final : public AuxiliaryWindows {
public:
    LedgerAuxiliaryWindows(CashLedger &ledger, const Clock &clock, QWidget *parent = nullptr);
    ~LedgerAuxiliaryWindows() override;
    LedgerAuxiliaryWindows(const LedgerAuxiliaryWindows &) = delete;
    LedgerAuxiliaryWindows &operator=(const LedgerAuxiliaryWindows &) = delete;

    void openCashDeskDictionary() override;
    void openAccountDictionary() override;
    void openDescriptionDictionary(const QString &kind) override;
    void openCurrencyDictionary() override;
    // Without an anchor the calendar opens in the middle of the screen.
    std::optional<QDate> askCalendarDate(QWidget *anchor, QDate initial) override;

    MonthDialog &monthDialog() override;
    RenumberDialog &renumberDialog() override;
    NumberChangeDialog &numberChangeDialog() override;
    CashStateDateDialog &cashStateDateDialog() override;
    DateRangeDialog &dateRangeDialog() override;
    AmountRangeDialog &amountRangeDialog() override;

    void setDeskSymbolEditable(bool editable) override;

    // The windows themselves.
    CashDeskDictionary &cashDeskDictionary();
    AccountDictionary &accountDictionary();
    DescriptionDictionary &descriptionDictionary();
    CurrencyDictionary &currencyDictionary();
    Kalendarz &kalendarz();

private:
    template <typename Window, typename Make> Window &created(QPointer<Window> &window, Make make);

    CashLedger &ledger_;
    const Clock &clock_;
    Prompt &prompt_;
    QWidget *parent_;
    QList<QPointer<QWidget>> created_;

    QPointer<CashDeskDictionary> cashDesks_;
    QPointer<AccountDictionary> accounts_;
    QPointer<DescriptionDictionary> descriptions_;
    QPointer<CurrencyDictionary> currencies_;
    QPointer<Kalendarz> kalendarz_;
    QPointer<QtMonthDialog> month_;
    QPointer<QtRenumberDialog> renumber_;
    QPointer<QtNumberChangeDialog> numberChange_;
    QPointer<QtCashStateDateDialog> cashStateDate_;
    QPointer<QtDateRangeDialog> dateRange_;
    QPointer<QtAmountRangeDialog> amountRange_;
};
