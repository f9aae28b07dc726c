#pragma once

#include "ledger/small_dialogs.h"

#include <QDialog>

class Clock;
class Kalendarz;
class KalendarzDateField;
class Prompt;

// "Stan kasy na dzień": "Podaj dzień", a date field with its calendar button, Abort and Yes.
class QtCashStateDateDialog final : public QDialog, public CashStateDateDialog {
    Q_OBJECT

public:
    QtCashStateDateDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent = nullptr);

    std::optional<QDate> askDay(QDate preset) override;

    KalendarzDateField *Day;

public slots:
    // Yes: only with a date in the field.
    void accept() override;

private:
    Prompt &prompt_;
};
