#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>
#include <stdexcept>

// Money arithmetic whose result does not fit the integer it is held in. Never wraps round.
class MoneyOverflow : public std::overflow_error {
public:
    MoneyOverflow() : std::overflow_error("money overflow") {}
};

// A money amount in ten-thousandths of the unit, held in an integer: sums are exact and rounding
// to hundredths is exact decimal rounding, halves away from zero.
class Money {
public:
    static constexpr qint64 kUnitsPerWhole = 10000;
    // The largest amount a field, a printout and the amount in words hold: 999 999 999 999,99.
    static constexpr qint64 kLargestAmountUnits = 999'999'999'999'9900;

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

    // Within ±999 999 999 999,99, the largest amount the program stores, prints and writes out.
    constexpr bool fitsAmount() const { return units_ >= -kLargestAmountUnits && units_ <= kLargestAmountUnits; }

    // The arithmetic throws MoneyOverflow rather than wrap round.
    constexpr Money operator-() const { return fromUnits(difference(0, units_)); }
    constexpr Money &operator+=(Money o) { units_ = sum(units_, o.units_); return *this; }
    constexpr Money &operator-=(Money o) { units_ = difference(units_, o.units_); return *this; }
    friend constexpr Money operator+(Money a, Money b) { return a += b; }
    friend constexpr Money operator-(Money a, Money b) { return a -= b; }
    friend constexpr Money operator*(Money a, qint64 k) { return fromUnits(product(a.units_, k)); }
    friend constexpr auto operator<=>(Money a, Money b) = default;
    friend constexpr bool operator==(Money a, Money b) = default;

private:
    static constexpr qint64 sum(qint64 a, qint64 b)
    {
        qint64 result = 0;
        if (__builtin_add_overflow(a, b, &result))
            throw MoneyOverflow();
        return result;
    }
    static constexpr qint64 difference(qint64 a, qint64 b)
    {
        qint64 result = 0;
        if (__builtin_sub_overflow(a, b, &result))
            throw MoneyOverflow();
        return result;
    }
    static constexpr qint64 product(qint64 a, qint64 b)
    {
        qint64 result = 0;
        if (__builtin_mul_overflow(a, b, &result))
            throw MoneyOverflow();
        return result;
    }
    qint64 units_ = 0;
};
