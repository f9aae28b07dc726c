#include "print/preview_lines.h"

#include <gtest/gtest.h>

namespace {

// The rows are the lines and, last, what follows the last line break; a splice of rows keeps
// that shape whether or not it reaches the last row.
TEST(PreviewLines, ReplacingRowsKeepsTheLinesAndTheFragmentAfterTheLastBreak)
{
    struct Case {
        const char *name;
        qsizetype first;
        qsizetype count;
        QStringList rows;
        const char *text;
    };
    const Case cases[] = {
        {"one row edited", 1, 1, {"B"}, "a\nB\nc\n"},
        {"a row broken in two", 0, 1, {"a1", "a2"}, "a1\na2\nb\nc\n"},
        {"two rows joined", 0, 2, {"ab"}, "ab\nc\n"},
        {"rows inserted without removing", 1, 0, {"x", "y"}, "a\nx\ny\nb\nc\n"},
        {"the fragment typed into", 3, 1, {"d"}, "a\nb\nc\nd"},
        {"the last line joined with the fragment", 2, 2, {"c"}, "a\nb\nc"},
        {"the last line broken before the fragment", 2, 2, {"c", "", ""}, "a\nb\nc\n\n"},
        {"everything replaced", 0, 4, {""}, ""},
        {"a range beyond the end is cut to it", 2, 99, {"z", ""}, "a\nb\nz\n"},
    };
    for (const Case &c : cases) {
        PreviewLines lines;
        lines.setText(QStringLiteral("a\nb\nc\n"));
        lines.replaceRows(c.first, c.count, c.rows);
        EXPECT_EQ(lines.text(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(lines.rowCount(), lines.text().count(u'\n') + 1) << c.name;
    }
}

TEST(PreviewLines, RowsComeBackAsTheyWereWritten)
{
    const QString rows[] = {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("a  b"),
        QStringLiteral("|K01     | 1     |2019.02.02|   "),
        QString(300, u' ') + QStringLiteral("x") + QString(256, u' '),
        QStringLiteral("\x01 \x01\x01   \x01") + QChar(0x01) + QStringLiteral("zł"),
        QStringLiteral("\x01") + QChar(3) + QStringLiteral("   ") + QChar(0),
    };
    PreviewLines lines;
    for (const QString &row : rows)
        lines.appendLine(row);
    for (qsizetype i = 0; i < qsizetype(std::size(rows)); ++i)
        EXPECT_EQ(lines.row(i), rows[i]) << i;
}

TEST(PreviewLines, KeepsPolishLettersAndLongJobsRowByRow)
{
    PreviewLines lines;
    EXPECT_EQ(lines.rowCount(), 1);
    EXPECT_TRUE(lines.isEmpty());
    const quint64 empty = lines.generation();
    // More than a piece's worth, so rows land in several pieces.
    const QString wide = QStringLiteral("Zażółć gęślą jaźń ") + QString(200, u'x');
    for (int i = 0; i < 20000; ++i)
        lines.appendLine(QString::number(i) + wide);
    lines.squeeze();
    EXPECT_EQ(lines.lineCount(), 20000);
    EXPECT_EQ(lines.row(0), "0" + wide);
    EXPECT_EQ(lines.row(12345), "12345" + wide);
    EXPECT_EQ(lines.row(20000), "");
    EXPECT_EQ(lines.widestRow(), 5 + wide.size());
    EXPECT_EQ(lines.linesText(19998, 20000), "19998" + wide + "\n19999" + wide + "\n\n");

    // Editing far more than is kept gives the old text back without losing a row.
    for (int round = 0; round < 3; ++round)
        lines.replaceRows(0, 19999, QStringList(19999, QStringLiteral("ąę")));
    EXPECT_EQ(lines.row(0), "ąę");
    EXPECT_EQ(lines.row(19998), "ąę");
    EXPECT_EQ(lines.row(19999), "19999" + wide);

    lines.clear();
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_NE(lines.generation(), empty);
}

}  // namespace
