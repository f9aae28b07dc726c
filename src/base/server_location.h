#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A data root may name a database on a PostgreSQL server instead of a folder: "pg:SERVICE" (a
// service of pg_service.conf, the password in ~/.pgpass) or a "postgresql://" address. The
// program keeps such a root as "pg:" + the server + "/", where a server given by its address is
// written with its "/", "?", "%" and ":" escaped, so that table paths are composed under it as
// under a folder ("pg:kasa/2026/KASA/NAGKASA.DB").

// True when the text names a server: "pg:..." or "postgresql://..." / "postgres://...".
bool IsServerPath(const QString &path);

// The data root as the program keeps it (see above), ending in "/"; nullopt when the text does
// not name a server or names it without a database or service.
std::optional<QString> ServerDataRoot(const QString &given);

// Where a table path on a server leads.
struct ServerTableAddress {
    QByteArray connectionInfo; // what libpq connects with: "service=NAME" or the address
    QString server;            // the server as messages name it (without any password)
    QString schema;            // the year ("2026") or "root" for what lies outside the years
    QString table;             // the rest of the path, upper case, "/" between folders, no ".DB"
};

// The schema of what lies outside the year folders.
inline constexpr const char *kOutsideYearsSchema = "root";

// nullopt when the path does not name a server table.
std::optional<ServerTableAddress> ParseServerTablePath(const QString &path);
