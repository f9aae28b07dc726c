#include "store/server_tree_refusal.h"

#include "base/prompt.h"
#include "base/server_location.h"

QString ServerMaintenanceRefusal(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!IsServerPath(path))
            continue;
        const std::optional<ServerTableAddress> address = ParseServerTablePath(path);
        return QStringLiteral("Dane leżą na serwerze bazy danych %1.\r"
                              "Ta operacja działa tylko na danych zapisanych w plikach; nic nie zostało zmienione.")
            .arg(address ? address->server : path);
    }
    return {};
}

bool RefusedOnServer(const QStringList &paths, Prompt &prompt)
{
    const QString refusal = ServerMaintenanceRefusal(paths);
    if (refusal.isEmpty())
        return false;
    prompt.show(PromptIcon::Error, refusal, Ok);
    return true;
}
