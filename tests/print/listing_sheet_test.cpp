#include "print/listing_sheet.h"
#include "print/listing_sheet_files.h"
#include "print/listing_sheet_workbook.h"
#include "print/preview_lines.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// How a printed cell is read: amounts in every way the listings print them, days, numbers, text.
TEST(ListingSheet, CellsAreReadAsTheKindTheyPrint)
{
    using Kind = SheetCell::Kind;
    const struct {
        const char *printed;
        Kind kind;
        const char *value; // the amount, the day or the number as text
        const char *currency;
    } cases[] = {
        {"   1 064.36", Kind::Amount, "1064,36", ""},
        {"  9 254 , 80 PLN ", Kind::Amount, "9254,80", "PLN"},
        {"-12,50", Kind::Amount, "-12,50", ""},
        {"999 999 999 999,99", Kind::Amount, "999999999999,99", ""},
        {"2026.01.08", Kind::Date, "2026-01-08", ""},
        {"2026.02.30", Kind::Text, "", ""},
        {" 12 ", Kind::Integer, "12", ""},
        {"-7", Kind::Integer, "-7", ""},
        {"123456789012345", Kind::Integer, "123456789012345", ""},
        {"1234567890123456", Kind::Text, "", ""},
        {"-", Kind::Text, "", ""},
        {"12a", Kind::Text, "", ""},
        {"KP 1", Kind::Text, "", ""},
        {"1 064.3", Kind::Text, "", ""},
        {"   ", Kind::Empty, "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.printed);
        const SheetCell cell = ReadSheetCell(QString::fromUtf8(c.printed));
        EXPECT_EQ(cell.kind, c.kind);
        if (c.kind == Kind::Amount) {
            EXPECT_EQ(cell.amount.toString(), QString::fromUtf8(c.value));
            EXPECT_EQ(cell.currency, QString::fromUtf8(c.currency));
        } else if (c.kind == Kind::Date) {
            EXPECT_EQ(cell.date.toString(Qt::ISODate), QString::fromUtf8(c.value));
        } else if (c.kind == Kind::Integer) {
            EXPECT_EQ(QString::number(cell.integer), QString::fromUtf8(c.value));
        }
    }
}

// Only the table's lines count: the title, the rulers and the closing line are left out, and a
// "RAZEM" line is a total.
TEST(ListingSheet, TheHeadingGivesTheColumnsAndTheTableLinesTheRows)
{
    const ListingSheet sheet = ReadListingSheet({
        QStringLiteral("Raport stanu kas.    data : 2026.12.11"),
        QStringLiteral("| SYMBOL | Nazwa Kasy | Stan Kasy      |"),
        QStringLiteral("|--------|------------|----------------|"),
        QStringLiteral("| KAS1   | Kasa | główna |  9 254 , 80 PLN |"),
        QStringLiteral("| RAZEM  |            |  9 254 , 80 PLN |"),
        QStringLiteral("&GProgram KASA - Koniec wydruku: Raport stanu kas"),
    });
    ASSERT_EQ(sheet.columns.size(), 3);
    EXPECT_EQ(sheet.columns[1].heading, QStringLiteral("Nazwa Kasy"));
    EXPECT_EQ(sheet.columns[2].width, 16);
    ASSERT_EQ(sheet.rows.size(), 2);
    // A bar inside a text stays in its column: the columns are where the heading puts them.
    EXPECT_EQ(sheet.rows[0].cells[1].text, QStringLiteral("Kasa | głów"));
    EXPECT_FALSE(sheet.rows[0].total);
    EXPECT_TRUE(sheet.rows[1].total);
    EXPECT_EQ(sheet.rows[1].cells[1].kind, SheetCell::Kind::Empty);
}

// The workbook's parts are packed at the quickest level (a long listing would spend most of its
// time packing otherwise) and the file is still a whole archive that any unzip reads.
TEST(ListingSheet, TheWorkbookIsPackedQuicklyAndStaysAWholeArchive)
{
    EXPECT_TRUE(WorkbookPackingIsQuick());
    PreviewLines lines;
    lines.appendLine(QStringLiteral("| Kasa | Kwota      |"));
    for (int i = 0; i < 2000; ++i)
        lines.appendLine(QStringLiteral("| K%1   | %2.50 |").arg(i % 10).arg(i, 7));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.xlsx"));
    ASSERT_EQ(WriteListingXlsx(lines, path), QString());
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tq"), path});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardOutput().toStdString();
}

// A long table is written whole: every row once, in order, with its amount as the figure.
TEST(ListingSheet, ALongTableIsWrittenWholeAndInOrder)
{
    PreviewLines lines;
    lines.appendLine(QStringLiteral("Wykaz"));
    lines.appendLine(QStringLiteral("| Nr    | Kwota      |"));
    const int rows = 5000;
    for (int i = 1; i <= rows; ++i)
        lines.appendLine(QStringLiteral("| %1 | %2.50 |").arg(i, 5).arg(i, 7));
    lines.appendLine(QStringLiteral("&GKoniec wydruku"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.csv"));
    ASSERT_EQ(WriteListingCsv(lines, path), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList written = QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(written.size(), rows + 1);
    EXPECT_EQ(written[0], QStringLiteral("Nr;Kwota"));
    for (int i = 1; i <= rows; ++i)
        ASSERT_EQ(written[i], QStringLiteral("%1;%1,50").arg(i)) << i;
}

} // namespace
