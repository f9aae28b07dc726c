#include "store/no_identification_login.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "store/table.h"

const char *const kLoginNotAvailableMessage =
    "Logowanie użytkowników nie jest jeszcze dostępne w tej wersji programu.\r"
    "Sposób identyfikacji użytkowników ustawiony w parametrach programu nie może zostać sprawdzony.";

namespace {

constexpr quint8 kFullAccess = 255;

int LoginMode(const Table &parameters)
{
    if (!parameters.isOpen() || !parameters.hasField(QStringLiteral("L4")))
        return 0;
    return parameters.asInteger(QStringLiteral("L4"));
}

} // namespace

bool LoginWithoutIdentification(Table &parameters, GlobalState &state, Prompt &prompt)
{
    if (LoginMode(parameters) < 1) {
        state.AccessLevel = kFullAccess;
        return true;
    }
    prompt.error(QString::fromUtf8(kLoginNotAvailableMessage));
    return false;
}
