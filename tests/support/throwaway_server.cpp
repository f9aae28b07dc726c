#include "throwaway_server.h"

#include "base/server_location.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr const char *kBackendVariable = "KASA_TEST_BACKEND";
constexpr const char *kRootVariable = "KASA_TEST_SERVER_ROOT";
constexpr const char *kDatabase = "kasa_test";
constexpr const char *kService = "kasatest";

QString gFolder;
QString gRunAs; // the user the server runs as; empty for the tests' own

[[noreturn]] void Abort(const QString &message)
{
    std::fprintf(stderr, "Serwer testów nie wystartował: %s\n", qPrintable(message));
    std::fflush(stderr);
    std::_Exit(2);
}

QString ServerBinaries()
{
    for (const QString &version : {QStringLiteral("17"), QStringLiteral("16"), QStringLiteral("15")}) {
        const QString folder = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
        if (QFile::exists(folder + QStringLiteral("/initdb")))
            return folder;
    }
    const QString initdb = QStandardPaths::findExecutable(QStringLiteral("initdb"));
    return initdb.isEmpty() ? QString() : QFileInfo(initdb).absolutePath();
}

// Runs a server tool (as the server's user when the tests run as root); its output on failure.
std::optional<QString> RunTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (gRunAs.isEmpty()) {
        process.start(tool, arguments);
    } else {
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), gRunAs, QStringLiteral("--"), tool}
                                                     + arguments);
    }
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString::fromUtf8(process.readAll()) + process.errorString();
    return std::nullopt;
}

QByteArray AdminAddress(const char *database)
{
    return QStringLiteral("postgresql:///%1?host=%2&user=kasa").arg(QLatin1String(database), gFolder).toUtf8();
}

void Execute(const char *database, const QByteArray &sql)
{
    PGconn *connection = PQconnectdb(AdminAddress(database).constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(connection));
        PQfinish(connection);
        Abort(message);
    }
    PGresult *result = PQexec(connection, sql.constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
    const QString message = QString::fromUtf8(PQerrorMessage(connection));
    PQclear(result);
    PQfinish(connection);
    if (!ok)
        Abort(message);
}

// Removes the cluster when the test program is gone, however it ended.
void WatchOverCluster(const QString &binaries)
{
    const QString script = QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done; "
                                          "%2 %3/pg_ctl -D %4/data -m immediate stop >/dev/null 2>&1; rm -rf %4")
                               .arg(QString::number(::getpid()),
                                    gRunAs.isEmpty() ? QString() : QStringLiteral("runuser -u %1 --").arg(gRunAs),
                                    binaries, gFolder);
    QProcess::startDetached(QStringLiteral("sh"), {QStringLiteral("-c"), script});
}

void StopCluster()
{
    if (gFolder.isEmpty())
        return;
    RunTool(ServerBinaries() + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), gFolder + QStringLiteral("/data"), QStringLiteral("-m"), QStringLiteral("immediate"),
             QStringLiteral("stop")});
    QDir(gFolder).removeRecursively();
    gFolder.clear();
}

} // namespace

bool TestsRunOnServer()
{
    return qgetenv(kBackendVariable) == "server";
}

void StartTestServerWhenAsked()
{
    if (!TestsRunOnServer() || !qEnvironmentVariableIsEmpty(kRootVariable))
        return;
    const QString binaries = ServerBinaries();
    if (binaries.isEmpty())
        Abort(QStringLiteral("brak programów serwera PostgreSQL (initdb, pg_ctl)"));
    QByteArray folder = QDir::tempPath().toUtf8() + "/kasa-pg-XXXXXX";
    if (!::mkdtemp(folder.data()))
        Abort(QStringLiteral("nie można utworzyć folderu tymczasowego"));
    gFolder = QString::fromUtf8(folder);
    // The server refuses to run as root.
    if (::geteuid() == 0) {
        const passwd *user = ::getpwnam("postgres");
        if (!user)
            user = ::getpwnam("nobody");
        if (!user)
            Abort(QStringLiteral("brak użytkownika, który mógłby uruchomić serwer"));
        gRunAs = QString::fromUtf8(user->pw_name);
        if (::chown(folder.constData(), user->pw_uid, user->pw_gid) != 0)
            Abort(QStringLiteral("nie można oddać folderu %1 użytkownikowi %2").arg(gFolder, gRunAs));
    }
    WatchOverCluster(binaries);
    std::atexit(StopCluster);
    if (auto failure = RunTool(binaries + QStringLiteral("/initdb"),
                               {QStringLiteral("-D"), gFolder + QStringLiteral("/data"), QStringLiteral("-U"),
                                QStringLiteral("kasa"), QStringLiteral("--auth=trust"), QStringLiteral("-E"),
                                QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")}))
        Abort(*failure);
    // The tests do without the server's flushes to disk; the benchmarks keep them, as an office's
    // server does.
    // KASA_TEST_SERVER_OPTIONS adds the server's options of whoever looks into it ("-c
    // log_statement=all").
    const QString options = QStringLiteral("-k %1 -c listen_addresses='' %2 -c max_connections=60 %3")
                                .arg(gFolder,
                                     qEnvironmentVariableIsSet("KASA_TEST_SERVER_FLUSHES") ? QString() : QStringLiteral("-F"),
                                     qEnvironmentVariable("KASA_TEST_SERVER_OPTIONS"));
    if (auto failure = RunTool(binaries + QStringLiteral("/pg_ctl"),
                               {QStringLiteral("-D"), gFolder + QStringLiteral("/data"), QStringLiteral("-l"),
                                gFolder + QStringLiteral("/server.log"), QStringLiteral("-o"), options,
                                QStringLiteral("-w"), QStringLiteral("start")}))
        Abort(*failure);
    Execute("postgres", QByteArray("CREATE DATABASE ") + kDatabase);
    // The tests reach their database through a service, as an office's workstations do: a data
    // root short enough for the company table's field. Programs the tests start inherit the file.
    const QString services = gFolder + QStringLiteral("/pg_service.conf");
    QFile file(services);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QStringLiteral("[%1]\nhost=%2\ndbname=%3\nuser=kasa\n")
                          .arg(QLatin1String(kService), gFolder, QLatin1String(kDatabase))
                          .toUtf8())
               < 0)
        Abort(QStringLiteral("nie można zapisać pliku %1").arg(services));
    file.close();
    qputenv("PGSERVICEFILE", QFile::encodeName(services));
    qputenv(kRootVariable, TestServerServiceRoot().toUtf8());
}

QString TestServerServiceRoot()
{
    return QStringLiteral("pg:%1/").arg(QLatin1String(kService));
}

QString TestServerDataRoot()
{
    return QString::fromUtf8(qgetenv(kRootVariable));
}

QString AddTestServerDatabase(const QString &name)
{
    StartTestServerWhenAsked();
    if (gFolder.isEmpty())
        Abort(QStringLiteral("serwer testów nie należy do tego programu"));
    Execute("postgres", "CREATE DATABASE " + name.toUtf8());
    QFile file(gFolder + QStringLiteral("/pg_service.conf"));
    if (!file.open(QIODevice::Append)
        || file.write(QStringLiteral("[%1]\nhost=%2\ndbname=%1\nuser=kasa\n").arg(name, gFolder).toUtf8()) < 0)
        Abort(QStringLiteral("nie można zapisać pliku %1").arg(file.fileName()));
    return QStringLiteral("pg:%1/").arg(name);
}

void EmptyTestServerDatabase()
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(TestServerDataRoot());
    if (!address)
        Abort(QStringLiteral("zły adres serwera testów"));
    PGconn *connection = PQconnectdb(address->connectionInfo.constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        const QString message = QString::fromUtf8(PQerrorMessage(connection));
        PQfinish(connection);
        Abort(message);
    }
    // The server's notes on what the drop took along are no news to the tests.
    PQsetNoticeProcessor(connection, [](void *, const char *) {}, nullptr);
    PQclear(PQexec(connection, R"(DO $$
DECLARE s text;
BEGIN
  FOR s IN SELECT nspname FROM pg_namespace
           WHERE nspname NOT LIKE 'pg\_%' AND nspname NOT IN ('public', 'information_schema') LOOP
    EXECUTE format('DROP SCHEMA %I CASCADE', s);
  END LOOP;
END $$)"));
    PQfinish(connection);
}

bool WaitForKilledProgramsSessions(int milliseconds)
{
    PGconn *connection = PQconnectdb(AdminAddress(kDatabase).constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        PQfinish(connection);
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    bool quiet = false;
    while (!quiet && timer.elapsed() < milliseconds) {
        PGresult *result = PQexec(connection, "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database()"
                                              " AND pid <> pg_backend_pid() AND state <> 'idle'");
        quiet = PQresultStatus(result) == PGRES_TUPLES_OK && QByteArray(PQgetvalue(result, 0, 0)) == "0";
        PQclear(result);
        if (!quiet)
            QThread::msleep(50);
    }
    PQfinish(connection);
    return quiet;
}
