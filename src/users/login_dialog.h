#pragma once

#include <QString>
#include <QStringList>

// The login dialog "Uwierzytelnienie . . ." as the login sees it: a name box offering the
// logins (a name can also be typed), a password box that shows "*", OK and Abort.
class LoginDialog {
public:
    virtual ~LoginDialog() = default;

    // The logins offered in the name box, in the users table's key order.
    virtual void setLogins(const QStringList &logins) = 0;
    // The longest password the box takes: the room the users table gives one.
    virtual void setPasswordLength(int length) = 0;
    // Shows the dialog modally; true when it was closed by OK.
    virtual bool ask() = 0;
    virtual QString name() const = 0;
    virtual QString password() const = 0;
    // Empties the password box, so a refused password is not offered again.
    virtual void clearPassword() = 0;
};
