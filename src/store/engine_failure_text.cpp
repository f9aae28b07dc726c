#include "store/engine_failure_text.h"

#include <sqlite3.h>

QString EngineFailureText(int resultCode, const QString &engineMessage)
{
    switch (resultCode & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("brak miejsca na dysku");
    case SQLITE_READONLY:
        return QStringLiteral("plik jest tylko do odczytu");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("plik nie jest tabelą lub jest uszkodzony");
    case SQLITE_IOERR:
        return QStringLiteral("błąd odczytu lub zapisu na dysku");
    case SQLITE_CANTOPEN:
        return QStringLiteral("nie można otworzyć pliku");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("tabela jest zablokowana przez inny program");
    case SQLITE_NOMEM:
        return QStringLiteral("brak pamięci");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("brak uprawnień do pliku");
    default:
        return engineMessage;
    }
}

QString EngineFailureText(sqlite3 *db)
{
    if (!db)
        return QStringLiteral("nie można otworzyć pliku");
    return EngineFailureText(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}
