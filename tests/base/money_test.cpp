#include "base/money.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

Money Units(qint64 units) { return Money::fromUnits(units); }

TEST(Money, SumsAreExactWhereDoublesDrift)
{
    Money sum;
    double drifting = 0;
    for (int i = 0; i < 10; ++i) {
        sum += *Money::parse("0,1");
        drifting += 0.1;
    }
    EXPECT_NE(drifting, 1.0);
    EXPECT_EQ(sum, Money::fromCents(100));
    EXPECT_EQ(Money::fromCents(1999) * 3 - Money::fromCents(5997), Money());
}

struct RoundingCase {
    qint64 units;
    qint64 roundedUnits;
};

TEST(Money, RoundsToHundredthsWithHalvesAwayFromZero)
{
    const RoundingCase cases[] = {
        {10050, 10100},  {-10050, -10100}, {26750, 26800}, {10049, 10000},
        {-10049, -10000}, {49, 0},          {-50, -100},    {0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Units(c.units).roundedTo2(), Units(c.roundedUnits)) << c.units;
}

// Unlike RoundTo2 on a double, 1.005 is exactly 1.005 here and rounds up.
TEST(Money, FromDoubleTakesTheDecimalTheDoubleWasTypedAs)
{
    EXPECT_EQ(Money::fromDouble(1.005), Units(10050));
    EXPECT_EQ(Money::fromDouble(1.005).roundedTo2(), Money::fromCents(101));
    EXPECT_EQ(Money::fromDouble(-1.005).roundedTo2(), Money::fromCents(-101));
    EXPECT_EQ(Money::fromDouble(2.675).roundedTo2(), Money::fromCents(268));
    EXPECT_EQ(Money::fromDouble(0.00005), Units(1));
    EXPECT_EQ(Money::fromDouble(-0.00005), Units(-1));
    EXPECT_EQ(Money::fromDouble(0.00004999), Units(0));
    EXPECT_EQ(Money::fromDouble(1234567.89), Units(12345678900));
    EXPECT_EQ(Money::fromDouble(std::numeric_limits<double>::quiet_NaN()), Money());
    EXPECT_GT(Money::fromDouble(1e300), Money::fromCents(100000000000000));
    EXPECT_DOUBLE_EQ(Units(-12345).toDouble(), -1.2345);
}

struct ParseCase {
    const char *text;
    qint64 units;
};

TEST(Money, ParsesCommaOrPointAndSpaceGroupedThousands)
{
    const ParseCase cases[] = {
        {"1234,56", 12345600},   {"1 234,56", 12345600},   {"1\u00A0234.56", 12345600},
        {"-12.5", -125000},      {"  7 ", 70000},          {"+3", 30000},
        {",5", 5000},            {"5,", 50000},            {"0,00005", 1},
        {"-0,00005", -1},        {"1,23444", 12344},       {"12 345 678", 123456780000},
        {"0", 0},                {"922337203685477,5807", std::numeric_limits<qint64>::max()},
    };
    for (const auto &c : cases) {
        const auto parsed = Money::parse(QString::fromUtf8(c.text));
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(*parsed, Units(c.units)) << c.text;
    }
}

TEST(Money, RefusesMalformedText)
{
    const char *bad[] = {"",      "   ",   "abc",   "12,3,4", "1.234,56", "1-2",  "-",
                         ",",     "1e5",   "12 34", "1234 567", " 1 ,5",  "1  234", "- 5",
                         "--5",   "5-",    "1,2a",  "١٢",       "922337203685477,5808",
                         "99999999999999999999"};
    for (const char *text : bad)
        EXPECT_FALSE(Money::parse(QString::fromUtf8(text))) << text;
}

TEST(Money, FormatsWithTwoRoundedDecimalsAndADecimalComma)
{
    EXPECT_EQ(Units(-12345000).toString(), "-1234,50");
    EXPECT_EQ(Units(12345000).toGroupedString(), "1 234,50");
    EXPECT_EQ(Units(-12345000).toGroupedString(), "-1 234,50");
    EXPECT_EQ(Units(1234567891234).toGroupedString(), "123 456 789,12");
    EXPECT_EQ(Units(1234567891250).toGroupedString(), "123 456 789,13");
    EXPECT_EQ(Units(123450000).toGroupedString(), "12 345,00");
    EXPECT_EQ(Units(1234500).toGroupedString(), "123,45");
    EXPECT_EQ(Units(-49).toString(), "0,00");
    EXPECT_EQ(Units(-50).toString(), "-0,01");
    EXPECT_EQ(Money().toString(), "0,00");
}

} // namespace

// Amounts beyond what the integer holds never wrap round; the largest amount the program keeps
// is 999 999 999 999,99.
TEST(Money, OverflowIsDetectedAndTheLargestAmountIsKnown)
{
    const Money half = Money::fromUnits(std::numeric_limits<qint64>::max() / 2 + 1);
    EXPECT_THROW(half + half, MoneyOverflow);
    EXPECT_THROW(-half - half - half, MoneyOverflow);
    EXPECT_THROW(Money::fromUnits(std::numeric_limits<qint64>::min()) * -1, MoneyOverflow);
    EXPECT_THROW(-Money::fromUnits(std::numeric_limits<qint64>::min()), MoneyOverflow);
    Money sum = half;
    EXPECT_THROW(sum += half, MoneyOverflow);
    EXPECT_EQ(sum, half);

    const Money largest = *Money::parse(QStringLiteral("999 999 999 999,99"));
    EXPECT_TRUE(largest.fitsAmount());
    EXPECT_TRUE((-largest).fitsAmount());
    EXPECT_FALSE((largest + Money::fromCents(1)).fitsAmount());
    EXPECT_FALSE((-largest - Money::fromCents(1)).fitsAmount());
}
