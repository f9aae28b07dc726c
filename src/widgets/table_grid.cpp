#include "widgets/table_grid.h"
#include "widgets/table_field_edit.h"

#include "widgets/grouped_header_view.h"
#include "widgets/pick_list_delegate.h"
#include "widgets/table_model.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

// Sky blue (RGB A6 CA F0), the colour of the selected row.
const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
constexpr int kLargestDefaultWidth = 240;

} // namespace

TableGrid::TableGrid(TableModel *model, QWidget *parent) : QTableView(parent), model_(model)
{
    model_->setParent(this);
    setHorizontalHeader(new GroupedHeaderView(this));
    setModel(model_);
    setItemDelegate(new PickListDelegate(this));
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing into a cell edits it at once, as in the program's other grids; a click only selects
    // (a delayed edit on a second click would swallow the first keys typed after it).
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    // The column widths are those of the program's grids, drawn in an 8-point font.
    QFont compact = font();
    compact.setPointSize(8);
    setFont(compact);
    horizontalHeader()->setFont(compact);
    setTabKeyNavigation(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(false);

    QPalette colours = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, kSkyBlue);
        colours.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    setPalette(colours);

    connect(model_, &TableModel::currentRowChanged, this, &TableGrid::followTable);
    connect(model_, &QAbstractItemModel::headerDataChanged, this, [this] { applyColumns(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { applyColumns(); });
    // The rows read again close the cell editor: the focus stays in the grid, not on whatever
    // control comes next.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (openEditor()) {
            keepingFocus_ = true;
            setFocus();
            keepingFocus_ = false;
        }
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section >= 0 && section < model_->columns().size())
            emit titleClicked(model_->columns()[section].field);
    });
    applyColumns();
    followTable(model_->currentRow());
}

int TableGrid::defaultWidth(int column) const
{
    const GridColumn &described = model_->columns()[column];
    const QString title = described.title.isEmpty() ? described.field : described.title;
    int characters = 10;
    if (model_->table().isOpen()) {
        for (const FieldDef &def : model_->table().fields())
            if (def.name.compare(described.field, Qt::CaseInsensitive) == 0 && def.size > 0)
                characters = def.size;
    }
    const int byContent = fontMetrics().horizontalAdvance(QString(characters, u'0')) + 10;
    const int byTitle = fontMetrics().horizontalAdvance(title) + 12;
    return std::min(std::max(byContent, byTitle), kLargestDefaultWidth);
}

// An amount column shows the largest amount a field holds, "999 999 999 999,99", whole.
int TableGrid::amountWidth(int column) const
{
    if (!model_->table().isOpen())
        return 0;
    const QString &field = model_->columns()[column].field;
    for (const FieldDef &def : model_->table().fields())
        if (def.type == FieldType::Currency && def.name.compare(field, Qt::CaseInsensitive) == 0)
            return WidestAmountWidth(fontMetrics()) + 12;
    return 0;
}

void TableGrid::applyColumns()
{
    const QList<GridColumn> &columns = model_->columns();
    for (int i = 0; i < columns.size(); ++i) {
        setColumnHidden(i, !columns[i].visible);
        setColumnWidth(i, std::max(columns[i].width > 0 ? columns[i].width : defaultWidth(i), amountWidth(i)));
    }
    horizontalHeader()->updateGeometry();
}

void TableGrid::setMultiSelect(bool multiSelect)
{
    setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

namespace {

// Rows of the selection in the order its ranges were made; a range runs down the list.
QList<int> RowsInSelectionOrder(const QItemSelection &selection)
{
    QList<int> rows;
    for (const QItemSelectionRange &range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (!rows.contains(row))
                rows.append(row);
    return rows;
}

} // namespace

QList<Bookmark> TableGrid::selectedBookmarks() const
{
    QList<int> rows = RowsInSelectionOrder(selectionModel()->selection());
    std::sort(rows.begin(), rows.end());
    return bookmarksAt(rows);
}

QList<Bookmark> TableGrid::selectedBookmarksInSelectionOrder() const
{
    return bookmarksAt(RowsInSelectionOrder(selectionModel()->selection()));
}

QList<Bookmark> TableGrid::bookmarksAt(const QList<int> &rows) const
{
    QList<Bookmark> bookmarks;
    for (int row : rows)
        if (const Bookmark mark = model_->bookmarkAt(row); mark.isValid())
            bookmarks.append(mark);
    return bookmarks;
}

void TableGrid::showOneRowOnly()
{
    oneRowOnly_ = true;
    // A click opens the list once it is clear that it is not the first click of a double click.
    listTimer_ = new QTimer(this);
    listTimer_->setSingleShot(true);
    listTimer_->setInterval(QApplication::doubleClickInterval());
    connect(listTimer_, &QTimer::timeout, this, &TableGrid::openRowList);
    horizontalHeader()->hide();
    setAlternatingRowColors(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFixedHeight(verticalHeader()->defaultSectionSize() + 2 * frameWidth());
}

// The user moved the selection: the table follows; when a rule keeps the table where it is,
// the selection goes back.
void TableGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid() || current.row() == model_->currentRow())
        return;
    if (model_->moveTo(current.row()))
        return;
    followTable(model_->currentRow());
    // The click or key that moved the selection goes on selecting after this returns: the row
    // kept is selected again once it has finished.
    QMetaObject::invokeMethod(this, [this] { selectTableRow(); }, Qt::QueuedConnection);
}

void TableGrid::selectTableRow()
{
    const int row = model_->currentRow();
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (currentIndex().row() == row && selected.size() == 1 && selected.first().row() == row)
        return;
    following_ = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    selectionModel()->setCurrentIndex(model_->index(row, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    following_ = false;
}

void TableGrid::followTable(int row)
{
    if (following_)
        return;
    following_ = true;
    if (row < 0) {
        selectionModel()->clearSelection();
    } else if (row < model_->rowCount() && currentIndex().row() != row) {
        int column = currentIndex().isValid() ? currentIndex().column() : 0;
        while (column < model_->columnCount() - 1 && isColumnHidden(column))
            ++column;
        const QModelIndex target = model_->index(row, column);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(target, oneRowOnly_ ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
    }
    following_ = false;
}

void TableGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    // The focus coming back with its window (a message closed, a menu gone) is no entering: a
    // window that stores something on entering would otherwise ask again after every message.
    if (!keepingFocus_ && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit entered();
}

void TableGrid::openRowList()
{
    QMenu list(this);
    for (int row = 0; row < model_->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < model_->columnCount(); ++column)
            if (!isColumnHidden(column))
                texts.append(model_->data(model_->index(row, column)).toString());
        QAction *entry = list.addAction(texts.join(QStringLiteral("  ")));
        entry->setData(row);
        entry->setCheckable(true);
        entry->setChecked(row == model_->currentRow());
    }
    list.setMinimumWidth(width());
    const QAction *chosen = list.exec(mapToGlobal(QPoint(0, height())));
    if (!chosen)
        return;
    const int row = chosen->data().toInt();
    if (row != model_->currentRow() && !model_->moveTo(row))
        return;
    emit rowChosen();
}

void TableGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (oneRowOnly_ && event->button() == Qt::LeftButton)
        listTimer_->start();
}

void TableGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (listTimer_)
        listTimer_->stop();
    QTableView::mouseDoubleClickEvent(event);
}

bool TableGrid::atEdge(bool next) const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || model_->rowCount() == 0)
        return true;
    if (current.row() != (next ? model_->rowCount() - 1 : 0))
        return false;
    for (int column = next ? current.column() + 1 : current.column() - 1;
         column >= 0 && column < model_->columnCount(); column += next ? 1 : -1)
        if (!isColumnHidden(column))
            return false;
    return true;
}

bool TableGrid::onUntouchedNewRow() const
{
    const Table &table = model_->table();
    return table.isOpen() && table.state() == TableState::Insert && !table.modified();
}

QWidget *TableGrid::openEditor() const
{
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    for (QWidget *widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (widget->parentWidget() == viewport())
            return widget;
    return nullptr;
}

// What is typed in the cell goes into the row, the row is stored, and a new line waits at its
// first column.
void TableGrid::startNewLine()
{
    if (QWidget *editor = openEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (!model_->appendRow())
        return;
    int column = 0;
    while (column < model_->columnCount() - 1 && isColumnHidden(column))
        ++column;
    setCurrentIndex(model_->index(model_->currentRow(), column));
}

// Tab leaves the grid from its last cell (and Shift+Tab from its first) for the next control,
// storing the row first; a row the rules refuse keeps the focus. Elsewhere Tab goes from cell to
// cell and on to the next line.
bool TableGrid::focusNextPrevChild(bool next)
{
    if (!tabKeyNavigation() || !atEdge(next))
        return QTableView::focusNextPrevChild(next);
    if (!model_->postPending())
        return true;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// Tab and Shift+Tab in a cell move on as they do outside it; in a grid of lines Enter does too,
// and the next cell is only made current: typing opens it, and Down and Insert stay the grid's.
void TableGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool next = hint == QAbstractItemDelegate::EditNextItem
                      || (lineEntry_ && hint == QAbstractItemDelegate::SubmitModelCache);
    const bool moving = next || hint == QAbstractItemDelegate::EditPreviousItem;
    keepingFocus_ = true; // the focus comes back from the cell, it does not enter the grid
    if (moving && (lineEntry_ || atEdge(next))) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        keepingFocus_ = false;
        focusNextPrevChild(next);
        return;
    }
    QTableView::closeEditor(editor, hint);
    keepingFocus_ = false;
}

void TableGrid::keyPressEvent(QKeyEvent *event)
{
    if (oneRowOnly_ && (event->key() == Qt::Key_F4
                        || (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier))) {
        openRowList();
        event->accept();
        return;
    }
    const Table &table = model_->table();
    if (event->key() == Qt::Key_Escape && state() != QAbstractItemView::EditingState && table.isOpen()
        && (table.state() == TableState::Edit || table.state() == TableState::Insert)) {
        model_->table().cancel();
        event->accept();
        return;
    }
    if (lineEntry_ && model_->isEditable() && event->modifiers() == Qt::NoModifier) {
        const bool onLastRow = currentIndex().row() == model_->rowCount() - 1;
        if (event->key() == Qt::Key_Insert || (event->key() == Qt::Key_Down && onLastRow)) {
            if (!onUntouchedNewRow())
                startNewLine();
            event->accept();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !openEditor()) {
            focusNextPrevChild(true);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

// While its cells are edited, typing into the grid edits the cell or does nothing; it never
// searches the rows and moves the selection away.
void TableGrid::keyboardSearch(const QString &search)
{
    if (!model_->isEditable())
        QTableView::keyboardSearch(search);
}

void TableGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (oneRowOnly_)
        if (const int row = model_->currentRow(); row >= 0)
            scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtTop);
}
