#include "contractors/ui/table_field_memo.h"

#include <QSignalBlocker>

TableFieldMemo::TableFieldMemo(Table &table, const QString &field, QWidget *parent)
    : QPlainTextEdit(parent), FieldBinding(table, field)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] { markTyped(); });
    reload();
}

void TableFieldMemo::showText(const QString &text)
{
    const QSignalBlocker quiet(this);
    setPlainText(text);
}

void TableFieldMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    commit();
}
