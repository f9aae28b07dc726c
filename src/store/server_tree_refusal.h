#pragma once

#include <QString>
#include <QStringList>

class Prompt;

// Archive and restore work on table files; on data that lies on a
// database server they refuse, so that nothing is done there half or wrong.

// The refusal's text when a path lies on a server, else empty.
QString ServerMaintenanceRefusal(const QStringList &paths);

// Shows the refusal when a path lies on a server; true when it was refused.
bool RefusedOnServer(const QStringList &paths, Prompt &prompt);
