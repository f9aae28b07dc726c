#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Ports of the small dialogs the listings share; the windows implement them with Qt dialogs.

// "Stan kasy na dzień": "Podaj dzień", preset to today; the date when it ends with Yes.
class CashStateDateDialog {
public:
    virtual ~CashStateDateDialog() = default;
    virtual std::optional<QDate> askDay(QDate preset) = 0;
};

// The date-range dialog ("Data od :", "data do :"), titled by its caller; both dates when it
// ends with Yes.
struct DateRange {
    QDate from;
    QDate to;
};
class DateRangeDialog {
public:
    virtual ~DateRangeDialog() = default;
    virtual std::optional<DateRange> askDates(const QString &caption, DateRange preset) = 0;
};

// "Zakres kwot": "Kwota od :" and "Kwota do :" as typed, when it ends with Yes.
struct AmountRangeTexts {
    QString from;
    QString to;
};
class AmountRangeDialog {
public:
    virtual ~AmountRangeDialog() = default;
    virtual std::optional<AmountRangeTexts> askAmounts() = 0;
};
