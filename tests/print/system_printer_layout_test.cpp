#include "support/print_fixture.h"

namespace {

using Drawn = RecordingSystemPrinter::DrawnLine;

class SystemPrinterLayout : public PrintFixture, public ::testing::WithParamInterface<JobRoute> {
protected:
    void SetUp() override { druk().TypWydruku = drWINDOWS; }
};

TEST_P(SystemPrinterLayout, LinesGoDownThePageByTheirSizeAndMoveOnWhenRoomRunsOut)
{
    printer.pageHeight = 200;
    druk().MarL = 2;
    runJob({"a", "&Nb", "&Rc", "d", "&Ge"}, GetParam(), false, QStringLiteral("Raport"));
    EXPECT_EQ(printer.documents, QStringList{"Raport"});
    EXPECT_EQ(printer.lines, (QList<Drawn>{
                                 {1, 40, 0, 8, "a"},
                                 {1, 40, 40, 12, "b"},
                                 {1, 40, 90, 16, "c"},
                                 // 155 + 50 passes 200: next page
                                 {2, 40, 0, 16, "d"},
                                 {2, 40, 65, 8, "e"},
                             }));
    EXPECT_EQ(printer.pages, 2);
    EXPECT_EQ(printer.closed, 1);
}

TEST_P(SystemPrinterLayout, TokensAndTheOverrideSetTheSize)
{
    runJob({"&G&Nnormalny", "&Wreszta znika", "dalej"}, GetParam());
    EXPECT_EQ(printer.lines, (QList<Drawn>{{1, 0, 0, 12, "normalny"}, {2, 0, 0, 12, "dalej"}}));

    printer.lines.clear();
    druk().Rodzaj = drROZSZCZELONY;
    runJob({"&G&Nnormalny", "Łódź"}, GetParam());
    EXPECT_EQ(printer.lines, (QList<Drawn>{{1, 0, 0, 16, "normalny"}, {1, 0, 65, 16, "Łódź"}}));
}

TEST_P(SystemPrinterLayout, PrinterThatCannotStartEndsTheJobWithoutOutput)
{
    printer.opens = false;
    runJob({"a", "b"}, GetParam(), true);
    EXPECT_TRUE(printer.lines.isEmpty());
    EXPECT_EQ(printer.closed, 0);
}

// A listing wider than the page is drawn smaller as a whole: every character on the page, the
// lines closer together, the columns still under each other.
TEST_P(SystemPrinterLayout, AJobWiderThanThePageIsDrawnSmallerAsAWhole)
{
    struct Case {
        const char *name;
        int widestLine; // characters, condensed (8 pt: 20 units each)
        double scale;
        int secondLineAt;
    };
    printer.pageWidth = 2000 + 2 * 20;
    druk().MarL = 2;
    for (const Case &c : {Case{"fits", 100, 1.0, 40}, Case{"twice too wide", 200, 0.5, 20}, Case{"a fifth too wide", 125, 0.8, 32}}) {
        SCOPED_TRACE(c.name);
        printer.lines.clear();
        runJob({QString(c.widestLine, u'x'), QStringLiteral("krótka")}, GetParam());
        EXPECT_DOUBLE_EQ(printer.scale, c.scale);
        ASSERT_EQ(printer.lines.size(), 2);
        EXPECT_EQ(printer.lines[1].y, c.secondLineAt);
        EXPECT_EQ(printer.lines[0].x, 40);
    }
}

INSTANTIATE_TEST_SUITE_P(Routes, SystemPrinterLayout,
                         ::testing::Values(JobRoute::Direct,
                                           JobRoute::ThroughBuffer));

}  // namespace
