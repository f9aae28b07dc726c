#pragma once

#include "users/login_user.h"

#include <QPointer>
#include <functional>
#include <memory>

class OperatorListWindow;
class Prompt;
class QWidget;
class Session;
class TDANE;
class Table;
class UsersAdministration;
class UsersWindow;
struct ExternalCommands;
struct GlobalState;
struct ProcessEnvironment;

// The users area in the program: the login that every opening of the tables runs, and the main
// window's "Użytkownicy" and "Zmiana użytkownika".
class UsersWiring {
public:
    UsersWiring(Session &session, Prompt &prompt, GlobalState &state, const ProcessEnvironment &environment);
    ~UsersWiring();

    // For the data module.
    std::function<bool(Table &parameters)> loginUser();
    // The windows are created over the main window the first time they are asked for.
    void addCommands(ExternalCommands &commands, TDANE &data, std::function<QWidget *()> mainWindow);

private:
    Session &session_;
    Prompt &prompt_;
    GlobalState &state_;
    QString systemUserName_;
    UserLogin login_;
    std::unique_ptr<UsersAdministration> administration_;
    QPointer<UsersWindow> usersWindow_;
    QPointer<OperatorListWindow> operatorWindow_;
};
