#include "support/print_fixture.h"

#include <QFileInfo>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray kCondensed("\x0F");
const QByteArray kNormal("\x14\x12");
const QByteArray kWide("\x12\x0E");

// One line as the dot-matrix printer gets it: back to normal pitch, the margin, the density.
QByteArray DosLine(const QByteArray &density, const QByteArray &text, int margin = 0)
{
    return kNormal + QByteArray(margin, ' ') + density + text + "\r\n";
}

struct DosCase {
    const char *name;
    QStringList lines;
    TRODZAJ rodzaj;
    TPL pl;
    int margin;
    QByteArray expected;
};

class DotMatrix : public PrintFixture, public ::testing::WithParamInterface<JobRoute> {
protected:
    QString device() const { return pathOf(QStringLiteral("lp0")); }

    void SetUp() override
    {
        druk().TypWydruku = drDOS;
        druk().DRURZADZENIE = device();
        QFile capture(device()); // the port's output captured in a file the user named
        ASSERT_TRUE(capture.open(QIODevice::WriteOnly));
    }
};

TEST_P(DotMatrix, WritesControlCodesMarginsAndLettersAsAsked)
{
    const QList<DosCase> cases = {
        {"a job starts condensed", {"tekst"}, drAUTO, drBRAK, 0, DosLine(kCondensed, "tekst")},
        {"the last of the density tokens wins",
         {"&G&Ntekst"}, drAUTO, drBRAK, 0, DosLine(kNormal, "tekst")},
        {"the override beats the tokens",
         {"&G&Ntekst"}, drROZSZCZELONY, drBRAK, 0, DosLine(kWide, "tekst")},
        {"density stays until changed",
         {"&Rszeroko", "dalej", "&Gwąsko"}, drAUTO, drBRAK, 0,
         DosLine(kWide, "szeroko") + DosLine(kWide, "dalej") + DosLine(kCondensed, "wasko")},
        {"a token out of order stays in the text",
         {"&N&Gtekst"}, drAUTO, drBRAK, 0, DosLine(kNormal, "&Gtekst")},
        {"the left margin in spaces", {"x"}, drGESTY, drBRAK, 3, DosLine(kCondensed, "x", 3)},
        {"an eject drops the rest of its line",
         {"a", "&Wzgubione", "b"}, drAUTO, drBRAK, 0,
         DosLine(kCondensed, "a") + "\x0C\r\n" + DosLine(kCondensed, "b")},
        {"plain letters", {"Łódź"}, drAUTO, drBRAK, 0, DosLine(kCondensed, "Lodz")},
        {"Mazovia", {"Łódź"}, drAUTO, drMAZOWIA, 0, DosLine(kCondensed, "\x9C\xA2" "d\xA6")},
        {"code page 852", {"Łódź"}, drAUTO, drLATIN, 0, DosLine(kCondensed, "\x9D\xA2" "d\xAB")},
        {"Windows-1250 unchanged", {"Łódź ąę"}, drAUTO, drLATIN852, 0,
         DosLine(kCondensed, "\xA3\xF3" "d\x9F \xB9\xEA")},
        {"characters Windows-1250 lacks", {"ж€→😀."}, drAUTO, drLATIN852, 0,
         DosLine(kCondensed, "?\x80??.")},
    };
    for (const DosCase &c : cases) {
        SCOPED_TRACE(c.name);
        druk().Rodzaj = c.rodzaj;
        druk().Pl = c.pl;
        druk().MarL = c.margin;
        runJob(c.lines, GetParam());
        EXPECT_EQ(contentsOf(device()), c.expected);
    }
    EXPECT_TRUE(prompt.messages().isEmpty());
}

QStringList Numbered(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QString::number(i);
    return lines;
}

TEST_P(DotMatrix, DividesPagesAfterMoreThanTheLinesPerPage)
{
    druk().MaxLiniaDOS = 70;
    druk().Podzial = true;
    runJob(Numbered(143), GetParam());

    QByteArray expected;
    for (int i = 1; i <= 143; ++i) {
        expected += DosLine(kCondensed, QByteArray::number(i));
        if (i == 71 || i == 142)
            expected += "\x0C\r\n";
    }
    expected += "\x0C\r\n";  // the closing form feed
    EXPECT_EQ(contentsOf(device()), expected);
}

TEST_P(DotMatrix, WithoutPageDivisionOnlyAnEjectFeedsThePage)
{
    druk().MaxLiniaDOS = 70;
    druk().Podzial = false;
    runJob(Numbered(100) << "&W", GetParam());
    const QByteArray written = contentsOf(device());
    EXPECT_EQ(written.count('\x0C'), 1);
    EXPECT_TRUE(written.endsWith(DosLine(kCondensed, "100") + "\x0C\r\n"));
}

TEST_P(DotMatrix, FooterNamesTheJobInCondensedPrint)
{
    druk().Rodzaj = drAUTO;
    runJob({"&Rnagłówek"}, GetParam(), /*footer=*/true, QStringLiteral("Kasa główna"));
    EXPECT_EQ(contentsOf(device()), DosLine(kWide, "naglowek")
                                        + DosLine(kCondensed, "Program KASA - Koniec wydruku: "
                                                              "Kasa glowna"));
}

TEST_P(DotMatrix, PortThatCannotBeOpenedIsSaidOnceAndTheJobWritesNothing)
{
    const QString missing = pathOf(QStringLiteral("brak/lp1"));
    druk().DRURZADZENIE = missing;
    runJob({"a", "b", "c"}, GetParam(), true);
    EXPECT_EQ(prompt.texts(), QStringList{"Błąd otwarcia portu : " + missing});
    EXPECT_EQ(prompt.messages().first().icon, PromptIcon::Error);
    EXPECT_FALSE(QFile::exists(missing));
}

#ifndef Q_OS_WIN
// A device is opened, never made: a path that does not exist stays missing and the printout is
// not reported as printed; a pipe nobody reads from is said at once instead of hanging the job.
TEST_P(DotMatrix, AMissingDeviceIsNeverCreatedAndAPipeWithoutReaderDoesNotHang)
{
    const QString pipe = pathOf(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {pathOf(QStringLiteral("lp1")), pipe}) {
        SCOPED_TRACE(path.toStdString());
        prompt.clear();
        druk().DRURZADZENIE = path;
        runJob({"a"}, GetParam());
        EXPECT_EQ(prompt.texts(), QStringList{"Błąd otwarcia portu : " + path});
        EXPECT_EQ(QFileInfo(path).isFile(), false);
    }

    // With a reader the pipe takes the lines.
    const int reader = open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    prompt.clear();
    runJob({"a"}, GetParam());
    char bytes[64] = {};
    const ssize_t got = read(reader, bytes, sizeof bytes);
    close(reader);
    EXPECT_EQ(QByteArray(bytes, int(qMax<ssize_t>(got, 0))), DosLine(kCondensed, "a"));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}
#endif

INSTANTIATE_TEST_SUITE_P(Routes, DotMatrix,
                         ::testing::Values(JobRoute::Direct,
                                           JobRoute::ThroughBuffer));

#ifndef Q_OS_WIN
TEST(ParallelPort, DevicesOfTheThreePorts)
{
    EXPECT_EQ(ParallelPortDevice(drLPT1), "/dev/lp0");
    EXPECT_EQ(ParallelPortDevice(drLPT3), "/dev/lp2");
    PrintSettings settings;
    settings.Port = drLPT2;
    EXPECT_EQ(DotMatrixDevice(settings), "/dev/lp1");
    settings.DRURZADZENIE = QStringLiteral(" /dev/usb/lp0 ");
    EXPECT_EQ(DotMatrixDevice(settings), "/dev/usb/lp0");
}
#endif

}  // namespace
