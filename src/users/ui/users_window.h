#pragma once

#include "store/table.h"

#include <QDialog>
#include <functional>
#include <memory>

class NewUserWindow;
class Prompt;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TableFieldEdit;
class TableGrid;
class UsersAdministration;

// "Użytkownicy": the users of the whole suite with their level for this program, their
// description, their passwords, and the login mode. Created once and shown modally.
class UsersWindow final : public QDialog, private TableListener {
    Q_OBJECT

public:
    UsersWindow(UsersAdministration &administration, Prompt &prompt, QWidget *parent = nullptr);
    ~UsersWindow() override;

    // Opens the users table and shows the window until it closes.
    int showModal();

    TableGrid *Grid;
    QLineEdit *SearchBox;
    TableFieldEdit *PhoneEdit;
    TableFieldEdit *DepartmentEdit;
    TableFieldEdit *LocationEdit;
    QPushButton *NewButton;
    QPushButton *SaveButton;
    QPushButton *DeleteButton;
    QPushButton *PasswordButton;
    QGroupBox *PasswordPanel;
    QLineEdit *NewPasswordBox;
    QLineEdit *RepeatedPasswordBox;
    QPushButton *ChangePasswordButton;
    QGroupBox *IdentificationBox;
    QButtonGroup *Identification;
    QGroupBox *LegendBox;
    QLabel *Legend;
    NewUserWindow *NewUserDialog;

public slots:
    void done(int result) override;

private:
    // The row rules follow the current row at once.
    void tableChanged(Table &table, TableChange change) override;
    QWidget *buildDescription();
    QWidget *buildButtons();
    QWidget *buildPasswordPanel();
    QWidget *buildIdentification();
    QWidget *buildLegend();
    void applyRowRules();
    void setIdentificationSilently(int mode);
    bool commitDescription();
    void showPasswordPanel();
    void changePassword();
    void newUser();
    void save();
    void deleteUser();
    void identificationChosen(int mode);
    void run(const std::function<void()> &work);

    UsersAdministration &administration_;
    Prompt &prompt_;
    bool settingIdentification_ = false;
};
