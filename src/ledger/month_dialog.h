#pragma once

#include <QString>
#include <optional>

// "Raport miesięczny": "Miesiąc :" with the months "01" to "12", preset to the given month.
class MonthDialog {
public:
    virtual ~MonthDialog() = default;
    // The chosen month as two digits, or nothing when the dialog ends with anything but OK.
    virtual std::optional<QString> askMonth(const QString &presetMonth) = 0;
};
