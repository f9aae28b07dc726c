#include "ledger_fixture.h"

namespace {

using CashDeskRulesTest = LedgerTest;

TEST_F(CashDeskRulesTest, ADeskNeedsASymbolOfItsOwn)
{
    addDesk(QStringLiteral("K1"));
    Table &desks = T("TKASA");

    desks.append();
    desks.setString(QStringLiteral("NAZWA"), QStringLiteral("bez symbolu"));
    EXPECT_THROW(desks.post(), struct Abort);
    EXPECT_EQ(desks.state(), TableState::Insert);
    prompt_.shownOnce(QStringLiteral("Proszę określić SYMBOL kasy."));

    desks.setString(QStringLiteral("SYMBOL"), QStringLiteral("K1"));
    EXPECT_THROW(desks.post(), struct Abort); // no engine error reaches the caller
    EXPECT_EQ(desks.state(), TableState::Insert);
    EXPECT_EQ(desks.asString(QStringLiteral("NAZWA")), QStringLiteral("bez symbolu"));
    prompt_.shownOnce(QStringLiteral("Ten symbol już istnieje, wprowadź oryginalne oznaczenie."));
    EXPECT_EQ(prompt_.messages().size(), 2);
    EXPECT_EQ(prompt_.beeps(), 1);

    desks.setString(QStringLiteral("SYMBOL"), QStringLiteral("K2"));
    desks.post();
    EXPECT_EQ(Column(desks, "SYMBOL"), (QStringList{"K1", "K2"}));
}

// The document list links desks without regard to case, numbering and the cash state exactly:
// a symbol equal to another one but for case is refused, Polish letters too.
TEST_F(CashDeskRulesTest, ASymbolEqualToAnotherButForCaseIsRefused)
{
    addDesk(QStringLiteral("K1"));
    addDesk(QStringLiteral("ŁÓDŹ"));
    Table &desks = T("TKASA");
    for (const char *symbol : {"k1", "łódź", "Łódź"}) {
        prompt_.clear();
        desks.append();
        desks.setString(QStringLiteral("SYMBOL"), QString::fromUtf8(symbol));
        EXPECT_THROW(desks.post(), struct Abort) << symbol;
        prompt_.shownOnce(QStringLiteral("Ten symbol już istnieje, wprowadź oryginalne oznaczenie."));
        desks.cancel();
    }
    // A desk may keep its own symbol, or change its case while it has no reports.
    selectDesk(QStringLiteral("K1"));
    desks.edit();
    desks.setString(QStringLiteral("NAZWA"), QStringLiteral("główna"));
    desks.setString(QStringLiteral("SYMBOL"), QStringLiteral("k1"));
    desks.post();
    EXPECT_EQ(Column(desks, "SYMBOL"), (QStringList{"k1", "ŁÓDŹ"}));
}

TEST_F(CashDeskRulesTest, ADeskWithReportsCannotBeDeleted)
{
    addDesk(QStringLiteral("K1"));
    addDesk(QStringLiteral("K2"));
    selectDesk(QStringLiteral("K1"));
    addReport(1, Money());
    Table &desks = T("TKASA");

    EXPECT_FALSE(ledger_->desks().mayDeleteFromDictionary());
    prompt_.shownOnce(QStringLiteral("Brak możliwości skasowania kasy.\rIstnieją Raporty Kasowe"));
    EXPECT_THROW(desks.deleteRow(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Brak możliwości kasowania. Istnieją raporty."));
    EXPECT_EQ(Column(desks, "SYMBOL"), (QStringList{"K1", "K2"}));

    selectDesk(QStringLiteral("K2"));
    EXPECT_TRUE(ledger_->desks().mayDeleteFromDictionary());
    desks.deleteRow();
    EXPECT_EQ(Column(desks, "SYMBOL"), (QStringList{"K1"}));
}

TEST_F(CashDeskRulesTest, MovingToADeskShowsItsCashStateAndMakesItsLastReportCurrent)
{
    addDesk(QStringLiteral("K1"));
    addDesk(QStringLiteral("K2"));
    selectDesk(QStringLiteral("K1"));
    addReport(1, Amount("10"), true, {}, Amount("20"));
    addReport(2, Amount("20"), true, {}, Amount("1234.5"));
    selectDesk(QStringLiteral("K2"));
    view_ = RecordingView();

    selectDesk(QStringLiteral("K1"));
    EXPECT_EQ(T("TRKASA").asInteger(QStringLiteral("NUMER")), 2);
    EXPECT_EQ(view_.cashStates, QStringList{CashPicture("1 234,50 zł")});
    EXPECT_EQ(view_.deskSymbolEditable, QList<bool>{false});

    selectDesk(QStringLiteral("K2"));
    EXPECT_TRUE(T("TRKASA").isEmpty());
    EXPECT_EQ(view_.cashStates.last(), CashPicture("0,00 zł"));
    EXPECT_EQ(view_.deskSymbolEditable.last(), true);
}

// A desk's after-scroll rule already sees the new desk's reports: details follow the move first.
TEST_F(CashDeskRulesTest, EngineDetailsFollowBeforeTheMastersAfterScroll)
{
    addDesk(QStringLiteral("K1"));
    addDesk(QStringLiteral("K2"));
    selectDesk(QStringLiteral("K1"));
    addReport(1, Money());
    ledger_.reset();
    Table &desks = T("TKASA");
    Table &reports = T("TRKASA");
    bool reportsSeen = true;
    desks.events.afterScroll = [&](Table &) { reportsSeen = !reports.isEmpty(); };
    desks.next();
    EXPECT_FALSE(reportsSeen); // K2 has no reports
}

} // namespace
