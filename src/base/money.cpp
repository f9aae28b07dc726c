#include "base/money.h"

#include "base/decimal_digits.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace {

constexpr int kDecimals = 4;

bool IsAsciiDigits(QStringView text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool IsGroupSpace(QChar c)
{
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

// "1 234 567" or "1234567": digits, optionally in groups of three after a first group of one to
// three, separated by single spaces. Gives the digits without the spaces, or nullopt.
std::optional<QString> WholeDigits(const QString &text)
{
    QStringList groups{QString()};
    for (QChar c : text) {
        if (IsGroupSpace(c))
            groups.append(QString());
        else
            groups.last() += c;
    }
    if (groups.size() > 1) {
        if (groups.first().isEmpty() || groups.first().size() > 3)
            return std::nullopt;
        for (qsizetype i = 1; i < groups.size(); ++i)
            if (groups[i].size() != 3)
                return std::nullopt;
    }
    const QString digits = groups.join(QString());
    if (!IsAsciiDigits(digits))
        return std::nullopt;
    return digits;
}

// Ten-thousandths of the decimal number, or nullopt when they do not fit in 64 bits.
std::optional<qint64> UnitsOf(const DecimalDigits &digits, bool negative)
{
    const DecimalDigits rounded = RoundDecimalDigits(digits, kDecimals);
    qint64 magnitude = 0;
    for (char c : rounded.whole + rounded.fraction) {
        if (__builtin_mul_overflow(magnitude, 10, &magnitude)
            || __builtin_add_overflow(magnitude, c - '0', &magnitude))
            return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

// Whole units with "," and two decimals; `grouped` puts a space between groups of three.
QString Format(Money amount, bool grouped)
{
    const qint64 cents = amount.roundedTo2().units() / 100;
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    QString whole = QString::number(magnitude / 100);
    if (grouped)
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, u' ');
    return (cents < 0 ? QStringLiteral("-") : QString()) + whole + u','
           + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QChar(u'0'));
}

} // namespace

// A double stands for the decimal it was typed as, so it is taken at its shortest decimal
// text (2.675 is 2.6750, not the binary value just below it). Not-a-number gives zero and
// amounts beyond the 64-bit range are held at its ends.
Money Money::fromDouble(double value)
{
    if (std::isnan(value))
        return Money();
    if (std::isfinite(value)) {
        if (const auto units = UnitsOf(ShortestDecimalDigits(value), value < 0))
            return fromUnits(*units);
    }
    return fromUnits(value < 0 ? std::numeric_limits<qint64>::min() + 1
                               : std::numeric_limits<qint64>::max());
}

std::optional<Money> Money::parse(const QString &text)
{
    QString rest = text.trimmed();
    const bool negative = rest.startsWith(u'-');
    if (negative || rest.startsWith(u'+'))
        rest.remove(0, 1);
    if (rest.count(u',') + rest.count(u'.') > 1)
        return std::nullopt;
    qsizetype point = rest.indexOf(u',');
    if (point < 0)
        point = rest.indexOf(u'.');
    const QString fraction = point < 0 ? QString() : rest.mid(point + 1);
    const auto whole = WholeDigits(rest.left(point < 0 ? rest.size() : point));
    if (!whole || !IsAsciiDigits(fraction) || (whole->isEmpty() && fraction.isEmpty()))
        return std::nullopt;
    DecimalDigits digits;
    digits.whole = whole->isEmpty() ? "0" : whole->toStdString();
    digits.fraction = fraction.toStdString();
    const auto units = UnitsOf(digits, negative);
    if (!units)
        return std::nullopt;
    return fromUnits(*units);
}

Money Money::roundedTo2() const
{
    constexpr qint64 kUnitsPerCent = kUnitsPerWhole / 100;
    qint64 cents = units_ / kUnitsPerCent;
    const qint64 rest = units_ % kUnitsPerCent;
    if (rest >= kUnitsPerCent / 2)
        ++cents;
    else if (rest <= -kUnitsPerCent / 2)
        --cents;
    return fromUnits(cents * kUnitsPerCent);
}

QString Money::toString() const
{
    return Format(*this, false);
}

QString Money::toGroupedString() const
{
    return Format(*this, true);
}
