#pragma once

#include "store/table.h"

#include <QList>
#include <QTableView>

class QTimer;

class TableModel;

// A grid over a table (through a TableModel): the selected row is the table's current row, in
// both directions; striped rows, the selected row sky blue; widths and titles from the model's
// columns, a common title over grouped columns; in-place editing when the model allows it, with
// drop-down lists where the column has one. Esc drops a pending edit of the row.
class TableGrid : public QTableView {
    Q_OBJECT

public:
    // The grid owns the model from now on.
    explicit TableGrid(TableModel *model, QWidget *parent = nullptr);

    TableModel &tableModel() const { return *model_; }
    // Several rows may be selected at once (with Ctrl and Shift).
    void setMultiSelect(bool multiSelect);
    // The rows selected, in the grid's order; the current row alone when only it is selected.
    QList<Bookmark> selectedBookmarks() const;
    // The same in the order the user selected them (documents print so).
    QList<Bookmark> selectedBookmarksInSelectionOrder() const;
    // Widths and visibility of the columns as the model describes them now.
    void applyColumns();
    // Shows exactly one row, without titles: the grid is a selector moved with the arrow keys,
    // whose list of rows opens on a click, Alt+Down or F4.
    void showOneRowOnly();
    // The selector's list of rows; choosing one makes it the current row.
    void openRowList();
    // The grid is typed into line after line (a document's lines, a dictionary): Enter moves on
    // as Tab does, and Down on the last line or Insert starts a new line.
    void setLineEntry(bool lineEntry) { lineEntry_ = lineEntry; }

signals:
    void titleClicked(const QString &field);
    // The user brought the focus into the grid (not its window coming back to the front).
    void entered();
    // A row was chosen from the selector's list.
    void rowChosen();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void keyboardSearch(const QString &search) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QList<Bookmark> bookmarksAt(const QList<int> &rows) const;
    void followTable(int row);
    // Selects the table's current row alone (after a refused move).
    void selectTableRow();
    int amountWidth(int column) const;
    int defaultWidth(int column) const;
    // The current cell is the last one Tab reaches (next), or the first one Shift+Tab reaches.
    bool atEdge(bool next) const;
    bool onUntouchedNewRow() const;
    void startNewLine();
    // The cell editor open in the grid, if any.
    QWidget *openEditor() const;

    TableModel *model_;
    bool following_ = false;
    bool oneRowOnly_ = false;
    bool lineEntry_ = false;
    bool keepingFocus_ = false;
    QTimer *listTimer_ = nullptr;
};
