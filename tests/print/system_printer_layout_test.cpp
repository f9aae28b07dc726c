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

INSTANTIATE_TEST_SUITE_P(Routes, SystemPrinterLayout,
                         ::testing::Values(JobRoute::Direct,
                                           JobRoute::ThroughBuffer));

}  // namespace
