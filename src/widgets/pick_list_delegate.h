#pragma once

#include <QStyledItemDelegate>

// The in-place editor of a grid over a TableModel: a drop-down list for the columns that have
// one (free text too, unless the column takes only the list's entries), a line edit otherwise.
class PickListDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};
