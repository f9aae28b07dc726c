#pragma once

#include "users/users_administration.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class Table;

// "Nowy użytkownik": the login, the name, the location, the phone and the department of a new
// user, and his level (none chosen at first); OK and Abort.
class NewUserWindow final : public QDialog {
    Q_OBJECT

public:
    explicit NewUserWindow(QWidget *parent = nullptr);

    // Empty fields, no level chosen, each field taking as many characters as the table's field.
    void prepare(const Table &users);
    NewUser user() const;

    QLineEdit *LoginEdit;
    QLineEdit *NameEdit;
    QLineEdit *LocationEdit;
    QLineEdit *PhoneEdit;
    QLineEdit *DepartmentEdit;
    QButtonGroup *Level;
};
