#include "base/server_location.h"
#include "store/server_session.h"
#include "store/table_schemas.h"
#include "store_fixture.h"

#include <libpq-fe.h>

namespace {

class ServerConnection : public StoreTest {};

} // namespace

// A server that is not there: one Polish message naming it, whatever the engine was doing.
TEST_F(ServerConnection, AServerThatIsNotThereIsNamedInOneMessage)
{
    const QString root = *ServerDataRoot(QStringLiteral("postgresql:///kasa?host=%1/brak").arg(dir_.path()));
    Table t(session_);
    t.setTableName(root + QStringLiteral("2026/KASA/KASA"));
    const QString expected =
        ServerUnavailableMessage(QStringLiteral("postgresql:///kasa?host=%1/brak").arg(dir_.path()));
    try {
        t.open();
        FAIL() << "opened a table on a server that is not there";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), expected);
    }
    EXPECT_THROW(t.create(CashDeskTableDefinition()), EngineError);
}

// The connection drops in the middle of the work: the post fails with the message, nothing of
// it is stored, and the next post connects again.
TEST_F(ServerConnection, ALostConnectionRollsBackAndTheNextCommandConnectsAgain)
{
    if (!TestsRunOnServer())
        GTEST_SKIP() << "works on the server's connections";
    auto t = openTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    AddRow(*t, {{"SYMBOL", QStringLiteral("K1")}});
    {
        const std::optional<ServerTableAddress> address = ParseServerTablePath(TestServerDataRoot());
        PGconn *other = PQconnectdb(address->connectionInfo.constData());
        ASSERT_EQ(PQstatus(other), CONNECTION_OK);
        PQclear(PQexec(other, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                              " WHERE application_name = 'kasa' AND pid <> pg_backend_pid()"));
        PQfinish(other);
    }
    try {
        AddRow(*t, {{"SYMBOL", QStringLiteral("K2")}});
        FAIL() << "posted on a lost connection";
    } catch (const EngineError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Brak połączenia z serwerem bazy danych")))
            << error.message().toStdString();
    }
    t->cancel();
    AddRow(*t, {{"SYMBOL", QStringLiteral("K3")}});
    t->refresh();
    EXPECT_EQ(Column(*t, "SYMBOL"), (QStringList{"K1", "K3"}));
}
