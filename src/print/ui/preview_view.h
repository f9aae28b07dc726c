#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <compare>
#include <QStringList>
#include <utility>
#include <vector>

class PreviewLines;

// The preview of a job: shows the print module's buffer in place, painting only the rows on
// screen, so a listing of a whole year takes no more memory on screen than its compact buffer
// and any row is reached at once. The text can be edited as in a plain text field (typing,
// line breaks, deleting, cutting and pasting, the usual cursor moves with and without Shift,
// undoing and redoing); every edit goes straight into the buffer, so "DRUKUJ" prints what the
// user sees.
class PreviewView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    struct Position {
        qsizetype row = 0;
        qsizetype column = 0;
        auto operator<=>(const Position &) const = default;
    };

    explicit PreviewView(PreviewLines &lines, QWidget *parent = nullptr);

    // Takes in a change of the buffer made elsewhere: after a new job the cursor and the view
    // go back to the first row.
    void refresh();

    QString toPlainText() const;
    Position cursorPosition() const { return cursor_; }
    Position anchorPosition() const { return anchor_; }
    bool hasSelection() const { return cursor_ != anchor_; }
    // Moves the cursor; with keepAnchor the selection runs from the anchor to it.
    void setCursorPosition(Position position, bool keepAnchor = false);
    void selectAll();
    void clearSelection();
    // The first and the last row the selection touches, however little of them is selected,
    // or every row when nothing is selected. A selection ending at the very start of a row
    // does not touch that row.
    std::pair<qsizetype, qsizetype> touchedRows() const;
    // Replaces the selection (or inserts at the cursor) by the text; "\n" breaks the row.
    void insertText(const QString &text);
    void undo();
    void redo();
    qsizetype firstVisibleRow() const;
    int rowsPerPage() const;

signals:
    void edited();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    Position clamped(Position position) const;
    Position selectionStart() const { return std::min(cursor_, anchor_); }
    Position selectionEnd() const { return std::max(cursor_, anchor_); }
    Position endOfText() const;
    QString selectedText() const;
    void copy() const;
    void cut();
    void paste();
    void moveTo(Position position, bool keepAnchor);
    bool moveByKey(QKeyEvent *event);
    bool editByKey(QKeyEvent *event);
    Position wordStep(Position from, int direction) const;
    Position positionAt(const QPoint &point) const;
    int xOf(const QString &row, qsizetype column) const;
    int lineHeight() const;
    int charWidth() const;
    void updateScrollBars();
    void ensureCursorVisible();
    void restartCaret();
    void takeInNewText();

    // One edit as it can be taken back: the rows it replaced and the rows it left.
    struct Step {
        qsizetype first = 0;
        QStringList before;
        QStringList after;
        Position cursorBefore;
        Position anchorBefore;
        Position cursorAfter;
    };
    void forgetSteps();
    // Drops the oldest steps beyond the limits of what is kept.
    void trimSteps();

    PreviewLines &lines_;
    std::vector<Step> undoSteps_;
    std::vector<Step> redoSteps_;
    quint64 generation_ = 0;
    Position cursor_;
    Position anchor_;
    // Where Up and Down keep the cursor while they pass shorter rows.
    qsizetype wantedColumn_ = -1;
    QBasicTimer caretTimer_;
    bool caretShown_ = true;
};
