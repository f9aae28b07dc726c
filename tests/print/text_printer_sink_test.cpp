#include "print/forms/qt_system_printer.h"
#include "print/forms/text_printer_sink.h"
#include "support/print_doubles.h"
#include "support/qt_printers.h"
#include "support/scripted_prompt.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMap>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int PageCount(const QString &pdfFile)
{
    QFile file(pdfFile);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(file.readAll());
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// The text of the PDF as pdftotext reads it; nothing when pdftotext is not installed.
std::optional<QString> TextOf(const QString &pdfFile)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfFile, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

void PrintToPdfFile(QPrinter &printer, const QString &pdfFile)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

// Lines of the condensed size that fit on one page of the given height (1/300 inch).
int CondensedLinesPerPage(int pageHeight)
{
    return (pageHeight - 50) / 40 + 1;
}

TEST(TextPrinterSink, PrintsTheJobIntoPagesOfAPdf)
{
    QTemporaryDir dir;
    const QString pdfFile = dir.filePath(QStringLiteral("wydruk.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PrintToPdfFile(printer, pdfFile);
    const int pageHeight = int(printer.height() * 300.0 / printer.logicalDpiY());

    ScriptedPrompt prompt;
    PrintSettings settings;
    settings.MarL = 2;
    PageCounters counters;
    TextPrinterSink sink(printer, prompt, settings, counters, QStringLiteral("Kasa główna"));
    ASSERT_TRUE(sink.begin());
    sink.line(QStringLiteral("&NŁódź, raport kasowy"));
    sink.line(QStringLiteral("&G"));
    for (int i = 2; i <= CondensedLinesPerPage(pageHeight); ++i)
        sink.line(QStringLiteral("wiersz %1").arg(i));
    sink.line(QStringLiteral("&Wta część znika"));
    sink.line(QStringLiteral("&Rostatnia strona"));
    sink.end();

    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(counters.Strona, 2);
    EXPECT_EQ(PageCount(pdfFile), 3);
    if (const auto text = TextOf(pdfFile)) {
        EXPECT_TRUE(text->contains(QStringLiteral("Łódź, raport kasowy"))) << text->toStdString();
        EXPECT_TRUE(text->contains(QStringLiteral("ostatnia strona")));
        EXPECT_FALSE(text->contains(QStringLiteral("znika")));
        EXPECT_FALSE(text->contains(QStringLiteral("&")));
    }
}

TEST(TextPrinterSink, PrintsInAFixedPitchFont)
{
    for (const int size : {8, 12, 16}) {
        const QFont font = TextPrintFont(size);
        const QFontMetrics metrics(font);
        for (const QString glyphs : {"W", "ł", "Ż", "0", " "})
            EXPECT_EQ(metrics.horizontalAdvance(glyphs), metrics.horizontalAdvance(u'i'))
                << QFontInfo(font).family().toStdString() << " " << glyphs.toStdString();
        EXPECT_EQ(font.pointSize(), size);
    }
}

// The runs of spaces between a listing's columns are not drawn: the words after them stand
// exactly where the whole line drawn at once puts them.
TEST(TextPrinterSink, WordsAfterRunsOfSpacesKeepTheirColumns)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString pdfFile = dir.filePath(QStringLiteral("kolumny.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PrintToPdfFile(printer, pdfFile);
    ScriptedPrompt prompt;
    PageCounters counters;
    TextPrinterSink sink(printer, prompt, PrintSettings(), counters, QStringLiteral("kolumny"));
    ASSERT_TRUE(sink.begin());
    sink.line(QStringLiteral("|KAS1    | Łódź      |    1 064,36|      "));
    sink.line(QStringLiteral("|KAS1 xx | Łódź xxxx |xxx 1 064,36|"));
    sink.end();

    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")});
    process.waitForFinished();
    const QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    // Each word's left edge, line by line.
    QList<QMap<QString, double>> lines;
    double lastTop = -1;
    static const QRegularExpression word(QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto match = word.globalMatch(boxes); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        if (m.captured(2).toDouble() != lastTop) {
            lines.append(QMap<QString, double>());
            lastTop = m.captured(2).toDouble();
        }
        lines.last().insert(m.captured(3), m.captured(1).toDouble());
    }
    ASSERT_EQ(lines.size(), 2) << boxes.toStdString();
    for (const QString &text : {QStringLiteral("Łódź"), QStringLiteral("064,36|")}) {
        ASSERT_TRUE(lines[0].contains(text) && lines[1].contains(text)) << boxes.toStdString();
        EXPECT_NEAR(lines[0].value(text), lines[1].value(text), 0.05) << text.toStdString();
    }
}

TEST(TextPrinterSink, PdfThatCannotBeWrittenIsSaidOnce)
{
    QTemporaryDir dir;
    const QString pdfFile = dir.filePath(QStringLiteral("brak/wydruk.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    PrintToPdfFile(printer, pdfFile);
    ScriptedPrompt prompt;
    PageCounters counters;
    TextPrinterSink sink(printer, prompt, PrintSettings{}, counters, QStringLiteral("Lista"));
    EXPECT_FALSE(sink.begin());
    EXPECT_EQ(prompt.texts(), QStringList{"Błąd otwarcia pliku : " + pdfFile});
}

TEST(QtSystemPrinter, WithoutAPrinterTheJobGoesToAPdfTheUserNames)
{
    ScriptedPrompt prompt;
    ScriptedSaveFileDialog saveDialog;
    QtSystemPrinter system(prompt, saveDialog);
    if (!system.installedPrinters().isEmpty())
        GTEST_SKIP() << "printers are installed here";

    QTemporaryDir dir;
    const QString pdfFile = dir.filePath(QStringLiteral("lista.pdf"));
    saveDialog.answer(pdfFile).answer(std::nullopt);
    PageCounters counters;
    auto sink = system.openSink(QStringLiteral("Lista"), PrintSettings{}, counters);
    ASSERT_TRUE(sink);
    ASSERT_TRUE(sink->begin());
    sink->line(QStringLiteral("jedyny wiersz"));
    sink->end();
    EXPECT_EQ(PageCount(pdfFile), 1);
    EXPECT_EQ(saveDialog.questions().first().defaultName, "wydruk.pdf");
    // The next job asks again; cancelling it gives no target.
    EXPECT_FALSE(system.openSink(QStringLiteral("Lista"), PrintSettings{}, counters));
    EXPECT_EQ(saveDialog.questions().size(), 2);
}

}  // namespace
