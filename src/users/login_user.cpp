#include "users/login_user.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "users/access_levels.h"
#include "users/login_dialog.h"
#include "users/login_mode.h"
#include "users/network_user_name.h"
#include "users/password_check.h"
#include "users/users_table.h"

#include <QScopeGuard>

const char *const kUsersTableErrorMessage = "Błąd otwarcia bazy użytkowników.\rBrak możliwości uwierzytelnienia";
const char *const kWrongPasswordMessage = "Złe hasło";
const char *const kNoAccessMessage = "Brak uprawnień do obsługi programu";

UserLogin::UserLogin(const UserLoginContext &context)
    : context_(context), users_(context.session, QStringLiteral("TUSERS"))
{
}

UserLogin::~UserLogin() = default;

bool UserLogin::LoginUser(Table &parameters)
{
    GlobalState &state = context_.state;
    const int mode = StoredLoginMode(parameters);
    if (mode < int(LoginMode::Network)) {
        state.AccessLevel = kAdministrationLevel;
        return true;
    }
    if (!OpenUsersTable(users_)) {
        context_.prompt.beep();
        context_.prompt.error(QString::fromUtf8(kUsersTableErrorMessage));
        return false;
    }
    // The users table is shared with the other programs of the suite (and replaced by a
    // restore): it stays open only while the login needs it.
    const auto closeUsers = qScopeGuard([this] { users_.close(); });

    state.LoginName.clear();
    state.SignedInLogin.clear();
    if (mode == int(LoginMode::Network))
        state.LoginName = NetworkUserName(context_.systemUserName);
    else if (mode == int(LoginMode::Password))
        state.LoginName = askForLogin();

    bool allowed = false;
    if (!state.LoginName.isEmpty() && users_.findKey({state.LoginName})) {
        state.AccessLevel = quint8(EffectiveAccessLevel(users_));
        state.SignedInLogin = state.LoginName;
        allowed = true;
    }
    if (state.AccessLevel == kNoAccessLevel) {
        context_.prompt.error(QString::fromUtf8(kNoAccessMessage));
        return false;
    }
    return allowed;
}

// The dialog until a login and its password match (that login) or the user gives up (empty).
QString UserLogin::askForLogin()
{
    if (!dialog_ && context_.createDialog)
        dialog_ = context_.createDialog();
    if (!dialog_)
        return {};
    dialog_->setLogins(logins());
    dialog_->setPasswordLength(TextFieldSize(users_, UsersField::Password));
    dialog_->clearPassword();
    while (dialog_->ask()) {
        const QString name = dialog_->name();
        // The login is a key typed exactly: "admin" is not "ADMIN".
        if (!name.isEmpty() && users_.findKey({name}) && users_.asString(UsersField::Login) == name
            && SamePassword(users_.asString(UsersField::Password), dialog_->password()))
            return users_.asString(UsersField::Login);
        context_.prompt.error(QString::fromUtf8(kWrongPasswordMessage));
        dialog_->clearPassword();
    }
    return {};
}

QStringList UserLogin::logins()
{
    QStringList names;
    for (users_.first(); !users_.eof(); users_.next())
        names.append(users_.asString(UsersField::Login));
    return names;
}
