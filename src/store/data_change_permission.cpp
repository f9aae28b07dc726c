#include "store/data_change_permission.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/table.h"

const char *const kNoDataChangePermissionMessage = "Brak uprawnień do zmiany danych.";

bool MayChangeData(const GlobalState &state)
{
    return state.AccessLevel >= kDataChangeLevel;
}

bool CheckDataChangePermission(const GlobalState &state, Prompt &prompt)
{
    if (MayChangeData(state))
        return true;
    prompt.error(QString::fromUtf8(kNoDataChangePermissionMessage));
    return false;
}

void RequireDataChangePermission(const GlobalState &state, Prompt &prompt)
{
    if (!CheckDataChangePermission(state, prompt))
        throw Abort{};
}

void GuardDataChanges(Table &table, const GlobalState &state, Prompt &prompt)
{
    table.setChangeGuard([&state, &prompt] { RequireDataChangePermission(state, prompt); });
}
