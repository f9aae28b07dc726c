#include "store/display_format.h"

#include <QRegularExpression>
#include <cmath>

namespace {

struct NumberFormat {
    int minWholeDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouped = false;
};

NumberFormat ParseFormat(const QString &format)
{
    NumberFormat parsed;
    const qsizetype point = format.lastIndexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? format : format.left(point);
    const QString decimals = point < 0 ? QString() : format.mid(point + 1);
    parsed.minWholeDigits = int(whole.count(QLatin1Char('0')));
    const qsizetype firstDigit = whole.indexOf(QRegularExpression(QStringLiteral("[0#]")));
    parsed.grouped = firstDigit >= 0
                     && (whole.indexOf(QLatin1Char(' '), firstDigit) >= 0 || whole.indexOf(QLatin1Char(','), firstDigit) >= 0);
    parsed.minDecimals = int(decimals.count(QLatin1Char('0')));
    parsed.maxDecimals = parsed.minDecimals + int(decimals.count(QLatin1Char('#')));
    return parsed;
}

QString Grouped(QString digits)
{
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

// The magnitude given as whole digits and decimal digits (exactly maxDecimals of them).
QString Compose(const NumberFormat &format, bool negative, QString whole, QString decimals)
{
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole == QLatin1String("0") && format.minWholeDigits == 0)
        whole.clear();
    while (whole.size() < format.minWholeDigits)
        whole.prepend(QLatin1Char('0'));
    while (decimals.size() > format.minDecimals && decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    const bool zero = !whole.contains(QRegularExpression(QStringLiteral("[1-9]")))
                      && !decimals.contains(QRegularExpression(QStringLiteral("[1-9]")));
    QString text = format.grouped ? Grouped(whole) : whole;
    if (!decimals.isEmpty())
        text += QLatin1Char(',') + decimals;
    if (text.isEmpty())
        text = QStringLiteral("0");
    return negative && !zero ? QLatin1Char('-') + text : text;
}

} // namespace

QString FormatDisplayNumber(const QString &format, Money amount)
{
    const NumberFormat parsed = ParseFormat(format);
    if (parsed.maxDecimals > 4)
        return FormatDisplayNumber(format, amount.toDouble());
    // Round the ten-thousandths to the shown decimals, halves away from zero.
    qint64 step = 1;
    for (int i = parsed.maxDecimals; i < 4; ++i)
        step *= 10;
    const qint64 units = amount.units();
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    const quint64 rounded = (magnitude + quint64(step) / 2) / quint64(step);
    quint64 scale = 1;
    for (int i = 0; i < parsed.maxDecimals; ++i)
        scale *= 10;
    const QString decimals = parsed.maxDecimals == 0
                                 ? QString()
                                 : QStringLiteral("%1").arg(rounded % scale, parsed.maxDecimals, 10, QLatin1Char('0'));
    return Compose(parsed, units < 0, QString::number(rounded / scale), decimals);
}

QString FormatDisplayNumber(const QString &format, double number)
{
    const NumberFormat parsed = ParseFormat(format);
    if (parsed.maxDecimals <= 4 && std::fabs(number) < 9e13)
        return FormatDisplayNumber(format, Money::fromDouble(number));
    const QString text = QString::number(std::fabs(number), 'f', parsed.maxDecimals);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return Compose(parsed, number < 0, point < 0 ? text : text.left(point), point < 0 ? QString() : text.mid(point + 1));
}
