#include "app/ui/users_wiring.h"

#include "base/process_environment.h"
#include "ledger/ui/main_window_commands.h"
#include "store/data_module.h"
#include "users/ui/login_window.h"
#include "users/ui/operator_list_window.h"
#include "users/ui/users_window.h"
#include "users/users_administration.h"

UsersWiring::UsersWiring(Session &session, Prompt &prompt, GlobalState &state, const ProcessEnvironment &environment)
    : session_(session), prompt_(prompt), state_(state), systemUserName_(environment.userName),
      login_(UserLoginContext{session, prompt, state, environment.userName,
                              [] { return std::make_unique<LoginWindow>(); }})
{
}

UsersWiring::~UsersWiring() = default;

std::function<bool(Table &parameters)> UsersWiring::loginUser()
{
    return [this](Table &parameters) { return login_.LoginUser(parameters); };
}

void UsersWiring::addCommands(ExternalCommands &commands, TDANE &data, std::function<QWidget *()> mainWindow)
{
    commands.users = [this, &data, mainWindow] {
        if (!administration_)
            administration_ =
                std::make_unique<UsersAdministration>(session_, data.TPARA, state_, prompt_, systemUserName_);
        if (!usersWindow_)
            usersWindow_ = new UsersWindow(*administration_, prompt_, mainWindow());
        usersWindow_->showModal();
    };
    commands.changeUser = [this, &data, mainWindow] {
        if (!operatorWindow_)
            operatorWindow_ = new OperatorListWindow(data.TUSER, state_, prompt_, mainWindow());
        operatorWindow_->showModal();
    };
}
