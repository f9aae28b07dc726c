#pragma once

#include "store/table.h"

#include <QString>
#include <functional>
#include <memory>

class LoginDialog;
class Prompt;
class Session;
struct GlobalState;

// What the login works with: the session its users table lives in, the way to speak to the
// user, the global state it writes (LoginName, AccessLevel), the operating system's user name
// and the dialog, which is created the first time a login asks for a password.
struct UserLoginContext {
    Session &session;
    Prompt &prompt;
    GlobalState &state;
    QString systemUserName;
    std::function<std::unique_ptr<LoginDialog>()> createDialog;
};

// The login of the user, run by every opening of the tables (start-up, index repair, restore,
// the year change), by the login mode L4 of the parameter row:
// - no identification (0 or less): level 255, LoginName kept;
// - network (1): the operating system's user name is the login;
// - password (2): the login dialog until a login and its password match or the user gives up;
//   a refused try says "Złe hasło" and empties the password box.
// The user's level is "P9" of his row, or "P0" when "P9" is empty. Level 0 may not work:
// "Brak uprawnień do obsługi programu" while no level has been granted in this run.
class UserLogin {
public:
    explicit UserLogin(const UserLoginContext &context);
    UserLogin(const UserLogin &) = delete;
    UserLogin &operator=(const UserLogin &) = delete;
    ~UserLogin();

    // True when the user may work; sets LoginName and AccessLevel.
    bool LoginUser(Table &parameters);

private:
    QString askForLogin();
    QStringList logins();

    UserLoginContext context_;
    Table users_;
    std::unique_ptr<LoginDialog> dialog_;
};

// The users table cannot be opened for the login.
extern const char *const kUsersTableErrorMessage;
// A login that is not in the table, or a wrong password.
extern const char *const kWrongPasswordMessage;
// The user has no level for this program.
extern const char *const kNoAccessMessage;
