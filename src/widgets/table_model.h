#pragma once

#include "store/table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Prompt;

// One column of a grid over a table.
struct GridColumn {
    QString field;
    QString title;             // empty: the field's name
    int width = 0;             // pixels; 0: from the title and the field's size
    QString group;             // a common title over neighbouring columns ("WARTOŚĆ")
    bool visible = true;
    bool readOnly = false;
    QStringList pickList;      // the drop-down list of the in-place editor
    bool pickListOnly = false; // only the entries of the list are accepted
    // Says what is wrong with a typed text (empty when it is fine) before the field gets it.
    std::function<QString(const QString &typed)> check;
    QStringList pickNames;     // names shown beside the entries of the list (the entry is stored)
    // The text shown for a stored value, and the value stored for a text typed or picked (a
    // level shown as its label); empty: the field's own text.
    std::function<QString(const QString &stored)> shownAs;
    std::function<QString(const QString &typed)> storedAs;
};

// A grid's view of a table object: the rows of its data set (order, range, master link, filter)
// read a page at a time as the grid shows them, never all at once, while the table's current
// row stays where the program put it. Edits go through the table, so its rules apply to them;
// the model follows the table's notifications.
class TableModel final : public QAbstractTableModel, private TableListener {
    Q_OBJECT

public:
    // The group title of a column, for the header (headerData with this role).
    static constexpr int GroupRole = Qt::UserRole + 1;

    TableModel(Table &table, QList<GridColumn> columns, QObject *parent = nullptr);
    ~TableModel() override;

    Table &table() const { return table_; }
    const QList<GridColumn> &columns() const { return columns_; }
    // -1 when no column shows the field.
    int columnOf(const QString &field) const;
    void setColumnReadOnly(const QString &field, bool readOnly);
    void setColumnVisible(const QString &field, bool visible);
    void setColumnWidth(const QString &field, int width);
    void setPickList(const QString &field, const QStringList &entries, const QStringList &names = {});

    // In-place editing; while off every cell is read-only.
    void setEditable(bool editable);
    bool isEditable() const { return editable_; }
    // Shows the rows as stored only: a row being typed elsewhere (in another window's grid) shows
    // neither its new values nor itself until it is stored. For grids that never edit.
    void setStoredRowsOnly(bool storedOnly) { storedOnly_ = storedOnly; }
    // Where an edit the table refuses is reported (a value the field does not take, a failed post).
    void setPrompt(Prompt *prompt) { prompt_ = prompt; }

    // The background of a cell, decided from the row it shows (the table's getters read that
    // row while the function runs); nullopt leaves the grid's own colour.
    using CellColour = std::function<std::optional<QColor>(const Table &row, const QString &field)>;
    void setCellColour(CellColour colour) { cellColour_ = std::move(colour); }

    // The position of the table's current row (the new row while inserting); -1 when none.
    int currentRow() const;
    // Makes the row at the position the table's current row, storing a pending edit first; false
    // when the table stays where it was (a rule refused the pending edit).
    bool moveTo(int row);
    Bookmark bookmarkAt(int row) const;
    // Stores a pending edit or insert (PostAndFlush); false when refused or failed. A new row
    // nothing was typed into is dropped instead, as the user never began it.
    bool postPending();
    // Stores a pending edit, then starts a new row; false (after the rule's message) when refused.
    bool appendRow();
    // Forgets every row read, so the grid reads them again.
    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The table's current row moved, or the rows were read again: the grid selects this row.
    void currentRowChanged(int row);

private:
    void tableChanged(Table &table, TableChange change) override;
    void announceCurrentRow();
    bool showsNewRow() const;
    bool rowIsInsert(int row) const;
    bool readsTableDirectly(int row) const;
    int storedRowCount() const;
    const Row *rowAt(int row) const;
    void loadPage(int page) const;
    void storePage(int page, QList<Row> rows) const;
    int lastPage() const;
    int positionOf(qint64 rowId) const;
    QVariant cellValue(int row, int column, int role) const;
    std::optional<FieldType> typeOf(int column) const;
    QVariant cellText(int column, int role) const;
    bool writeCell(int row, const GridColumn &column, const QString &text);
    bool unchanged(const QString &field, const QString &text) const;
    void report(const QString &message, bool warning = false) const;

    Table &table_;
    QList<GridColumn> columns_;
    bool editable_ = false;
    Prompt *prompt_ = nullptr;
    CellColour cellColour_;
    bool announcing_ = false;
    bool storedOnly_ = false;

    // Rows read so far, by page; positions of the rows read, by row id.
    mutable std::optional<int> count_;
    mutable QHash<int, QList<Row>> pages_;
    mutable QHash<qint64, int> positions_;
    mutable std::optional<QList<std::optional<FieldType>>> types_;
};
