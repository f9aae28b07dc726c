#include "store/table_schemas.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

namespace {

class SessionTest : public StoreTest {};

} // namespace

TEST_F(SessionTest, EngineStarts)
{
    QString error;
    EXPECT_TRUE(Session::initialise(&error)) << error.toStdString();
}

TEST_F(SessionTest, ClosingTheSessionClosesEveryTableAndReopeningOpensThemAgain)
{
    const TableDefinition desks = CashDeskTableDefinition();
    auto open = openTable(QStringLiteral("KASA"), desks);
    auto exclusive = table(QStringLiteral("INNA"), &desks);
    exclusive->openExclusive();
    auto closed = table(QStringLiteral("TRZECIA"), &desks);
    AddRow(*open, {{"SYMBOL", QStringLiteral("K1")}});
    open->edit();
    open->setString(QStringLiteral("NAZWA"), QStringLiteral("niezapisana"));

    session_.closeAll();
    EXPECT_FALSE(open->isOpen());
    EXPECT_FALSE(exclusive->isOpen());
    session_.reopenAll();
    EXPECT_TRUE(open->isOpen());
    EXPECT_TRUE(exclusive->isExclusive());
    EXPECT_FALSE(closed->isOpen());
    EXPECT_TRUE(open->isNull(QStringLiteral("NAZWA"))); // an edit in progress is dropped
    EXPECT_EQ(session_.tables().size(), 3);
}

TEST_F(SessionTest, RelativeNamesStartInTheWorkingFolder)
{
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("BAZA")));
    const TableDefinition users = UsersTableDefinition();
    auto t = table(QStringLiteral("BAZA\\USER"), &users);
    EXPECT_EQ(t->filePath(), path(QStringLiteral("BAZA/USER.DB")));
    EXPECT_TRUE(t->exists());
}

TEST_F(SessionTest, AnInnerScopeLeftWithoutCommitUndoesTheWholeCommand)
{
    const TableDefinition desks = CashDeskTableDefinition();
    auto t = openTable(QStringLiteral("KASA"), desks);
    TransactionScope outer;
    AddRow(*t, {{"SYMBOL", QStringLiteral("K1")}});
    try {
        TransactionScope inner;
        AddRow(*t, {{"SYMBOL", QStringLiteral("K2")}});
        throw Abort{};
    } catch (const Abort &) {
    }
    EXPECT_THROW(outer.commit(), EngineError);
    t->refresh();
    EXPECT_EQ(t->recordCount(), 0);
}
