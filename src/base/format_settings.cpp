#include "base/format_settings.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

FormatSettings ProgramSettings()
{
    FormatSettings s;
    s.shortMonthNames = {u"sty"_s, u"lut"_s, u"mar"_s, u"kwi"_s, u"maj"_s, u"cze"_s,
                         u"lip"_s, u"sie"_s, u"wrz"_s, u"paź"_s, u"lis"_s, u"gru"_s};
    s.longMonthNames = {u"styczeń"_s,  u"luty"_s,    u"marzec"_s,      u"kwiecień"_s,
                        u"maj"_s,      u"czerwiec"_s, u"lipiec"_s,     u"sierpień"_s,
                        u"wrzesień"_s, u"październik"_s, u"listopad"_s, u"grudzień"_s};
    s.shortDayNames = {u"N"_s, u"Pn"_s, u"Wt"_s, u"Śr"_s, u"Cz"_s, u"Pt"_s, u"So"_s};
    s.longDayNames = {u"niedziela"_s, u"poniedziałek"_s, u"wtorek"_s, u"środa"_s,
                      u"czwartek"_s,  u"piątek"_s,       u"sobota"_s};
    return s;
}

QString TwoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0'));
}

// QDate counts Monday as 1 and Sunday as 7; the name tables start on Sunday.
int SundayFirstIndex(QDate date)
{
    return date.dayOfWeek() % 7;
}

} // namespace

const FormatSettings &formatSettings()
{
    static const FormatSettings settings = ProgramSettings();
    return settings;
}

// Our own formatting never goes through QLocale; the default locale is set only so that the
// widgets that do (spin boxes, calendars) speak Polish with a decimal comma on any machine.
void InitFormatSettings()
{
    formatSettings();
    QLocale polish(QLocale::Polish, QLocale::Poland);
    polish.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(polish);
}

QString FormatShortDate(QDate date)
{
    if (!date.isValid())
        return QString();
    const QChar sep = formatSettings().dateSeparator;
    return QStringLiteral("%1").arg(date.year(), 4, 10, QChar(u'0')) + sep
           + TwoDigits(date.month()) + sep + TwoDigits(date.day());
}

QDate ParseShortDate(const QString &text)
{
    const QString sep = QRegularExpression::escape(QString(formatSettings().dateSeparator));
    static const QRegularExpression shape(
        QStringLiteral("^\\s*(\\d{4})%1(\\d{2})%1(\\d{2})\\s*$").arg(sep));
    const auto match = shape.match(text);
    if (!match.hasMatch())
        return QDate();
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

QString FormatLongDate(QDate date)
{
    if (!date.isValid())
        return QString();
    return QString::number(date.day()) + u' ' + LongMonthName(date.month()) + u' '
           + QString::number(date.year());
}

QString FormatShortTime(QTime time)
{
    if (!time.isValid())
        return QString();
    return TwoDigits(time.hour()) + formatSettings().timeSeparator + TwoDigits(time.minute());
}

QString FormatLongTime(QTime time)
{
    if (!time.isValid())
        return QString();
    return FormatShortTime(time) + formatSettings().timeSeparator + TwoDigits(time.second());
}

QString ShortMonthName(int month)
{
    return month >= 1 && month <= 12 ? formatSettings().shortMonthNames[month - 1] : QString();
}

QString LongMonthName(int month)
{
    return month >= 1 && month <= 12 ? formatSettings().longMonthNames[month - 1] : QString();
}

QString ShortDayName(QDate date)
{
    return date.isValid() ? formatSettings().shortDayNames[SundayFirstIndex(date)] : QString();
}

QString LongDayName(QDate date)
{
    return date.isValid() ? formatSettings().longDayNames[SundayFirstIndex(date)] : QString();
}

QString FormatDecimal(double value, int maxDecimals)
{
    QString text = QString::number(value, 'f', std::max(maxDecimals, 0));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == u"-0")
        text = QStringLiteral("0");
    return text.replace(u'.', formatSettings().decimalSeparator);
}

std::optional<double> ParseDecimal(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^[+-]?(\\d+[.,]?\\d*|[.,]\\d+)$"));
    QString trimmed = text.trimmed();
    if (!shape.match(trimmed).hasMatch())
        return std::nullopt;
    return trimmed.replace(u',', u'.').toDouble();
}
