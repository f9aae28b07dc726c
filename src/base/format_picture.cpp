#include "base/decimal_digits.h"
#include "base/text_format.h"

#include <cmath>

namespace {

bool IsDigitPosition(QChar c) { return c == u'#' || c == u'9'; }
bool IsDecimalMark(QChar c) { return c == u',' || c == u'.'; }

struct MaskShape {
    int positions = 0; // "#" and "9" places
    int decimals = 0;  // places after the last decimal mark
};

MaskShape ShapeOf(const QString &mask)
{
    MaskShape shape;
    int sinceMark = 0;
    bool hasMark = false;
    for (QChar c : mask) {
        if (IsDigitPosition(c)) {
            ++shape.positions;
            ++sinceMark;
        } else if (IsDecimalMark(c)) {
            hasMark = true;
            sinceMark = 0;
        }
    }
    shape.decimals = hasMark ? sinceMark : 0;
    return shape;
}

// x with exactly `decimals` decimals, rounded half away from zero on its exact decimal value,
// without the point: one character per digit position. A negative x keeps its "-" even when
// nothing but zeros is left ("-000" for -0.001 with two decimals).
QString DigitsOf(double x, int decimals)
{
    const DecimalDigits rounded = RoundDecimalDigits(ExactDecimalDigits(x), decimals);
    QString text = x < 0 ? QStringLiteral("-") : QString();
    text += QString::fromLatin1(rounded.whole);
    text += QString::fromLatin1(rounded.fraction);
    return text;
}

QString Fill(const QString &mask, const QString &digits)
{
    QString result;
    result.reserve(mask.size());
    int next = 0;
    bool leadingZeros = true;
    for (QChar position : mask) {
        if (!IsDigitPosition(position)) {
            result += position;
            continue;
        }
        const QChar c = digits.at(next++);
        if (c != u'0')
            leadingZeros = false;
        result += (leadingZeros && c == u'0' && position == u'#') ? QChar(u' ') : c;
    }
    return result;
}

} // namespace

// Digit positions are filled from the right with x written to the mask's decimals; "#" shows a
// blank for a leading zero, "9" always a digit; the minus sign takes a position of its own.
// A number that does not fit shows "#" in every digit position. Decimal marks and every other
// character of the mask are copied as they stand.
QString FormatPicture(const QString &mask, double x)
{
    const MaskShape shape = ShapeOf(mask);
    QString digits = std::isfinite(x) ? DigitsOf(x, shape.decimals) : QString();
    if (!std::isfinite(x) || digits.size() > shape.positions)
        digits = QString(shape.positions, u'#');
    else
        digits = QString(shape.positions - digits.size(), u'0') + digits;
    return Fill(mask, digits);
}
