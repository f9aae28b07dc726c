#include "users/ui/login_window.h"

#include "ledger/ui/qt_dialog_parts.h"
#include "widgets/window_frame.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

LoginWindow::LoginWindow(QWidget *parent)
    : QDialog(parent), NameBox(new QComboBox(this)), PasswordBox(new QLineEdit(this))
{
    setObjectName(QStringLiteral("LoginWindow"));
    setWindowTitle(QStringLiteral("Uwierzytelnienie . . ."));
    setModal(true);
    NameBox->setObjectName(QStringLiteral("NameBox"));
    NameBox->setEditable(true);
    NameBox->setInsertPolicy(QComboBox::NoInsert);
    // A login is an exact key: the box completes and picks only what matches letter case too.
    NameBox->completer()->setCaseSensitivity(Qt::CaseSensitive);
    NameBox->setMinimumWidth(180);
    PasswordBox->setObjectName(QStringLiteral("PasswordBox"));
    PasswordBox->setEchoMode(QLineEdit::Password);
    // Each typed character shows as "*".
    PasswordBox->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    auto *fields = new QFormLayout;
    fields->addRow(QString::fromUtf8("Nazwa użytkownika :"), NameBox);
    fields->addRow(QString::fromUtf8("Hasło :"), PasswordBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DialogButtons(*this, {DialogButton::Ok, DialogButton::Abort}));
}

void LoginWindow::setLogins(const QStringList &logins)
{
    const QString typed = NameBox->currentText();
    NameBox->clear();
    NameBox->addItems(logins);
    NameBox->setCurrentText(typed);
}

void LoginWindow::setPasswordLength(int length)
{
    PasswordBox->setMaxLength(length > 0 ? length : 32767);
}

bool LoginWindow::ask()
{
    // The password is typed next when a name is already there.
    if (NameBox->currentText().isEmpty())
        NameBox->setFocus();
    else
        PasswordBox->setFocus();
    adjustSize();
    CentreOnScreen(*this);
    return exec() == QDialog::Accepted;
}

QString LoginWindow::name() const
{
    return NameBox->currentText();
}

QString LoginWindow::password() const
{
    return PasswordBox->text();
}

void LoginWindow::clearPassword()
{
    PasswordBox->clear();
}
