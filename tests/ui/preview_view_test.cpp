#include "print/ui/preview_view.h"

#include "print/preview_lines.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Position = PreviewView::Position;

// Types the text as a keyboard would, Polish letters included.
void Type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.isLetter() && c.unicode() < 128 ? c.toUpper().unicode() : 0,
                        Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

struct Key {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// What the keys do to the text at the cursor: every edit lands in the buffer the print module
// prints from.
TEST(PreviewView, KeysEditTheBufferInPlace)
{
    struct Case {
        const char *name;
        Position cursor;
        std::vector<Key> keys;
        const char *typed;  // typed after the keys
        const char *text;
        Position after;
    };
    const Case cases[] = {
        {"typing inside a row", {0, 1}, {}, "ż", "ażbc\ndef\n", {0, 2}},
        {"Enter breaks the row", {0, 1}, {{Qt::Key_Return}}, "", "a\nbc\ndef\n", {1, 0}},
        {"Backspace at a row's start joins it to the row above", {1, 0}, {{Qt::Key_Backspace}}, "",
         "abcdef\n", {0, 3}},
        {"Delete at a row's end joins the next row", {0, 3}, {{Qt::Key_Delete}}, "", "abcdef\n",
         {0, 3}},
        {"Backspace at the very start does nothing", {0, 0}, {{Qt::Key_Backspace}}, "",
         "abc\ndef\n", {0, 0}},
        {"Shift+Down then Delete takes the selection across the break", {0, 1},
         {{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Delete}}, "", "aef\n", {0, 1}},
        {"typing replaces the selection", {0, 2},
         {{Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, Qt::ShiftModifier}}, "Z",
         "abZdef\n", {0, 3}},
        {"Down keeps the column past a shorter row", {0, 3},
         {{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Up}}, "!", "abc\ndef!\n", {1, 4}},
        {"typing on the row after the last break", {0, 0},
         {{Qt::Key_End, Qt::ControlModifier}}, "nowy", "abc\ndef\nnowy", {2, 4}},
        {"Ctrl+A and typing leaves only what was typed", {1, 1},
         {{Qt::Key_A, Qt::ControlModifier}}, "x", "x", {0, 1}},
    };
    for (const Case &c : cases) {
        PreviewLines lines;
        lines.setText(QStringLiteral("abc\ndef\n"));
        PreviewView view(lines);
        view.resize(400, 200);
        view.setCursorPosition(c.cursor);
        for (const Key &key : c.keys)
            QTest::keyClick(&view, Qt::Key(key.key), key.modifiers);
        Type(&view, QString::fromUtf8(c.typed));
        EXPECT_EQ(lines.text(), QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(view.cursorPosition(), c.after) << c.name;
    }
}

TEST(PreviewView, UndoAndRedoTakeEditsBackAndForth)
{
    PreviewLines lines;
    lines.setText(QStringLiteral("abc\ndef\n"));
    PreviewView view(lines);
    view.setCursorPosition({0, 1});
    Type(&view, QStringLiteral("xy"));
    QTest::keyClick(&view, Qt::Key_Return);
    Type(&view, QStringLiteral("z"));
    const QString edited = QStringLiteral("axy\nzbc\ndef\n");
    ASSERT_EQ(lines.text(), edited);

    const char *const undone[] = {"axy\nbc\ndef\n", "axybc\ndef\n", "abc\ndef\n", "abc\ndef\n"};
    for (const char *text : undone) {
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(lines.text(), QString::fromUtf8(text));
    }
    EXPECT_EQ(view.cursorPosition(), (Position{0, 1}));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(lines.text(), edited);
    EXPECT_EQ(view.cursorPosition(), (Position{1, 1}));

    // An edit of a whole long job is not kept for undoing (it would hold the job in full).
    lines.setText(QStringLiteral("wiersz\n").repeated(5000));
    view.refresh();
    Type(&view, QStringLiteral("a"));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    Type(&view, QStringLiteral("b"));
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(lines.text(), "b");

    // A new job leaves nothing to take back.
    lines.setText(QStringLiteral("nowy\n"));
    view.refresh();
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(lines.text(), "nowy\n");
}

TEST(PreviewView, CutsCopiesAndPastesThroughTheClipboard)
{
    PreviewLines lines;
    lines.setText(QStringLiteral("Kasa główna\nRaport 1\n"));
    PreviewView view(lines);
    view.setCursorPosition({0, 5});
    view.setCursorPosition({1, 6}, true);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "główna\nRaport");
    QTest::keyClick(&view, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(lines.text(), "Kasa  1\n");

    // Line breaks of another system become rows.
    QApplication::clipboard()->setText(QStringLiteral("A\r\nB\rC"));
    QTest::keyClick(&view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lines.text(), "Kasa A\nB\nC 1\n");
    EXPECT_EQ(view.cursorPosition(), (Position{2, 1}));
}

// A whole year's listing: the last row is reached at once and the view follows the cursor;
// a new job brings the view back to the top.
TEST(PreviewView, ReachesAnyRowOfALongJobAtOnce)
{
    PreviewLines lines;
    for (int i = 0; i < 200000; ++i)
        lines.appendLine(QStringLiteral("wiersz %1").arg(i));
    PreviewView view(lines);
    view.resize(600, 400);
    view.show();
    view.refresh();
    const int page = view.rowsPerPage();
    ASSERT_GT(page, 5);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 200001 - page);

    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.cursorPosition(), (Position{200000, 0}));
    EXPECT_EQ(view.firstVisibleRow(), 200001 - page);
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.cursorPosition().row, 200000 - page);
    EXPECT_EQ(view.firstVisibleRow(), 200001 - 2 * page);
    view.verticalScrollBar()->setValue(100000);
    EXPECT_EQ(view.firstVisibleRow(), 100000);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.firstVisibleRow(), 0);

    // Every row on screen is painted from the buffer: the picture changes with the row shown.
    view.verticalScrollBar()->setValue(150000);
    const QImage middle = view.viewport()->grab().toImage();
    view.verticalScrollBar()->setValue(150001);
    EXPECT_NE(view.viewport()->grab().toImage(), middle);

    view.setCursorPosition({150000, 3});
    lines.clear();
    lines.appendLine(QStringLiteral("następny wydruk"));
    view.refresh();
    EXPECT_EQ(view.cursorPosition(), (Position{0, 0}));
    EXPECT_EQ(view.firstVisibleRow(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

}  // namespace
