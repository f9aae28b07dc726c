#pragma once

#include "print/listing_dialogs.h"

#include <QDialog>

class Clock;
class Kalendarz;
class KalendarzDateField;
class Prompt;

// The date range of the period listings, titled by the listing: "Data od :" and "data do :",
// each with its calendar button, Abort and Yes. Keeps the dates for the next listing.
class QtDateRangeDialog final : public QDialog, public DateRangeDialog {
    Q_OBJECT

public:
    QtDateRangeDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent = nullptr);

    std::optional<DateRangeTexts> askDateRange(const QString &caption, const DateRangeTexts &firstPreset) override;

    KalendarzDateField *From;
    KalendarzDateField *To;

public slots:
    // Yes: only with a date in both fields.
    void accept() override;

private:
    Prompt &prompt_;
    bool used_ = false;
};
