#include "ledger/calendar_arithmetic.h"
#include "ledger/dictionary_rules.h"
#include "ledger_fixture.h"

namespace {

using DictionariesTest = LedgerTest;

TEST_F(DictionariesTest, AnAccountNumberIsTakenOnce)
{
    Table &accounts = T("TKONTA");
    for (int i = 0; i < 2; ++i) {
        accounts.append();
        accounts.setString(QStringLiteral("KOD"), QStringLiteral("100-1"));
        accounts.setString(QStringLiteral("NAZWA"), QStringLiteral("Kasa %1").arg(i));
        if (i == 0)
            accounts.post();
    }
    EXPECT_THROW(accounts.post(), struct Abort);
    prompt_.shownOnce(QStringLiteral("To KONTO już istnieje, wprowadź inne konto."));
    EXPECT_EQ(prompt_.messages().size(), 1);
    EXPECT_EQ(prompt_.beeps(), 1);
    EXPECT_EQ(accounts.state(), TableState::Insert);
    EXPECT_EQ(accounts.asString(QStringLiteral("NAZWA")), QStringLiteral("Kasa 1"));
    accounts.cancel();
    EXPECT_EQ(FieldValues(accounts, QStringLiteral("KOD")), QStringList{QStringLiteral("100-1")});
}

// A payout description is stored as KW and offered to KW and KWD documents, not to KP.
TEST_F(DictionariesTest, DescriptionsBelongToTheKindTheViewShows)
{
    DocumentCommands &documents = ledger_->documents();
    Table &descriptions = T("TSLO");
    documents.setCurrentKind(QStringLiteral("KW"));
    EXPECT_EQ(DescriptionDictionaryCaption(state_.BiezacyRD), QStringLiteral("Słownik opisu wypłaty"));
    descriptions.append();
    descriptions.setString(QStringLiteral("NAZWA"), QStringLiteral("Paliwo"));
    descriptions.post();
    documents.setCurrentKind(QStringLiteral("KWD"));
    descriptions.append();
    descriptions.setString(QStringLiteral("NAZWA"), QStringLiteral("Delegacja"));
    descriptions.post();
    EXPECT_EQ(FieldValues(descriptions, QStringLiteral("RD")), (QStringList{"KW", "KW"}));
    EXPECT_EQ(FieldValues(descriptions, QStringLiteral("NAZWA")), (QStringList{"Delegacja", "Paliwo"}));
    documents.setCurrentKind(QStringLiteral("KP"));
    EXPECT_EQ(DescriptionDictionaryCaption(state_.BiezacyRD), QStringLiteral("Słownik opisu wpłaty"));
    EXPECT_TRUE(descriptions.isEmpty());
}

TEST(Calendar, ADayPlusAnOffset)
{
    const QDate chosen(2019, 1, 30);
    EXPECT_EQ(CalendarResultText(chosen, QStringLiteral("5")), QStringLiteral("2019-02-04"));
    EXPECT_EQ(CalendarResultText(chosen, QStringLiteral("-30")), QStringLiteral("2018-12-31"));
    EXPECT_EQ(CalendarResultText(chosen, QStringLiteral("1.5")), QStringLiteral("2019-01-30"));
    EXPECT_EQ(CalendarResultText(chosen, QString()), QStringLiteral("2019-01-30"));
    const QDate today(2019, 3, 15);
    EXPECT_EQ(CalendarStartDate(QStringLiteral("2019-02-28"), today), QDate(2019, 2, 28));
    EXPECT_EQ(CalendarStartDate(QStringLiteral("2019.02.30"), today), today);
    EXPECT_EQ(CalendarStartDate(QStringLiteral("    -  -  "), today), today);
}

} // namespace
