#pragma once

#include "widgets/table_field_edit.h"

#include <QPlainTextEdit>

// A text box of several lines showing a memo field of the table's current row. What the user
// types goes into the field when he leaves the box.
class TableFieldMemo final : public QPlainTextEdit, public FieldBinding {
    Q_OBJECT

public:
    TableFieldMemo(Table &table, const QString &field, QWidget *parent = nullptr);

protected:
    QString shownText() const override { return toPlainText(); }
    void showText(const QString &text) override;
    void focusOutEvent(QFocusEvent *event) override;
};
