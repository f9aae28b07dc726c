#include "base/text_format.h"
#include "print/listing_text.h"

#include <gtest/gtest.h>

namespace {

// The listing's amount column is the picture "# ### ##9.99" of the amount rounded to cents,
// whatever way it is made.
TEST(ListingAmount, IsThePictureOfTheAmount)
{
    for (const char *text : {"0", "0,004", "0,005", "0,05", "1", "999,99", "1000", "123456,78", "9999999,99",
                             "9999999,995", "10000000", "12345678,9", "-0,01", "-5", "-123,45", "-1234,5",
                             "-9999999,99"}) {
        SCOPED_TRACE(text);
        const Money amount = *Money::parse(QString::fromLatin1(text));
        EXPECT_EQ(ListingAmount(amount),
                  FormatPicture(QStringLiteral("# ### ##9.99"), amount.roundedTo2().toDouble()));
        EXPECT_EQ(ListingAmount(amount).size(), 12);
    }
    EXPECT_EQ(ListingAmount(Money::fromCents(15000)), QStringLiteral("      150.00"));
    EXPECT_EQ(ListingAmount(Money::fromCents(1'000'000'000)), QStringLiteral("# ### ###.##"));
}

// A total is written in full whatever its size, ending where the amount column ends.
TEST(ListingTotal, IsWrittenInFull)
{
    const struct {
        qint64 cents;
        const char *written;
    } cases[] = {{15000, "      150.00"}, {999'999'999, "9 999 999.99"}, {1'000'000'000, "10 000 000.00"},
                 {99'999'999'999'999, "999 999 999 999.99"}, {-1'000'000'000, "-10 000 000.00"}};
    for (const auto &c : cases) {
        const QString total = ListingTotal(Money::fromCents(c.cents));
        EXPECT_EQ(total, QString::fromLatin1(c.written));
        EXPECT_EQ(ListingTotalColumn(171, total) + total.size(), 171 + 12);
    }
}

TEST(ColumnLine, WritesOverTheBlankLineAsPutAtDoes)
{
    const QString blank = BlankColumnLine(QStringLiteral("| Kasa | Kwota |"));
    EXPECT_EQ(blank, QStringLiteral("|      |       |"));
    EXPECT_EQ(ColumnLine(blank).put(2, u"K1").put(9, u"12,50").text(), QStringLiteral("|K1    |12,50  |"));
    EXPECT_EQ(ColumnLine(blank).put(14, u"1234").text(), PutAt(blank, 14, QStringLiteral("1234")));
}

} // namespace
