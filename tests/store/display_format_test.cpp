#include "store/display_format.h"

#include <gtest/gtest.h>

TEST(DisplayFormat, AmountsWithGroupsAndDecimals)
{
    const struct {
        const char *format;
        qint64 cents;
        const char *shown;
    } cases[] = {
        {"### ### ##0.00", 123450, "1 234,50"},
        {"### ### ##0.00", -123450, "-1 234,50"},
        {"### ### ##0.00", 0, "0,00"},
        {"### ### ##0.00", 100000000000, "1 000 000 000,00"},
        {"### ### ##0.00", 5, "0,05"},
        {"0.00", 123450, "1234,50"},
        {"0.00", -1, "-0,01"},
        {"#,##0.00", 123456789, "1 234 567,89"},
        {"0", 150, "2"},
        {"0.##", 150, "1,5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDisplayNumber(QString::fromLatin1(c.format), Money::fromCents(c.cents)),
                  QString::fromUtf8(c.shown))
            << c.format << " " << c.cents;
}

TEST(DisplayFormat, MoneyRoundsHalvesAwayAndFloatsUseTheSameRules)
{
    EXPECT_EQ(FormatDisplayNumber(QStringLiteral("0.00"), Money::fromUnits(12345)), QStringLiteral("1,23"));
    EXPECT_EQ(FormatDisplayNumber(QStringLiteral("0.00"), Money::fromUnits(12350)), QStringLiteral("1,24"));
    EXPECT_EQ(FormatDisplayNumber(QStringLiteral("0.00"), Money::fromUnits(-12350)), QStringLiteral("-1,24"));
    EXPECT_EQ(FormatDisplayNumber(QStringLiteral("0.00"), Money::fromUnits(-49)), QStringLiteral("0,00"));
    EXPECT_EQ(FormatDisplayNumber(QStringLiteral("### ### ##0.00"), 1234.5), QStringLiteral("1 234,50"));
}
