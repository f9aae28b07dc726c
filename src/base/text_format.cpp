#include "base/text_format.h"

#include "base/prompt.h"

#include <algorithm>
#include <cmath>

QString RemoveSpaces(const QString &text)
{
    QString result = text;
    result.remove(u' ');
    return result;
}

QString RepeatChar(QChar c, int count)
{
    return QString(std::max(count, 0), c);
}

QString PadRight(const QString &text, int width)
{
    width = std::max(width, 0);
    return text.left(width).leftJustified(width, u' ');
}

// The value is what stands before the first inner space, right-justified in zeros:
// "12" and " 12" give "00012" for width 5, "1 2" gives "00001", "123456" for width 3 gives "123".
QString ZeroPadLeft(const QString &text, int width)
{
    QString padded = PadRight(text, width);
    for (QChar &c : padded) {
        if (c != u' ')
            break;
        c = u'0';
    }
    const QString value = padded.left(padded.indexOf(u' '));
    return value.rightJustified(padded.size(), u'0');
}

// "1234567,89" gives "1 234 567,89"; a whole part whose length is a multiple of three gets a
// leading space ("123,45" gives " 123,45"), and a minus sign counts as a character.
QString GroupThousands(const QString &text)
{
    const qsizetype wholeLength = text.size() - 3;
    if (wholeLength <= 0)
        return text;
    QString result;
    result.reserve(text.size() + wholeLength / 3 + 1);
    for (qsizetype i = 0; i < wholeLength; ++i) {
        if ((wholeLength - i) % 3 == 0)
            result += u' ';
        result += text.at(i);
    }
    return result + text.right(3);
}

// Callers build the line long enough; a shorter one is extended with spaces rather than
// written past its end, and a column before the first drops what would fall outside the line.
QString PutAt(const QString &line, int p, const QString &t)
{
    QString piece = t;
    if (p < 1) {
        piece.remove(0, 1 - p);
        p = 1;
    }
    const qsizetype end = p - 1 + piece.size();
    QString result = line.size() < end ? line.leftJustified(end, u' ') : line;
    result.replace(p - 1, piece.size(), piece);
    return result;
}

namespace {

long double RoundHalfAwayExtended(long double x)
{
    const long double whole = std::trunc(x);
    const long double fraction = x - whole; // exact
    if (fraction >= 0.5L)
        return whole + 1;
    if (fraction <= -0.5L)
        return whole - 1;
    return whole;
}

} // namespace

double RoundHalfAway(double x)
{
    return double(RoundHalfAwayExtended(x));
}

// The product is taken in extended precision, so it is the exact product of the stored double:
// 1.005 is stored a little below the half and gives 1.00. The hundredths are then divided back,
// which gives the double nearest to the two-decimal result.
double RoundTo2(double x)
{
    const long double hundredths = RoundHalfAwayExtended(static_cast<long double>(x) * 100);
    return double(hundredths) / 100;
}

void ShowOpenError(Prompt &prompt, const QString &text)
{
    prompt.message(QStringLiteral("Błąd otwarcia bazy : ") + text);
}
