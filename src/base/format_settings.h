#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <optional>

// The regional settings the program imposes on itself, whatever the machine's own are.
struct FormatSettings {
    QChar decimalSeparator = u',';
    QChar thousandsSeparator = u' ';
    QString currencySymbol = QStringLiteral("zł");
    // %1 the amount (without sign), %2 the currency symbol.
    QString positiveCurrencyFormat = QStringLiteral("%1 %2");
    QString negativeCurrencyFormat = QStringLiteral("-%1 %2");
    int currencyDecimals = 2;
    QChar dateSeparator = u'-';
    QString shortDateFormat = QStringLiteral("yyyy-MM-dd");
    QString longDateFormat = QStringLiteral("d MMMM yyyy");
    QChar timeSeparator = u':';
    QString shortTimeFormat = QStringLiteral("hh:mm");
    QString longTimeFormat = QStringLiteral("hh:mm:ss");
    QString amMarker = QStringLiteral(" ");
    QString pmMarker = QStringLiteral(" ");
    QChar listSeparator = u';';
    // January first.
    std::array<QString, 12> shortMonthNames;
    std::array<QString, 12> longMonthNames;
    // Sunday first.
    std::array<QString, 7> shortDayNames;
    std::array<QString, 7> longDayNames;
};

// Puts the program's settings in force for the whole process; called once at start-up.
void InitFormatSettings();
const FormatSettings &formatSettings();

// "2019-03-05": the short date format with the program's date separator.
QString FormatShortDate(QDate date);
// Reads a short date back; an invalid QDate when the text is not one.
QDate ParseShortDate(const QString &text);
// "5 marzec 2019": the long date format with the long month name.
QString FormatLongDate(QDate date);
QString FormatShortTime(QTime time);
QString FormatLongTime(QTime time);

// Month 1..12; an empty text outside that range.
QString ShortMonthName(int month);
QString LongMonthName(int month);
QString ShortDayName(QDate date);
QString LongDayName(QDate date);

// A decimal number with the program's decimal separator and at most `maxDecimals` decimals,
// trailing zeros dropped: 12.5 gives "12,5".
QString FormatDecimal(double value, int maxDecimals);
// Reads a decimal number typed with "," (or ".") as the separator; nullopt when it is not one.
std::optional<double> ParseDecimal(const QString &text);
