#include "print/kwota_slownie.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *amount;
    bool skrot;
    bool groszeSlowami;
    const char *expected;
};

Money Amount(const char *text) { return *Money::parse(QString::fromLatin1(text)); }

void ExpectCases(const std::vector<Case> &cases, const CurrencyUnitNames &units = {})
{
    for (const Case &c : cases) {
        const auto words = KwotaSlownie(c.skrot, c.groszeSlowami, Amount(c.amount), units);
        ASSERT_TRUE(words.has_value()) << c.amount;
        EXPECT_EQ(words->toStdString(), std::string(c.expected))
            << c.amount << " skrot=" << c.skrot << " grosze=" << c.groszeSlowami;
    }
}

} // namespace

TEST(KwotaSlownie, FourFormsOfOneAmount)
{
    ExpectCases({
        {"1234,56", false, true, "jeden tysiąc dwieście trzydzieści cztery złote  pięćdziesiąt sześć groszy "},
        {"1234,56", false, false, "jeden tysiąc dwieście trzydzieści cztery złote 56/100"},
        {"1234,56", true, true, "*JED*DWA*TRZ*CZT*ZŁ*PIE*SZE*GR*"},
        {"1234,56", true, false, "*JED*DWA*TRZ*CZT*ZŁ*56/100"},
        {"0", false, true, "zero złotych  zero groszy "},
        {"0", false, false, "zero złotych "},
        {"0", true, true, "*ZER*ZŁ*ZER*ZER*GR*"},
        {"0", true, false, "*ZER*ZŁ*0/100"},
        {"0,05", false, true, "zero złotych  pięć groszy "},
        {"0,05", false, false, "zero złotych 5/100"},
        {"0,05", true, true, "*ZER*ZŁ*ZER*PIE*GR*"},
    });
}

TEST(KwotaSlownie, UnitFormsAndGroups)
{
    ExpectCases({
        {"1", false, true, "jeden złoty  zero groszy "},
        {"2", false, true, "dwa złote  zero groszy "},
        {"5", false, true, "pięć złotych  zero groszy "},
        {"12", false, true, "dwanaście złotych  zero groszy "},
        {"19", false, true, "dziewiętanaście złotych  zero groszy "},
        {"22", false, true, "dwadzieścia dwa złote  zero groszy "},
        {"112", false, true, "sto dwanaście złotych  zero groszy "},
        {"1001", false, true, "jeden tysiąc jeden złoty  zero groszy "},
        {"1000", false, true, "jeden tysiąc złotych  zero groszy "},
        {"101000", false, true, "sto jeden tysięcy złotych  zero groszy "},
        {"1000000", false, true, "jeden milion złotych  zero groszy "},
        {"2000000", false, true, "dwa miliony złotych  zero groszy "},
        {"0,01", false, true, "zero złotych  jeden grosz "},
        {"0,24", false, true, "zero złotych  dwadzieścia cztery grosze "},
        {"999999999999,99", false, true,
         "dziewięćset dziewięćdziesiąt dziewięć miliardów dziewięćset dziewięćdziesiąt dziewięć milionów "
         "dziewięćset dziewięćdziesiąt dziewięć tysięcy dziewięćset dziewięćdziesiąt dziewięć złotych  "
         "dziewięćdziesiąt dziewięć groszy "},
        {"2005003004", false, true,
         "dwa miliardy pięć milionów trzy tysiące cztery złote  zero groszy "},
    });
}

TEST(KwotaSlownie, AmountsAreRoundedToHundredthsFirst)
{
    // A fraction of .995 or more carries into the whole units, never "sto groszy".
    ExpectCases({
        {"5,995", false, true, "sześć złotych  zero groszy "},
        {"0,9951", true, true, "*JED*ZŁ*ZER*ZER*GR*"},
        {"1,0049", false, false, "jeden złoty "},
        {"1,005", false, false, "jeden złoty 1/100"},
    });
}

TEST(KwotaSlownie, CurrencyUnitNames)
{
    const CurrencyUnitNames euro{"euro", "euro", "euro", "cent", "centy", "centów"};
    ExpectCases({{"2,01", false, true, "dwa euro  jeden cent "},
                 {"1234,56", true, true, "*JED*DWA*TRZ*CZT*ZŁ*PIE*SZE*GR*"}},
                euro);
    // Only some names given: the empty ones stay empty.
    ExpectCases({{"2", false, true, "dwa   zero  "}}, CurrencyUnitNames{"dolar", "", "", "", "", ""});
    // Names of spaces only stand for the defaults.
    ExpectCases({{"3", false, true, "trzy złote  zero groszy "}},
                CurrencyUnitNames{" ", "  ", "", "", " ", ""});
}

TEST(KwotaSlownie, AmountsWithoutWordsAreRefused)
{
    EXPECT_FALSE(KwotaSlownie(false, true, Amount("-0,01")).has_value());
    EXPECT_FALSE(KwotaSlownie(true, false, Amount("-1234,56")).has_value());
    EXPECT_FALSE(KwotaSlownie(false, true, Amount("1000000000000")).has_value());
    // Rounds up to the limit.
    EXPECT_FALSE(KwotaSlownie(false, false, Amount("999999999999,995")).has_value());
}
