#include "base/prompt.h"
#include "base/text_format.h"

#include <gtest/gtest.h>

namespace {

// The examples write a space as "·" so the columns can be read.
QString Dots(const char *text)
{
    return QString::fromUtf8(text).replace(u'·', u' ');
}

struct PictureCase {
    const char *mask;
    double number;
    const char *expected;
};

class FormatPictureTest : public testing::TestWithParam<PictureCase> {};

TEST_P(FormatPictureTest, FillsTheDigitPositions)
{
    const PictureCase &c = GetParam();
    EXPECT_EQ(FormatPicture(QString::fromUtf8(c.mask), c.number), Dots(c.expected))
        << c.mask << " with " << c.number;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FormatPictureTest,
    testing::Values(
        PictureCase{"### ### ### ##9 , 99", 1234.5, "··········1·234·,·50"},
        PictureCase{"### ### ### ##9 , 99", -1234.5, "·········-1·234·,·50"},
        PictureCase{"### ### ### ##9 , 99", 0, "··············0·,·00"},
        PictureCase{"# ### ##9.99", 0.5, "········0.50"},
        PictureCase{"# ### ##9.99", 12345678, "#·###·###.##"},
        PictureCase{"### ### ### ##9.99 zł", 1000000, "······1·000·000.00·zł"},
        PictureCase{"9999", 2019, "2019"}, PictureCase{"9999", 12345, "####"},
        PictureCase{"99", 3, "03"}, PictureCase{"99", 123, "##"},
        PictureCase{"####", 12, "··12"}, PictureCase{"99:", 7, "07:"},
        // rounding happens on the exact value of the stored double, halves away from zero
        PictureCase{"9.99", 0.125, "0.13"}, PictureCase{"9.99", 2.675, "2.67"},
        PictureCase{"9.99", 0.015, "0.01"}, // 0.015 * 100 is exactly 1.5 in doubles
        PictureCase{"99", -0.5, "-1"}, PictureCase{"99.99", -0.001, "-0.00"},
        PictureCase{"##9.99", -0.001, "·-0.00"}, PictureCase{"99999", 99999.5, "#####"},
        PictureCase{"##########9.99", 99.996, "········100.00"},
        // the minus sign takes a digit position and may push a number over
        PictureCase{"9.99", -1, "#.##"}, PictureCase{"9999", -3, "00-3"},
        PictureCase{"| ### ### ### ##9 , 99 ", 987654321.01, "|·····987·654·321·,·01·"},
        PictureCase{"Strona:", 5, "Strona:"}, PictureCase{"", 5, ""}));

TEST(FormatPicture, ShowsAnInfiniteOrMissingNumberAsOverflow)
{
    EXPECT_EQ(FormatPicture("##9.99", std::numeric_limits<double>::infinity()), "###.##");
    EXPECT_EQ(FormatPicture("##9.99", std::numeric_limits<double>::quiet_NaN()), "###.##");
}

TEST(TextUtilities, PadAndRepeat)
{
    EXPECT_EQ(PadRight("ABC", 5), "ABC  ");
    EXPECT_EQ(PadRight("ABCDEF", 3), "ABC");
    EXPECT_EQ(PadRight("", 2), "  ");
    EXPECT_EQ(RepeatChar(u'-', 4), "----");
    EXPECT_EQ(RepeatChar(u'-', 0), "");
    EXPECT_EQ(RemoveSpaces(" 1 2  3 "), "123");
    EXPECT_TRUE(RemoveSpaces("   ").isEmpty());
}

TEST(TextUtilities, ZeroPadLeftKeepsTheValueBeforeTheFirstInnerSpace)
{
    EXPECT_EQ(ZeroPadLeft("12", 5), "00012");
    EXPECT_EQ(ZeroPadLeft(" 12", 5), "00012");
    EXPECT_EQ(ZeroPadLeft("123456", 3), "123");
    EXPECT_EQ(ZeroPadLeft("1 2", 5), "00001");
    EXPECT_EQ(ZeroPadLeft("", 3), "000");
    EXPECT_EQ(ZeroPadLeft("A7", 4), "00A7");
}

TEST(TextUtilities, GroupThousandsCountsFromTheDecimalPart)
{
    EXPECT_EQ(GroupThousands("1234567,89"), Dots("1·234·567,89"));
    EXPECT_EQ(GroupThousands("1234,56"), Dots("1·234,56"));
    EXPECT_EQ(GroupThousands("12,34"), "12,34");
    EXPECT_EQ(GroupThousands("123,45"), Dots("·123,45"));
    EXPECT_EQ(GroupThousands("-123,45"), Dots("-·123,45"));
    EXPECT_EQ(GroupThousands("123456,78"), Dots("·123·456,78"));
    EXPECT_EQ(GroupThousands(",5"), ",5");
}

TEST(TextUtilities, PutAtReplacesColumnsInPlace)
{
    EXPECT_EQ(PutAt("..........", 3, "abc"), "..abc.....");
    EXPECT_EQ(PutAt("..........", 8, "abc"), ".......abc");
    EXPECT_EQ(PutAt("....", 3, "abc"), "..abc");
    EXPECT_EQ(PutAt("....", 0, "ab"), "b...");
}

TEST(Rounding, HalvesGoAwayFromZeroOnTheStoredValue)
{
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(2.4999), 2);
    EXPECT_EQ(RoundHalfAway(-2.4999), -2);
    EXPECT_EQ(RoundHalfAway(-0.4), 0);
    EXPECT_EQ(RoundTo2(1.005), 1.00);
    EXPECT_EQ(RoundTo2(0.015), 0.01); // the double product 0.015 * 100 is exactly 1.5
    EXPECT_EQ(RoundTo2(0.125), 0.13);
    EXPECT_EQ(RoundTo2(-0.125), -0.13);
    EXPECT_EQ(RoundTo2(123.454), 123.45);
    EXPECT_EQ(RoundTo2(0.1 + 0.2), 0.3);
}

// "Łódź" and "żaba" in Windows-1250.
const QByteArray kLodz("\xA3\xF3\x64\x9F");

TEST(ConvertPolishLetters, BetweenCodePages)
{
    EXPECT_EQ(ConvertPolishLetters(kLodz, 30), "Lodz");
    EXPECT_EQ(ConvertPolishLetters(kLodz, 31), QByteArray("\x9C\xA2\x64\xA6"));
    EXPECT_EQ(ConvertPolishLetters(kLodz, 32), QByteArray("\x9D\xA2\x64\xAB"));
    EXPECT_EQ(ConvertPolishLetters("\xA5\xB9\x8C\x9C\xAF\xBF", 32),
              QByteArray("\xA4\xA5\x97\x98\xBD\xBE"));
    EXPECT_EQ(ConvertPolishLetters("Kasa 1-2; OK", 31), "Kasa 1-2; OK");
}

TEST(ConvertPolishLetters, PlainZBecomesDottedZBecauseTheLaterRowWins)
{
    EXPECT_EQ(ConvertPolishLetters("zxZ", 3), QByteArray("\xBF" "x" "\xAF"));
    EXPECT_EQ(ConvertPolishLetters("Lodz", 3), QByteArray("\xA3\xF3\x64\xBF"));
}

TEST(ConvertPolishLetters, EachCharacterIsConvertedOnce)
{
    // Mazovia "ą" (0x86) is "ć" in 852; going 1 -> 2 must not turn it into anything else.
    EXPECT_EQ(ConvertPolishLetters("\x86\x8D", 12), QByteArray("\xA5\x86"));
}

TEST(ConvertPolishLetters, LeavesTheTextAloneForAnUnknownCode)
{
    EXPECT_EQ(ConvertPolishLetters(kLodz, 45), kLodz);
    EXPECT_EQ(ConvertPolishLetters(kLodz, -3), kLodz);
}

class RecordingPrompt : public Prompt {
public:
    PromptButton show(PromptIcon icon, const QString &text, PromptButtons buttons,
                      const QString &) override
    {
        shown.push_back({icon, text, buttons});
        return Ok;
    }
    void beep() override {}

    struct Shown {
        PromptIcon icon;
        QString text;
        PromptButtons buttons;
    };
    std::vector<Shown> shown;
};

TEST(ShowOpenError, ShowsAPlainMessageWithTheText)
{
    RecordingPrompt prompt;
    ShowOpenError(prompt, "NAGKASA.DB");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Błąd otwarcia bazy : NAGKASA.DB");
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::None);
    EXPECT_EQ(prompt.shown[0].buttons, Ok);
}

} // namespace
