#include "server_bench_data.h"

#include "support/throwaway_server.h"

#include "base/server_location.h"
#include "store/session.h"
#include "store/table.h"

QString BenchServerRoot()
{
    static const QString root = [] {
        qputenv("KASA_TEST_BACKEND", "server");
        qputenv("KASA_TEST_SERVER_FLUSHES", "1");
        StartTestServerWhenAsked();
        return TestServerDataRoot();
    }();
    return root;
}

QString BenchServerDatabase(const QString &name)
{
    BenchServerRoot();
    return AddTestServerDatabase(name);
}

void EmptyBenchServer()
{
    BenchServerRoot();
    EmptyTestServerDatabase();
}

void CopyTableToServer(Session &session, const QString &file, const QString &serverPath)
{
    Table source(session);
    source.setTableName(file);
    source.open();
    Table target(session);
    target.setTableName(serverPath);
    target.create(source.definition());
    target.open();
    target.copyRowsFrom(source, false);
    target.close();
    source.close();
}

QString BenchServerConnection()
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(BenchServerRoot() + QStringLiteral("X.DB"));
    return address ? QString::fromUtf8(address->connectionInfo) : QString();
}
