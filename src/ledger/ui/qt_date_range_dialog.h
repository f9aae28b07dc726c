#pragma once

#include "ledger/small_dialogs.h"

#include <QDialog>

class Clock;
class Kalendarz;
class KalendarzDateField;
class Prompt;

// The date range of the period listings, titled by the listing: "Data od :" and "data do :",
// each with its calendar button, Abort and Yes. The first time the fields show the preset; later
// they keep the dates they held when the dialog last closed.
class QtDateRangeDialog final : public QDialog, public DateRangeDialog {
    Q_OBJECT

public:
    QtDateRangeDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent = nullptr);

    std::optional<DateRange> askDates(const QString &caption, DateRange preset) override;

    KalendarzDateField *From;
    KalendarzDateField *To;

public slots:
    // Yes: only with a date in both fields.
    void accept() override;

private:
    Prompt &prompt_;
    bool used_ = false;
};
