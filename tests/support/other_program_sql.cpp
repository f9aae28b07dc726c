#include "other_program_sql.h"

#include "base/server_location.h"
#include "store/polish_collation.h"

#include <QFile>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

OtherProgramAnswer OnFile(const QString &tablePath, const QByteArray &sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(tablePath).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return OtherProgramAnswer::Failed;
    }
    RegisterPolishTextFunctions(db);
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (rc == SQLITE_OK)
        return OtherProgramAnswer::Done;
    return (rc & 0xff) == SQLITE_BUSY ? OtherProgramAnswer::Busy : OtherProgramAnswer::Failed;
}

OtherProgramAnswer OnServer(const ServerTableAddress &address, QByteArray sql)
{
    const QByteArray table = '"' + address.schema.toUtf8() + "\".\"" + address.table.toUtf8() + '"';
    for (const char *word : {"FROM ", "INTO ", "UPDATE ", "TABLE "})
        sql.replace(QByteArray(word) + "data", QByteArray(word) + table);
    PGconn *connection = PQconnectdb(address.connectionInfo.constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        PQfinish(connection);
        return OtherProgramAnswer::Failed;
    }
    PQclear(PQexec(connection, "SET lock_timeout = 300"));
    PGresult *result = PQexec(connection, sql.constData());
    const ExecStatusType status = PQresultStatus(result);
    const QByteArray state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    PQclear(result);
    PQfinish(connection);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return OtherProgramAnswer::Done;
    return state == "55P03" ? OtherProgramAnswer::Busy : OtherProgramAnswer::Failed;
}

} // namespace

OtherProgramAnswer OtherProgramTries(const QString &tablePath, const QByteArray &sql)
{
    if (const std::optional<ServerTableAddress> address = ParseServerTablePath(tablePath))
        return OnServer(*address, sql);
    return OnFile(tablePath, sql);
}

bool OtherProgramCouldWrite(const QString &tablePath)
{
    if (IsServerPath(tablePath))
        return OtherProgramTries(tablePath, "BEGIN; LOCK TABLE data IN SHARE ROW EXCLUSIVE MODE; ROLLBACK")
               == OtherProgramAnswer::Done;
    return OtherProgramTries(tablePath, "BEGIN IMMEDIATE; ROLLBACK") == OtherProgramAnswer::Done;
}
