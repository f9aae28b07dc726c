// After a command that closes and opens the tables again, the cashier is back where he was.

#include "ledger_fixture.h"

#include "ledger/shown_place.h"

namespace {

class ShownPlaceTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        for (const char *desk : {"K1", "K2"}) {
            addDesk(QString::fromLatin1(desk));
            selectDesk(QString::fromLatin1(desk));
            for (int report = 1; report <= 3; ++report) {
                addReport(report, Money(), report < 3);
                for (int place = 1; place <= 3; ++place)
                    writeHeader(QString::fromLatin1(desk), report, QStringLiteral("KP"), report * 10 + place,
                                Money(), QString(), QStringLiteral("2019.03.15"), place);
            }
        }
        selectDesk(QStringLiteral("K2"));
        selectReport(3);
        ASSERT_TRUE(T("TNAG").findKey({QStringLiteral("K2"), 3, 2}));
        place_ = CurrentShownPlace(tables(), state_.CurrentYear);
    }

    // As a restore leaves them: every view closed and opened again, on the first desk.
    void reopenTables()
    {
        for (const char *name : {"TPOZ", "TNAG", "TRKASA", "TKASA"})
            T(name).close();
        for (const char *name : {"TKASA", "TRKASA", "TNAG", "TPOZ"})
            T(name).open();
    }

    QString shown()
    {
        LedgerTables t = tables();
        return t.TKASA.asString(QStringLiteral("SYMBOL")) + u'/' + t.TRKASA.asString(QStringLiteral("NUMER")) + u'/'
               + t.TNAG.asString(QStringLiteral("POZ"));
    }

    ShownPlace place_;
};

TEST_F(ShownPlaceTest, TheViewsComeBackToTheDeskReportAndDocumentLeft)
{
    reopenTables();
    ASSERT_EQ(shown(), QStringLiteral("K1/1/1"));
    LedgerTables t = tables();
    EXPECT_TRUE(ReturnToShownPlace(t, place_, state_.CurrentYear));
    EXPECT_EQ(shown(), QStringLiteral("K2/3/2"));
    // Where nothing moved, nothing moves.
    EXPECT_FALSE(ReturnToShownPlace(t, place_, state_.CurrentYear));
}

TEST_F(ShownPlaceTest, WhatIsGoneLeavesTheDesksLastReport)
{
    struct Case {
        const char *name;
        bool reportRemoved;
        QString year;
        QString expected;
    };
    const QList<Case> cases{
        {"another year is shown", false, QStringLiteral("2020"), QStringLiteral("K1/3/1")},
        {"the report is gone", true, QStringLiteral("2019"), QStringLiteral("K2/2/1")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.reportRemoved) {
            selectDesk(QStringLiteral("K2"));
            selectReport(3);
            while (!T("TNAG").isEmpty())
                T("TNAG").deleteRow();
            T("TRKASA").deleteRow();
        }
        reopenTables();
        LedgerTables t = tables();
        ReturnToShownPlace(t, place_, c.year);
        EXPECT_EQ(shown(), c.expected);
    }
}

} // namespace
