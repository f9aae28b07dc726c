#include "print/ui/preview_view.h"

#include "print/preview_lines.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>

namespace {

constexpr int kMargin = 4;
// The edits kept for undoing hold their rows in full: at most this many rows in all (a whole
// job's worth would undo what the compact buffer saves), and at most this many steps.
constexpr qsizetype kMostRowsToUndo = 4000;
constexpr std::size_t kMostSteps = 200;

bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Line breaks of any kind a pasted text may bring become the preview's own.
QString PlainRows(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

}  // namespace

PreviewView::PreviewView(PreviewLines &lines, QWidget *parent)
    : QAbstractScrollArea(parent), lines_(lines), generation_(lines.generation())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    horizontalScrollBar()->setSingleStep(charWidth());
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

void PreviewView::takeInNewText()
{
    if (generation_ == lines_.generation())
        return;
    generation_ = lines_.generation();
    cursor_ = anchor_ = {};
    wantedColumn_ = -1;
    forgetSteps();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void PreviewView::refresh()
{
    takeInNewText();
    cursor_ = clamped(cursor_);
    anchor_ = clamped(anchor_);
    updateScrollBars();
    viewport()->update();
}

QString PreviewView::toPlainText() const
{
    return lines_.text();
}

PreviewView::Position PreviewView::clamped(Position position) const
{
    position.row = std::clamp<qsizetype>(position.row, 0, lines_.rowCount() - 1);
    position.column = std::clamp<qsizetype>(position.column, 0, lines_.row(position.row).size());
    return position;
}

PreviewView::Position PreviewView::endOfText() const
{
    const qsizetype last = lines_.rowCount() - 1;
    return {last, lines_.row(last).size()};
}

void PreviewView::setCursorPosition(Position position, bool keepAnchor)
{
    takeInNewText();
    moveTo(position, keepAnchor);
}

void PreviewView::moveTo(Position position, bool keepAnchor)
{
    cursor_ = clamped(position);
    if (!keepAnchor)
        anchor_ = cursor_;
    else
        anchor_ = clamped(anchor_);
    ensureCursorVisible();
    restartCaret();
    viewport()->update();
}

void PreviewView::selectAll()
{
    takeInNewText();
    anchor_ = {};
    moveTo(endOfText(), true);
}

void PreviewView::clearSelection()
{
    anchor_ = cursor_;
    viewport()->update();
}

std::pair<qsizetype, qsizetype> PreviewView::touchedRows() const
{
    Position start = clamped(selectionStart());
    Position end = clamped(selectionEnd());
    if (start == end) {
        start = {};
        end = endOfText();
    }
    qsizetype last = end.row;
    if (last != start.row && end.column == 0)
        --last;
    return {start.row, last};
}

QString PreviewView::selectedText() const
{
    const Position start = clamped(selectionStart());
    const Position end = clamped(selectionEnd());
    if (start.row == end.row)
        return lines_.row(start.row).mid(start.column, end.column - start.column);
    QString text = lines_.row(start.row).mid(start.column);
    for (qsizetype row = start.row + 1; row < end.row; ++row)
        text += u'\n' + lines_.row(row);
    text += u'\n' + lines_.row(end.row).left(end.column);
    return text;
}

void PreviewView::copy() const
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

void PreviewView::cut()
{
    if (!hasSelection())
        return;
    copy();
    insertText({});
}

void PreviewView::paste()
{
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty())
        insertText(text);
}

void PreviewView::insertText(const QString &text)
{
    takeInNewText();
    const Position start = clamped(selectionStart());
    const Position end = clamped(selectionEnd());
    const QString before = lines_.row(start.row).left(start.column);
    const QString after = lines_.row(end.row).mid(end.column);
    QStringList rows = PlainRows(text).split(u'\n');
    const qsizetype cursorColumn = (rows.size() == 1 ? before.size() : 0) + rows.last().size();
    rows.first().prepend(before);
    rows.last().append(after);
    const qsizetype replaced = end.row - start.row + 1;
    const Position cursorAfter{start.row + rows.size() - 1, cursorColumn};
    redoSteps_.clear();
    if (replaced + rows.size() > kMostRowsToUndo) {
        forgetSteps();
    } else if (!undoSteps_.empty() && replaced == 1 && rows.size() == 1
               && undoSteps_.back().first == start.row && undoSteps_.back().after.size() == 1
               && undoSteps_.back().cursorAfter == clamped(cursor_) && !hasSelection()) {
        // Typing along one row is taken back at once.
        undoSteps_.back().after = rows;
        undoSteps_.back().cursorAfter = cursorAfter;
    } else {
        Step step{start.row, {}, rows, cursor_, anchor_, cursorAfter};
        for (qsizetype row = start.row; row <= end.row; ++row)
            step.before.append(lines_.row(row));
        undoSteps_.push_back(std::move(step));
        trimSteps();
    }
    lines_.replaceRows(start.row, replaced, rows);
    generation_ = lines_.generation();
    wantedColumn_ = -1;
    updateScrollBars();
    moveTo(cursorAfter, false);
    emit edited();
}

void PreviewView::trimSteps()
{
    qsizetype rows = 0;
    for (const auto *steps : {&undoSteps_, &redoSteps_})
        for (const Step &step : *steps)
            rows += step.before.size() + step.after.size();
    while (!undoSteps_.empty() && (rows > kMostRowsToUndo || undoSteps_.size() > kMostSteps)) {
        rows -= undoSteps_.front().before.size() + undoSteps_.front().after.size();
        undoSteps_.erase(undoSteps_.begin());
    }
}

void PreviewView::forgetSteps()
{
    undoSteps_.clear();
    undoSteps_.shrink_to_fit();
    redoSteps_.clear();
    redoSteps_.shrink_to_fit();
}

void PreviewView::undo()
{
    takeInNewText();
    if (undoSteps_.empty())
        return;
    Step step = std::move(undoSteps_.back());
    undoSteps_.pop_back();
    lines_.replaceRows(step.first, step.after.size(), step.before);
    updateScrollBars();
    anchor_ = step.anchorBefore;
    moveTo(step.cursorBefore, true);
    redoSteps_.push_back(std::move(step));
    emit edited();
}

void PreviewView::redo()
{
    takeInNewText();
    if (redoSteps_.empty())
        return;
    Step step = std::move(redoSteps_.back());
    redoSteps_.pop_back();
    lines_.replaceRows(step.first, step.before.size(), step.after);
    updateScrollBars();
    moveTo(step.cursorAfter, false);
    undoSteps_.push_back(std::move(step));
    emit edited();
}

qsizetype PreviewView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int PreviewView::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int PreviewView::charWidth() const
{
    return std::max(1, fontMetrics().horizontalAdvance(u'M'));
}

int PreviewView::rowsPerPage() const
{
    return std::max(1, viewport()->height() / lineHeight());
}

int PreviewView::xOf(const QString &row, qsizetype column) const
{
    return kMargin + fontMetrics().horizontalAdvance(row.left(column));
}

void PreviewView::updateScrollBars()
{
    const int page = rowsPerPage();
    const qsizetype rows = lines_.rowCount();
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, int(std::max<qsizetype>(rows - page, 0)));
    const qint64 width = qint64(lines_.widestRow() + 1) * charWidth() + 2 * kMargin;
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(charWidth());
    horizontalScrollBar()->setRange(0, int(std::max<qint64>(width - viewport()->width(), 0)));
}

void PreviewView::ensureCursorVisible()
{
    const qsizetype first = firstVisibleRow();
    const int page = rowsPerPage();
    if (cursor_.row < first)
        verticalScrollBar()->setValue(int(cursor_.row));
    else if (cursor_.row >= first + page)
        verticalScrollBar()->setValue(int(cursor_.row - page + 1));
    const int x = xOf(lines_.row(cursor_.row), cursor_.column);
    QScrollBar *across = horizontalScrollBar();
    if (x - kMargin < across->value())
        across->setValue(std::max(0, x - kMargin - 4 * charWidth()));
    else if (x + charWidth() > across->value() + viewport()->width())
        across->setValue(x + 4 * charWidth() - viewport()->width());
}

PreviewView::Position PreviewView::positionAt(const QPoint &point) const
{
    const qsizetype row = std::clamp<qsizetype>(firstVisibleRow() + point.y() / lineHeight(), 0,
                                                lines_.rowCount() - 1);
    const QString text = lines_.row(row);
    const int x = point.x() + horizontalScrollBar()->value();
    qsizetype column = 0;
    while (column < text.size()) {
        const int left = xOf(text, column);
        const int right = xOf(text, column + 1);
        if (x < (left + right) / 2)
            break;
        ++column;
    }
    return {row, column};
}

void PreviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int height = lineHeight();
    const int shift = horizontalScrollBar()->value();
    const qsizetype rows = lines_.rowCount();
    const qsizetype first = firstVisibleRow();
    const qsizetype shown = viewport()->height() / height + 2;
    const Position start = clamped(selectionStart());
    const Position end = clamped(selectionEnd());
    const Position cursor = clamped(cursor_);
    const QPalette &colours = palette();
    for (qsizetype i = 0; i < shown && first + i < rows; ++i) {
        const qsizetype row = first + i;
        const QString text = lines_.row(row);
        const int top = int(i) * height;
        const int baseline = top + metrics.ascent();
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(kMargin - shift, baseline, text);
        if (start != end && row >= start.row && row <= end.row) {
            const int left = xOf(text, row == start.row ? start.column : 0) - shift;
            int right = xOf(text, row == end.row ? end.column : text.size()) - shift;
            if (row < end.row)
                right += charWidth();  // the row's line break is selected too
            const QRect band(left, top, right - left, height);
            painter.fillRect(band, colours.color(QPalette::Highlight));
            painter.save();
            painter.setClipRect(band);
            painter.setPen(colours.color(QPalette::HighlightedText));
            painter.drawText(kMargin - shift, baseline, text);
            painter.restore();
        }
        if (row == cursor.row && hasFocus() && caretShown_)
            painter.fillRect(xOf(text, cursor.column) - shift, top, 1, height,
                             colours.color(QPalette::Text));
    }
}

void PreviewView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PreviewView::scrollContentsBy(int, int)
{
    viewport()->update();
}

PreviewView::Position PreviewView::wordStep(Position from, int direction) const
{
    const QString text = lines_.row(from.row);
    qsizetype column = from.column;
    if (direction > 0) {
        if (column >= text.size())
            return from.row + 1 < lines_.rowCount() ? Position{from.row + 1, 0} : from;
        while (column < text.size() && IsWordCharacter(text[column]))
            ++column;
        if (column == from.column)
            ++column;
        while (column < text.size() && text[column].isSpace())
            ++column;
        return {from.row, column};
    }
    if (column == 0)
        return from.row > 0 ? Position{from.row - 1, lines_.row(from.row - 1).size()} : from;
    while (column > 0 && text[column - 1].isSpace())
        --column;
    const qsizetype wordEnd = column;
    while (column > 0 && IsWordCharacter(text[column - 1]))
        --column;
    if (column == wordEnd && column > 0)
        --column;
    return {from.row, column};
}

bool PreviewView::moveByKey(QKeyEvent *event)
{
    struct Move {
        QKeySequence::StandardKey plain;
        QKeySequence::StandardKey extending;
    };
    static const Move kMoves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument},
    };
    for (const Move &move : kMoves) {
        const bool extend = event->matches(move.extending);
        if (!extend && !event->matches(move.plain))
            continue;
        const QKeySequence::StandardKey key = move.plain;
        Position to = cursor_;
        const QString text = lines_.row(to.row);
        qsizetype verticalStep = 0;
        switch (key) {
        case QKeySequence::MoveToNextChar:
            if (!extend && hasSelection())
                to = selectionEnd();
            else if (to.column < text.size())
                ++to.column;
            else if (to.row + 1 < lines_.rowCount())
                to = {to.row + 1, 0};
            break;
        case QKeySequence::MoveToPreviousChar:
            if (!extend && hasSelection())
                to = selectionStart();
            else if (to.column > 0)
                --to.column;
            else if (to.row > 0)
                to = {to.row - 1, lines_.row(to.row - 1).size()};
            break;
        case QKeySequence::MoveToNextWord:
            to = wordStep(to, 1);
            break;
        case QKeySequence::MoveToPreviousWord:
            to = wordStep(to, -1);
            break;
        case QKeySequence::MoveToNextLine:
            verticalStep = 1;
            break;
        case QKeySequence::MoveToPreviousLine:
            verticalStep = -1;
            break;
        case QKeySequence::MoveToNextPage:
            verticalStep = rowsPerPage();
            break;
        case QKeySequence::MoveToPreviousPage:
            verticalStep = -rowsPerPage();
            break;
        case QKeySequence::MoveToStartOfLine:
            to.column = 0;
            break;
        case QKeySequence::MoveToEndOfLine:
            to.column = text.size();
            break;
        case QKeySequence::MoveToStartOfDocument:
            to = {};
            break;
        case QKeySequence::MoveToEndOfDocument:
            to = endOfText();
            break;
        default:
            break;
        }
        if (verticalStep != 0) {
            if (wantedColumn_ < 0)
                wantedColumn_ = cursor_.column;
            to = {std::clamp<qsizetype>(to.row + verticalStep, 0, lines_.rowCount() - 1),
                  wantedColumn_};
            // A page moves the view with the cursor, as far as the text goes.
            if (key == QKeySequence::MoveToNextPage || key == QKeySequence::MoveToPreviousPage)
                verticalScrollBar()->setValue(int(firstVisibleRow() + verticalStep));
            const qsizetype wanted = wantedColumn_;
            moveTo(to, extend);
            wantedColumn_ = wanted;
        } else {
            wantedColumn_ = -1;
            moveTo(to, extend);
        }
        return true;
    }
    return false;
}

bool PreviewView::editByKey(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::InsertParagraphSeparator)
               || event->matches(QKeySequence::InsertLineSeparator)) {
        insertText(QStringLiteral("\n"));
    } else if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete
               || event->matches(QKeySequence::Delete) || event->matches(QKeySequence::Backspace)) {
        if (!hasSelection()) {
            const bool forward = event->key() == Qt::Key_Delete || event->matches(QKeySequence::Delete);
            Position to = cursor_;
            if (forward) {
                if (to.column < lines_.row(to.row).size())
                    ++to.column;
                else if (to.row + 1 < lines_.rowCount())
                    to = {to.row + 1, 0};
            } else if (to.column > 0) {
                --to.column;
            } else if (to.row > 0) {
                to = {to.row - 1, lines_.row(to.row - 1).size()};
            }
            if (to == cursor_)
                return true;
            anchor_ = to;
        }
        insertText({});
    } else {
        const QString typed = event->text();
        const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
        if (typed.isEmpty() || command
            || std::any_of(typed.begin(), typed.end(), [](QChar c) { return !c.isPrint(); }))
            return false;
        insertText(typed);
    }
    return true;
}

void PreviewView::keyPressEvent(QKeyEvent *event)
{
    takeInNewText();
    cursor_ = clamped(cursor_);
    anchor_ = clamped(anchor_);
    if (moveByKey(event) || editByKey(event))
        event->accept();
    else
        QAbstractScrollArea::keyPressEvent(event);
}

void PreviewView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    takeInNewText();
    wantedColumn_ = -1;
    moveTo(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void PreviewView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    moveTo(positionAt(event->position().toPoint()), true);
}

void PreviewView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const Position at = positionAt(event->position().toPoint());
    const QString text = lines_.row(at.row);
    qsizetype from = at.column;
    qsizetype to = at.column;
    while (from > 0 && IsWordCharacter(text[from - 1]))
        --from;
    while (to < text.size() && IsWordCharacter(text[to]))
        ++to;
    anchor_ = {at.row, from};
    moveTo({at.row, to}, true);
}

// A closed preview keeps nothing of its own; the print module keeps the job's lines.
void PreviewView::hideEvent(QHideEvent *event)
{
    forgetSteps();
    QAbstractScrollArea::hideEvent(event);
}

void PreviewView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartCaret();
}

void PreviewView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer_.stop();
    viewport()->update();
}

void PreviewView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateScrollBars();
        viewport()->update();
    }
}

void PreviewView::restartCaret()
{
    caretShown_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        caretTimer_.start(flash / 2, this);
    else
        caretTimer_.stop();
}

void PreviewView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != caretTimer_.timerId())
        return QAbstractScrollArea::timerEvent(event);
    caretShown_ = !caretShown_;
    viewport()->update();
}

void PreviewView::contextMenuEvent(QContextMenuEvent *event)
{
    takeInNewText();
    QMenu menu(this);
    menu.addAction(QStringLiteral("Cofnij"), this, &PreviewView::undo)->setEnabled(!undoSteps_.empty());
    menu.addAction(QStringLiteral("Ponów"), this, &PreviewView::redo)->setEnabled(!redoSteps_.empty());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Wytnij"), this, &PreviewView::cut)->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("Kopiuj"), this, &PreviewView::copy)->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("Wklej"), this, &PreviewView::paste)
        ->setEnabled(!QApplication::clipboard()->text().isEmpty());
    menu.addAction(QStringLiteral("Usuń"), this, [this] { insertText({}); })->setEnabled(hasSelection());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Zaznacz wszystko"), this, &PreviewView::selectAll);
    menu.exec(event->globalPos());
}
