#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

// A money amount in ten-thousandths of the unit, held in an integer: sums are exact and rounding
// to hundredths is exact decimal rounding, halves away from zero.
class Money {
public:
    static constexpr qint64 kUnitsPerWhole = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { Money m; m.units_ = units; return m; }
    static constexpr Money fromCents(qint64 cents) { return fromUnits(cents * 100); }
    // Nearest ten-thousandth, halves away from zero.
    static Money fromDouble(double value);
    // Accepts "1234,56", "1 234,56", "-12.5", "  7 "; "," or "." as the decimal separator,
    // spaces (also non-breaking) between digit groups. At most four decimals are kept exactly;
    // further decimals are rounded half away. Empty or malformed text gives nullopt.
    static std::optional<Money> parse(const QString &text);

    constexpr qint64 units() const { return units_; }
    double toDouble() const { return double(units_) / kUnitsPerWhole; }
    constexpr bool isZero() const { return units_ == 0; }
    constexpr bool isNegative() const { return units_ < 0; }

    // Rounded to hundredths, halves away from zero.
    Money roundedTo2() const;

    // Two decimals (rounded), "," as decimal separator, no grouping: "-1234,50".
    QString toString() const;
    // Two decimals (rounded), "," as decimal separator, thousands separated by spaces: "1 234,50".
    QString toGroupedString() const;

    constexpr Money operator-() const { return fromUnits(-units_); }
    constexpr Money &operator+=(Money o) { units_ += o.units_; return *this; }
    constexpr Money &operator-=(Money o) { units_ -= o.units_; return *this; }
    friend constexpr Money operator+(Money a, Money b) { return fromUnits(a.units_ + b.units_); }
    friend constexpr Money operator-(Money a, Money b) { return fromUnits(a.units_ - b.units_); }
    friend constexpr Money operator*(Money a, qint64 k) { return fromUnits(a.units_ * k); }
    friend constexpr auto operator<=>(Money a, Money b) = default;
    friend constexpr bool operator==(Money a, Money b) = default;

private:
    qint64 units_ = 0;
};
