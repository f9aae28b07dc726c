#include "support/print_fixture.h"

namespace {

class TextExport : public PrintFixture, public ::testing::WithParamInterface<JobRoute> {
protected:
    QString exportFile() const { return pathOf(QStringLiteral("wynik.txt")); }

    QByteArray exportLines(TTypWydruku target, const QStringList &lines, TPL pl = drBRAK)
    {
        druk().TypWydruku = target;
        druk().Pl = pl;
        saveDialog.answer(exportFile());
        runJob(lines, GetParam());
        return contentsOf(exportFile());
    }
};

const QStringList kListing = {
    "",
    "x",
    "|--------+--------|",
    " ================",
    ">KASA< znacznik",
    "&GDokument KP/1",
    "&W Strona 2",
    "&N&Rdwa tokeny",
    "Łódź   1 234,50",
};

TEST_P(TextExport, WithCuttingKeepsOnlyTheDataLines)
{
    EXPECT_EQ(exportLines(drEKSPORT, kListing),
              "Dokument KP/1\r\n"
              " Strona 2\r\n"
              "&Rdwa tokeny\r\n"
              "Lodz   1 234,50\r\n");
    ASSERT_EQ(saveDialog.questions().size(), 1);
    EXPECT_EQ(saveDialog.questions().first().defaultName, "eksport.txt");
    EXPECT_EQ(saveDialog.questions().first().defaultSuffix, ".txt");
}

TEST_P(TextExport, WithoutCuttingKeepsEveryLineAndFeedsThePageOnAnEject)
{
    EXPECT_EQ(exportLines(drBW, kListing, drLATIN852),
              "\r\n"
              "x\r\n"
              "|--------+--------|\r\n"
              " ================\r\n"
              ">KASA< znacznik\r\n"
              "Dokument KP/1\r\n"
              "\x0C Strona 2\r\n"
              "&Rdwa tokeny\r\n"
              "\xA3\xF3" "d\x9F   1 234,50\r\n");
}

TEST_P(TextExport, FooterIsWrittenWithoutItsToken)
{
    druk().TypWydruku = drBW;
    saveDialog.answer(exportFile());
    runJob({"wiersz"}, GetParam(), /*footer=*/true, QStringLiteral("Zestawienie"));
    EXPECT_EQ(contentsOf(exportFile()), "wiersz\r\nProgram KASA - Koniec wydruku: Zestawienie\r\n");
}

TEST_P(TextExport, OverwritesAnEarlierFile)
{
    QFile old(exportFile());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stara treść, dłuższa niż nowa\r\n");
    old.close();
    EXPECT_EQ(exportLines(drBW, {"nowa"}), "nowa\r\n");
}

TEST_P(TextExport, CancelledDialogEndsTheJobSilently)
{
    druk().TypWydruku = drEKSPORT;
    saveDialog.answer(std::nullopt);
    runJob({"a", "b"}, GetParam(), true);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(saveDialog.questions().size(), 1);
}

TEST_P(TextExport, FileThatCannotBeCreatedIsSaidOnce)
{
    const QString missing = pathOf(QStringLiteral("brak/eksport.txt"));
    druk().TypWydruku = drBW;
    saveDialog.answer(missing);
    runJob({"a", "b", "c"}, GetParam(), true);
    EXPECT_EQ(prompt.texts(), QStringList{"Błąd otwarcia pliku : " + missing});
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_P(TextExport, FailedWritingIsSaidOnceWhenTheFileCloses)
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    druk().TypWydruku = drBW;
    saveDialog.answer(QStringLiteral("/dev/full"));
    runJob(QStringList(50, QStringLiteral("wiersz")), GetParam());
    EXPECT_EQ(prompt.texts(), QStringList{"Błąd zapisu pliku : /dev/full"});
}

INSTANTIATE_TEST_SUITE_P(Routes, TextExport,
                         ::testing::Values(JobRoute::Direct,
                                           JobRoute::ThroughBuffer));

}  // namespace
