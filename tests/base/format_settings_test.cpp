#include "base/format_settings.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Runs each test under an English default locale and LANG, as on a machine set up in English,
// and puts the previous default back afterwards.
class FormatSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        previousLang_ = qgetenv("LANG");
        qputenv("LANG", "en_US.UTF-8");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override
    {
        QLocale::setDefault(previous_);
        qputenv("LANG", previousLang_);
    }

private:
    QLocale previous_;
    QByteArray previousLang_;
};

TEST_F(FormatSettingsTest, HoldsTheProgramsOwnValues)
{
    const FormatSettings &s = formatSettings();
    EXPECT_EQ(s.decimalSeparator, u',');
    EXPECT_EQ(s.thousandsSeparator, u' ');
    EXPECT_EQ(s.currencySymbol, "zł");
    EXPECT_EQ(s.negativeCurrencyFormat.arg("12,50", s.currencySymbol), "-12,50 zł");
    EXPECT_EQ(s.currencyDecimals, 2);
    EXPECT_EQ(s.shortDateFormat, "yyyy-MM-dd");
    EXPECT_EQ(s.longDateFormat, "d MMMM yyyy");
    EXPECT_EQ(s.listSeparator, u';');
}

TEST_F(FormatSettingsTest, DatesAndTimesIgnoreTheMachinesLocale)
{
    const QDate day(2019, 3, 5); // a Tuesday
    EXPECT_EQ(FormatShortDate(day), "2019-03-05");
    EXPECT_EQ(FormatLongDate(day), "5 marzec 2019");
    EXPECT_EQ(FormatLongDate(QDate(2020, 10, 31)), "31 październik 2020");
    EXPECT_EQ(FormatShortTime(QTime(7, 5, 9)), "07:05");
    EXPECT_EQ(FormatLongTime(QTime(17, 5, 9)), "17:05:09");
    EXPECT_EQ(FormatShortDate(QDate()), "");
}

TEST_F(FormatSettingsTest, ReadsAShortDateBack)
{
    EXPECT_EQ(ParseShortDate("2019-03-05"), QDate(2019, 3, 5));
    EXPECT_FALSE(ParseShortDate("2019-02-30").isValid());
    EXPECT_FALSE(ParseShortDate("2019.03.05").isValid());
    EXPECT_FALSE(ParseShortDate("19-3-5").isValid());
}

TEST_F(FormatSettingsTest, PolishMonthAndDayNames)
{
    EXPECT_EQ(ShortMonthName(1), "sty");
    EXPECT_EQ(ShortMonthName(10), "paź");
    EXPECT_EQ(LongMonthName(1), "styczeń");
    EXPECT_EQ(LongMonthName(12), "grudzień");
    EXPECT_EQ(LongMonthName(0), "");
    EXPECT_EQ(LongMonthName(13), "");
    const QDate sunday(2019, 3, 3);
    EXPECT_EQ(ShortDayName(sunday), "N");
    EXPECT_EQ(LongDayName(sunday), "niedziela");
    EXPECT_EQ(ShortDayName(sunday.addDays(3)), "Śr");
    EXPECT_EQ(LongDayName(sunday.addDays(1)), "poniedziałek");
    EXPECT_EQ(LongDayName(sunday.addDays(6)), "sobota");
}

TEST_F(FormatSettingsTest, DecimalNumbersUseTheDecimalComma)
{
    EXPECT_EQ(FormatDecimal(12.5, 4), "12,5");
    EXPECT_EQ(FormatDecimal(1.23456, 4), "1,2346");
    EXPECT_EQ(FormatDecimal(3, 4), "3");
    EXPECT_EQ(FormatDecimal(-0.00001, 4), "0");
    EXPECT_EQ(ParseDecimal("12,5"), 12.5);
    EXPECT_EQ(ParseDecimal(" -0.25 "), -0.25);
    EXPECT_EQ(ParseDecimal(",5"), 0.5);
    EXPECT_FALSE(ParseDecimal(""));
    EXPECT_FALSE(ParseDecimal("1,2,3"));
    EXPECT_FALSE(ParseDecimal("abc"));
    EXPECT_FALSE(ParseDecimal("1 000"));
}

TEST_F(FormatSettingsTest, InitMakesPolishTheDefaultForWidgets)
{
    InitFormatSettings();
    EXPECT_EQ(QLocale().decimalPoint(), ",");
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 2), "1234,50");
}

} // namespace
