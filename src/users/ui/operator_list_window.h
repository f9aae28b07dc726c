#pragma once

#include <QDialog>
#include <functional>

class Prompt;
class QAction;
class QPushButton;
class Table;
class TableGrid;
struct GlobalState;

// "Użytkownicy" of the menu "Zmiana użytkownika": the year's operator list, from which the
// operator named in the status bar and on closed reports is chosen. Created once and shown
// modally; what is typed into the list is stored when the window closes.
class OperatorListWindow final : public QDialog {
    Q_OBJECT

public:
    OperatorListWindow(Table &operators, GlobalState &state, Prompt &prompt, QWidget *parent = nullptr);

    int showModal();

    TableGrid *Grid;
    QPushButton *ChangeButton;
    QAction *NewOperatorAction;
    QAction *DeleteOperatorAction;

public slots:
    void done(int result) override;

private:
    void changeOperator();
    void newOperator();
    void deleteOperator();
    void run(const std::function<void()> &work);

    Table &operators_;
    GlobalState &state_;
    Prompt &prompt_;
};
