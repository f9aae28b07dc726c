#pragma once

#include "users/login_dialog.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// "Uwierzytelnienie . . .": the name box "Nazwa użytkownika :" (a login chosen from the list or
// typed), the password box "Hasło :" showing "*", OK and Abort ("Przerwij").
class LoginWindow final : public QDialog, public LoginDialog {
    Q_OBJECT

public:
    explicit LoginWindow(QWidget *parent = nullptr);

    void setLogins(const QStringList &logins) override;
    void setPasswordLength(int length) override;
    bool ask() override;
    QString name() const override;
    QString password() const override;
    void clearPassword() override;

    QComboBox *NameBox;
    QLineEdit *PasswordBox;
};
