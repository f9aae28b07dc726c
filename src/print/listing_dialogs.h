#pragma once

#include <QString>
#include <optional>

// Two dates as typed, yyyy-mm-dd.
struct DateRangeTexts {
    QString from;
    QString to;
    friend bool operator==(const DateRangeTexts &, const DateRangeTexts &) = default;
};

// The date-range dialog of the period listings: "Data od :" and "data do :", each with a
// calendar button. It keeps the last dates for the next listing of the run.
class DateRangeDialog {
public:
    virtual ~DateRangeDialog() = default;
    // The two dates after "Tak", nothing otherwise. On the first use of a run the fields start
    // with firstPreset, later with what they held when last closed.
    virtual std::optional<DateRangeTexts> askDateRange(const QString &caption, const DateRangeTexts &firstPreset) = 0;
};

// Two amounts as typed; the listing reads them itself.
struct AmountRangeTexts {
    QString from;
    QString to;
    friend bool operator==(const AmountRangeTexts &, const AmountRangeTexts &) = default;
};

// "Zakres kwot": "Kwota od :" and "Kwota do :". Empty on the first use of a run, later the
// texts last shown.
class AmountRangeDialog {
public:
    virtual ~AmountRangeDialog() = default;
    // The two texts after "Tak", nothing otherwise.
    virtual std::optional<AmountRangeTexts> askAmountRange() = 0;
    // The texts the listing works with (spaces removed) go back into the fields.
    virtual void showAmountRange(const AmountRangeTexts &texts) = 0;
};
