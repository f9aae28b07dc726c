#pragma once

#include "users/login_dialog.h"

#include <deque>
#include <optional>

// The login dialog for tests: each showing takes the next try from the queue (a name and a
// password typed, then OK), or is abandoned when the queue is empty or holds an Abort.
class ScriptedLoginDialog : public LoginDialog {
public:
    struct Try {
        QString name;
        QString password;
        bool ok = true;
    };
    static Try Abandon(const QString &name = {}, const QString &password = {}) { return {name, password, false}; }

    std::deque<Try> tries;
    QStringList offeredLogins;
    int passwordLength = 0;
    int shown = 0;
    // The password box as it stood each time the dialog was shown.
    QStringList passwordAtShow;

    void setLogins(const QStringList &logins) override { offeredLogins = logins; }
    void setPasswordLength(int length) override { passwordLength = length; }
    bool ask() override
    {
        ++shown;
        passwordAtShow.append(password_);
        if (tries.empty())
            return false;
        const Try next = tries.front();
        tries.pop_front();
        name_ = next.name;
        password_ = next.password;
        return next.ok;
    }
    QString name() const override { return name_; }
    QString password() const override { return password_; }
    void clearPassword() override { password_.clear(); }

private:
    QString name_;
    QString password_;
};
