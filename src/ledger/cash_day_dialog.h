#pragma once

#include <QString>
#include <optional>

// "Stan kasy na dzień": "Podaj dzień" with a date field (yyyy-mm-dd) and a calendar button.
class CashDayDialog {
public:
    virtual ~CashDayDialog() = default;
    // The date as typed (yyyy-mm-dd) after "Tak", nothing otherwise. The field starts with the
    // given date.
    virtual std::optional<QString> askDay(const QString &presetDate) = 0;
};
