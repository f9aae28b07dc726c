#pragma once

#include "ledger/cash_day_dialog.h"

#include <QDialog>

class Clock;
class Kalendarz;
class KalendarzDateField;
class Prompt;

// "Stan kasy na dzień": "Podaj dzień", a date field with its calendar button, Abort and Yes.
class QtCashDayDialog final : public QDialog, public CashDayDialog {
    Q_OBJECT

public:
    QtCashDayDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent = nullptr);

    std::optional<QString> askDay(const QString &presetDate) override;

    KalendarzDateField *Day;

public slots:
    // Yes: only with a date in the field.
    void accept() override;

private:
    Prompt &prompt_;
};
