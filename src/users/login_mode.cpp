#include "users/login_mode.h"

#include "store/table.h"
#include "store/table_edit_helpers.h"

namespace {

const QString kLoginModeField = QStringLiteral("L4");

} // namespace

int StoredLoginMode(const Table &parameters)
{
    if (!parameters.isOpen() || !parameters.hasField(kLoginModeField))
        return 0;
    return parameters.asInteger(kLoginModeField);
}

bool StoreLoginMode(Table &parameters, int mode, Prompt &prompt)
{
    if (!parameters.isOpen())
        return false;
    EnsureEditing(parameters);
    parameters.setInteger(kLoginModeField, mode);
    return PostAndFlush(parameters, prompt);
}

QString LoginModeCaption(LoginMode mode)
{
    switch (mode) {
    case LoginMode::None:
        return QStringLiteral("brak");
    case LoginMode::Network:
        return QStringLiteral("na podstawie sieci");
    case LoginMode::Password:
        return QStringLiteral("na podstawie logowania");
    }
    return {};
}
