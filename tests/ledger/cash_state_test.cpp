#include "ledger/document_kinds.h"
#include "ledger_fixture.h"

namespace {

class CashStateTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        addDesk(QStringLiteral("K1"));
    }
    QString stanKasa() { return ledger_->cashState().StanKasa(); }
};

TEST_F(CashStateTest, ADeskWithoutReportsHoldsNothing)
{
    EXPECT_EQ(stanKasa(), CashPicture("0,00 zł"));
}

// 1000.00 + KP 250.50 - KW 100.00; a WZ of 40.00 does not count until the report is closed.
TEST_F(CashStateTest, AnOpenReportCountsItsReceiptsAndPayoutsButNotAdvanceRequests)
{
    addReport(1, Amount("1000"));
    createDocument(QStringLiteral("KP"), {Amount("250.50")});
    createDocument(QStringLiteral("KW"), {Amount("100")});
    EXPECT_EQ(stanKasa(), CashPicture("1 150,50 zł"));
    EXPECT_EQ(view_.cashStates.last(), CashPicture("1 150,50 zł"));

    createDocument(QStringLiteral("WZ"), {Amount("40")});
    EXPECT_EQ(view_.cashStates.last(), CashPicture("1 150,50 zł"));

    ledger_->reports().closeReport();
    EXPECT_EQ(T("TRKASA").asMoney(QStringLiteral("BZWARTOSC")), Amount("1110.50"));
    EXPECT_EQ(view_.cashStates.last(), CashPicture("1 110,50 zł"));
}

TEST_F(CashStateTest, TheStateIsThatOfTheLastReportWhateverReportIsSelected)
{
    addReport(1, Amount("5"), true, {}, Amount("-12.345"));
    addReport(2, Amount("7"), true, {}, Amount("-12.345"));
    selectReport(1);
    EXPECT_EQ(stanKasa(), CashPicture("-12,35 zł"));
    // A balance beyond any one report's amount is still written in full.
    EXPECT_EQ(FormatCashState(Amount("9999999999999.99")), QStringLiteral("9 999 999 999 999,99 zł"));
    EXPECT_EQ(T("TRKASA").asInteger(QStringLiteral("NUMER")), 1);
}

// A report row being typed, even one the table would refuse, is neither stored nor checked when
// the state is shown: the state is that of the stored reports, and the row stays as typed.
TEST_F(CashStateTest, AReportBeingTypedStaysInEditWhileTheStateIsShown)
{
    addReport(1, Amount("5"), true, {}, Amount("20"));
    addReport(2, Amount("20"));
    Table &reports = T("TRKASA");
    prompt_.clear();
    for (const bool newRow : {true, false}) {
        SCOPED_TRACE(newRow ? "a new report" : "a report changed");
        if (newRow)
            reports.append();
        else
            reports.edit();
        reports.setInteger(QStringLiteral("NUMER"), 1); // taken
        ledger_->cashState().showInView();
        EXPECT_EQ(view_.cashStates.last(), CashPicture("20,00 zł"));
        EXPECT_EQ(reports.state(), newRow ? TableState::Insert : TableState::Edit);
        EXPECT_EQ(reports.asInteger(QStringLiteral("NUMER")), 1);
        EXPECT_TRUE(prompt_.messages().isEmpty()) << prompt_.texts().join(u'|').toStdString();
        reports.cancel();
    }
}

// The balance borrows the numbering view; numbering goes on as before afterwards.
TEST_F(CashStateTest, NumberingIsUndisturbedByTheBalance)
{
    addReport(1, Money());
    for (int i = 0; i < 3; ++i)
        createDocument(QStringLiteral("KP"), {Amount("1")});
    stanKasa();
    Table &numbering = T("KNAG");
    EXPECT_EQ(numbering.indexName(), QStringLiteral("Ainx"));
    numbering.last();
    EXPECT_EQ(numbering.asInteger(QStringLiteral("NRD")), 3);
    EXPECT_EQ(createDocument(QStringLiteral("KP")), 4);
}

TEST(SignedAmount, EachKindCountsWithItsSign)
{
    const Money a = Money::fromCents(1000);
    struct Case {
        const char *kind;
        const char *sign;
        Money closing;
        Money cashState;
    };
    for (const Case &c : {Case{"KP", "", a, a}, Case{"KPD", "", a, a}, Case{"RZ", "+", a, a}, Case{"KW", "", -a, -a},
                          Case{"KWD", "", -a, -a}, Case{"RZ", "-", -a, -a}, Case{"WZ", "", -a, Money()}}) {
        SCOPED_TRACE(std::string(c.kind) + c.sign);
        EXPECT_EQ(SignedAmount(QString::fromLatin1(c.kind), QString::fromLatin1(c.sign), a), c.closing);
        EXPECT_EQ(SignedAmount(QString::fromLatin1(c.kind), QString::fromLatin1(c.sign), a, BalanceKind::CashState),
                  c.cashState);
    }
}

} // namespace

namespace {

// A desk kept in another currency shows its code; the złoty however written keeps "zł".
TEST_F(CashStateTest, ADeskInAnotherCurrencyShowsItsCode)
{
    struct Case {
        const char *currency;
        const char *withoutReports;
        const char *withAReport;
    };
    addReport(1, Amount("1234.5"), true, {}, Amount("1234.5"));
    for (const Case &c : {Case{"EUR", "0,00 EUR", "1 234,50 EUR"}, Case{"PLN", "0,00 zł", "1 234,50 zł"},
                          Case{"", "0,00 zł", "1 234,50 zł"}, Case{" usd ", "0,00 usd", "1 234,50 usd"}}) {
        SCOPED_TRACE(c.currency);
        Table &desks = T("TKASA");
        selectDesk(QStringLiteral("K1"));
        desks.edit();
        desks.setString(QStringLiteral("A2"), QString::fromUtf8(c.currency));
        desks.post();
        EXPECT_EQ(stanKasa().trimmed(), QString::fromUtf8(c.withAReport));
        addDesk(QStringLiteral("K2"));
        desks.edit();
        desks.setString(QStringLiteral("A2"), QString::fromUtf8(c.currency));
        desks.post();
        EXPECT_EQ(stanKasa().trimmed(), QString::fromUtf8(c.withoutReports));
        desks.deleteRow();
    }
}

} // namespace
