#include "support/print_fixture.h"

namespace {

class PrintJob : public PrintFixture {
protected:
    int previews = 0;

    void SetUp() override
    {
        druk().setPreviewHandler([this] { ++previews; });
        druk().TypWydruku = drBW;
    }
};

TEST_F(PrintJob, BufferedJobFillsThePreviewAndShowsItAtTheEnd)
{
    druk().Bufor = false;
    druk().setPreviewText(QStringLiteral("poprzedni wydruk\n"));
    druk().START(QStringLiteral("Wydruk dokumentu"), 7);
    EXPECT_EQ(progress.title, "Wydruk dokumentu");
    EXPECT_EQ(progress.maximum, 7);
    druk().PISZ(QStringLiteral("KP 1/2024"));
    druk().PISZ(QString());
    druk().Postep();
    EXPECT_EQ(druk().Linia, 2);
    EXPECT_EQ(previews, 0);
    druk().STOP(true);

    EXPECT_EQ(druk().previewText(),
              "KP 1/2024\n\n&GProgram KASA - Koniec wydruku: Wydruk dokumentu\n");
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(progress.steps, 1);
    EXPECT_FALSE(progress.running);
    EXPECT_TRUE(saveDialog.questions().isEmpty());  // nothing printed yet
}

TEST_F(PrintJob, AutoPrintsTheBufferInsteadOfThePreviewOnlyOnce)
{
    druk().Bufor = false;
    const QString file = pathOf(QStringLiteral("dokument.txt"));
    saveDialog.answer(file);
    druk().START(QStringLiteral("Wydruk dokumentu"), 0);
    druk().PISZ(QStringLiteral("KW 3"));
    druk().Auto = true;
    druk().STOP(false);
    EXPECT_EQ(contentsOf(file), "KW 3\r\n");
    EXPECT_EQ(previews, 0);
    EXPECT_FALSE(druk().Auto);
    // The buffer stays for printing again.
    EXPECT_EQ(druk().previewText(), "KW 3\n");

    druk().START(QStringLiteral("Lista"), 0);
    druk().STOP(false);
    EXPECT_EQ(previews, 1);
}

TEST_F(PrintJob, DirectJobOpensTheTargetAtStartAndLeavesThePreviewEmpty)
{
    druk().Bufor = true;
    druk().setPreviewText(QStringLiteral("stary\n"));
    const QString file = pathOf(QStringLiteral("od_razu.txt"));
    saveDialog.answer(file);
    druk().START(QStringLiteral("Lista"), 0);
    EXPECT_EQ(saveDialog.questions().size(), 1);
    druk().PISZ(QStringLiteral("wiersz"));
    druk().Bufor = false;  // a change during the job waits for the next one
    druk().PISZ(QStringLiteral("drugi"));
    druk().STOP(false);
    EXPECT_EQ(contentsOf(file), "wiersz\r\ndrugi\r\n");
    EXPECT_TRUE(druk().previewText().isEmpty());
    EXPECT_EQ(previews, 0);
}

TEST_F(PrintJob, PrintingTextEndsEachLineAtABreakAndDropsAFragmentAfterTheLast)
{
    const QString file = pathOf(QStringLiteral("zaznaczenie.txt"));
    saveDialog.answer(file);
    druk().Tytul = QStringLiteral("Podgląd");
    // A selection taken from the preview separates its lines with paragraph separators.
    druk().DRUKUJ(QStringLiteral("pierwszy\ndrugi") + QChar::ParagraphSeparator
                  + QStringLiteral("trzeci"));
    EXPECT_EQ(contentsOf(file), "pierwszy\r\ndrugi\r\n");
    EXPECT_EQ(progress.title, "Podgląd");
    EXPECT_EQ(progress.maximum, 21);
    EXPECT_EQ(progress.steps, 21);
    EXPECT_FALSE(progress.running);
    EXPECT_EQ(druk().Strona, 1);
}

TEST_F(PrintJob, FailedTargetStopsTheProgressOfPrinting)
{
    saveDialog.answer(std::nullopt);
    druk().DRUKUJ(QStringLiteral("a\nb\n"));
    EXPECT_EQ(progress.starts, 1);
    EXPECT_EQ(progress.stops, 1);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

}  // namespace
