#pragma once

#include <QList>
#include <QWidget>

class Prompt;
class QToolButton;
class Table;
class TableModel;

// The row of buttons that moves through a table and edits it. Each window chooses its buttons
// and their hints; a button is enabled when its command makes sense in the table's state.
class TableNavigator final : public QWidget {
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    struct Entry {
        Button button;
        QString hint;
    };

    // Deleting asks first; posting says what the engine refused through the prompt.
    TableNavigator(TableModel &model, Prompt &prompt, const QList<Entry> &buttons, QWidget *parent = nullptr);

    QToolButton *button(Button button) const;
    // Read-only: only the moving buttons work.
    void setReadOnly(bool readOnly);
    void updateButtons();
    // Runs the button's command, as a click does.
    void run(Button button);

signals:
    // After a row was appended (the grid moves to it for typing).
    void inserted();

private:
    Table &table() const;

    TableModel &model_;
    Prompt &prompt_;
    QList<std::pair<Button, QToolButton *>> buttons_;
    bool readOnly_ = false;
};
