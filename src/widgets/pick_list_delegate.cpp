#include "widgets/pick_list_delegate.h"

#include "widgets/table_field_edit.h"
#include "widgets/table_model.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

const GridColumn *ColumnOf(const QModelIndex &index)
{
    const auto *model = qobject_cast<const TableModel *>(index.model());
    if (!model || index.column() < 0 || index.column() >= model->columns().size())
        return nullptr;
    return &model->columns()[index.column()];
}

// The in-place editor takes no more than the field holds: nothing typed is cut when stored.
int TextSizeOf(const QModelIndex &index, const GridColumn &column)
{
    const auto *model = qobject_cast<const TableModel *>(index.model());
    return model ? FieldCharacterLimit(model->table(), column.field) : 0;
}

} // namespace

QWidget *PickListDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    const GridColumn *column = ColumnOf(index);
    const int size = column ? TextSizeOf(index, *column) : 0;
    if (!column || column->pickList.isEmpty()) {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor); edit && size > 0)
            edit->setMaxLength(size);
        return editor;
    }
    auto *list = new QComboBox(parent);
    list->setEditable(!column->pickListOnly);
    for (qsizetype i = 0; i < column->pickList.size(); ++i) {
        const QString &entry = column->pickList[i];
        const QString name = column->pickNames.value(i).trimmed();
        list->addItem(name.isEmpty() ? entry : entry + QStringLiteral("  ") + name, entry);
    }
    list->setMaxVisibleItems(16);
    if (list->lineEdit() && size > 0 && column->pickNames.isEmpty())
        list->lineEdit()->setMaxLength(size);
    return list;
}

void PickListDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *list = qobject_cast<QComboBox *>(editor);
    if (!list) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString text = index.data(Qt::EditRole).toString();
    int entry = list->findData(text);
    if (entry < 0)
        entry = list->findText(text);
    if (list->isEditable()) {
        list->setEditText(text);
        list->lineEdit()->selectAll(); // a key that opens the cell replaces its text
    }
    else if (entry >= 0)
        list->setCurrentIndex(entry);
}

void PickListDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *list = qobject_cast<QComboBox *>(editor);
    if (!list) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    // A chosen entry stores itself, not the name shown beside it.
    const QString text = list->currentText();
    const int entry = list->findText(text);
    model->setData(index, entry >= 0 && list->itemData(entry).isValid() ? list->itemData(entry).toString() : text,
                   Qt::EditRole);
}
