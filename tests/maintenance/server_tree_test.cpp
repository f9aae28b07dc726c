#include "maintenance_fixture.h"

#include "base/progress.h"
#include "base/server_location.h"
#include "maintenance/archive_tree.h"
#include "maintenance/restore_tree.h"
#include "maintenance/tree_migration.h"
#include "store/server_table_backend.h"
#include "store/table_transfer.h"
#include "support/child_program.h"
#include "support/throwaway_server.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <libpq-fe.h>

#include <iostream>
#include <memory>

namespace {

constexpr const char *kChildVariable = "KASA_SERVER_TREE_CHILD";
constexpr const char *kSourceVariable = "KASA_SERVER_TREE_SOURCE";

void Say(const QByteArray &line)
{
    std::cout << line.constData() << std::endl; // flushed: the parent reads it at once
}

// Values that the server's copy format must carry exactly: the characters that end a value or a
// row, Polish letters, empty fields, numbers at their limits.
TableDefinition ValuesTable()
{
    TableDefinition definition;
    definition.fields = {{QStringLiteral("NR"), FieldType::AutoIncrement, 0, true},
                         {QStringLiteral("NAZWA"), FieldType::Text, 60, false},
                         {QStringLiteral("KWOTA"), FieldType::Float, 0, false},
                         {QStringLiteral("ILE"), FieldType::Integer, 0, false},
                         {QStringLiteral("OPIS"), FieldType::Memo, 10, false}};
    definition.indexes = {{QString(), {QStringLiteral("NR")}, true, true, false},
                          {QStringLiteral("NAZWA"), {QStringLiteral("NAZWA")}, false, false, true}};
    return definition;
}

QList<RowValues> AwkwardRows()
{
    return {{{QStringLiteral("NAZWA"), QStringLiteral("tab\there, line\nbreak\r\\N")},
             {QStringLiteral("KWOTA"), 0.1}, {QStringLiteral("ILE"), -2147483647},
             {QStringLiteral("OPIS"), QStringLiteral("Zażółć gęślą jaźń \\ \"cudzysłów\" 'apostrof'")}},
            {{QStringLiteral("NAZWA"), QString()}, {QStringLiteral("KWOTA"), 1e300},
             {QStringLiteral("ILE"), 0}},
            {{QStringLiteral("NAZWA"), QStringLiteral("ŁÓDŹ")}, {QStringLiteral("KWOTA"), -2.5e-300}}};
}

// Every table file under the folder, by its path below it.
QStringList TableFilesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.DB")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// Cuts every connection of the program to the server at the second step of the work, as a
// server going away in the middle of it would.
class ServerGoesAwayProgress final : public Progress {
public:
    void Start(const QString &, int) override {}
    void Postep() override
    {
        if (++steps_ != 2)
            return;
        PGconn *other = PQconnectdb(ParseServerTablePath(TestServerDataRoot())->connectionInfo.constData());
        PQclear(PQexec(other, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                              " WHERE application_name = 'kasa' AND pid <> pg_backend_pid()"));
        PQfinish(other);
    }
    void Stop() override {}

private:
    int steps_ = 0;
};

} // namespace

// A file tree with documents and a table of awkward values, and the tests' empty database.
class ServerTreeTest : public MaintenanceTest {
protected:
    void SetUp() override
    {
        if (!TestsRunOnServer())
            GTEST_SKIP() << "works on the tests' database server (KASA_TEST_BACKEND=server)";
        MaintenanceTest::SetUp();
        EmptyTestServerDatabase();
        addDocuments(3);
        tree.createTable(values(tree.dataRoot()), ValuesTable(), AwkwardRows());
    }

    static QString server() { return TestServerDataRoot(); }
    static QString values(const QString &root) { return root + QStringLiteral("BAZA/PROBA/WARTOSCI.DB"); }
    QString folder(const QString &name) const { return QDir(tree.root()).filePath(name) + u'/'; }
    QString serverName() const { return ParseServerTablePath(server())->server; }

    // Every table of the first file tree is in the second, equal row by row.
    void expectSameTables(const QString &first, const QString &second)
    {
        const QStringList tables = TableFilesUnder(first);
        ASSERT_FALSE(tables.isEmpty());
        EXPECT_EQ(TableFilesUnder(second), tables);
        for (const QString &table : tables)
            EXPECT_EQ(TableDifferences(first + table, second + table), QStringList()) << table.toStdString();
    }

    NullProgress progress;
};

// Files to the server and back: the same tables with the same rows, in the same entry order,
// each with its structure listing; a second move into a database that holds a firm, or into a
// folder that is not empty, is refused.
TEST_F(ServerTreeTest, FilesMoveToTheServerAndBackUnchanged)
{
    const TreeMigrationReport there = MigrateDataTree(tree.dataRoot(), server(), progress);
    ASSERT_TRUE(there.succeeded()) << there.refusal.toStdString() << there.differences.join('\n').toStdString();
    EXPECT_EQ(there.tables, TableFilesUnder(tree.dataRoot()).size());
    EXPECT_EQ(documentCount(documents(server())), 3);

    const QString back = folder(QStringLiteral("z serwera"));
    const TreeMigrationReport home = MigrateDataTree(server(), back, progress);
    ASSERT_TRUE(home.succeeded()) << home.refusal.toStdString() << home.differences.join('\n').toStdString();
    expectSameTables(tree.dataRoot(), back);
    EXPECT_TRUE(QFileInfo::exists(back + QStringLiteral("2019/KASA/NAGKASA.STR")));
    EXPECT_FALSE(QFileInfo::exists(folder(QStringLiteral("z serwera.przenoszenie"))));

    // The row ids carried over: a new row is numbered after the highest.
    addDocuments(1, documents(server()));
    EXPECT_EQ(documentCount(documents(server())), 4);

    EXPECT_EQ(MigrateDataTree(tree.dataRoot(), server(), progress).refusal,
              QStringLiteral("Baza danych %1 zawiera już dane firmy; nic nie zostało przeniesione.").arg(serverName()));
    EXPECT_EQ(MigrateDataTree(server(), back, progress).refusal,
              QStringLiteral("Folder %1 nie jest pusty; nic nie zostało przeniesione.").arg(back.chopped(1)));
    EXPECT_EQ(documentCount(documents(server())), 4);
}

// Tables longer than the rows that travel from the server at once (the last batch full, and one
// row over) move there and into an archive whole, in their entry order, and the move's own
// row-by-row check reads them back in batches.
TEST_F(ServerTreeTest, LongTablesTravelWhole)
{
    for (const int count : {10000, 10001}) {
        QList<RowValues> rows;
        for (int i = 0; i < count; ++i)
            rows.append({{QStringLiteral("NAZWA"), QStringLiteral("wiersz %1").arg(i)}, {QStringLiteral("ILE"), i}});
        tree.createTable(tree.dataRoot() + QStringLiteral("BAZA/PROBA/DLUGA%1.DB").arg(count), ValuesTable(), rows);
    }
    const TreeMigrationReport there = MigrateDataTree(tree.dataRoot(), server(), progress);
    ASSERT_TRUE(there.succeeded()) << there.refusal.toStdString() << there.differences.join('\n').toStdString();
    const QString archive = folder(QStringLiteral("archiwum"));
    const TreeCopyReport archived = ArchiveDataTree(server(), state.YearFolders, archive, progress);
    ASSERT_TRUE(archived.succeeded()) << archived.message().toStdString();
    expectSameTables(tree.dataRoot(), archive);
    EXPECT_EQ(tree.column(archive + QStringLiteral("BAZA/PROBA/DLUGA10001.DB"), QStringLiteral("NAZWA")).size(), 10001);
}

// An archive made on either store restores on either, with every table of the tree.
TEST_F(ServerTreeTest, AnArchiveOfEitherStoreRestoresOnEither)
{
    ASSERT_TRUE(MigrateDataTree(tree.dataRoot(), server(), progress).succeeded());
    addDocuments(2, documents(server()));
    const QString fromServer = folder(QStringLiteral("archiwum serwera"));
    const TreeCopyReport archived = ArchiveDataTree(server(), state.YearFolders, fromServer, progress);
    ASSERT_TRUE(archived.succeeded()) << archived.message().toStdString();
    EXPECT_EQ(documentCount(documents(fromServer)), 5);

    const TreeCopyReport onFiles = RestoreDataTree(fromServer, tree.dataRoot(), state.YearFolders, progress);
    ASSERT_TRUE(onFiles.succeeded()) << onFiles.message().toStdString();
    expectSameTables(fromServer, tree.dataRoot());

    addDocuments(1);
    const QString fromFiles = folder(QStringLiteral("archiwum plików"));
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, fromFiles, progress).succeeded());
    const TreeCopyReport onServer = RestoreDataTree(fromFiles, server(), state.YearFolders, progress);
    ASSERT_TRUE(onServer.succeeded()) << onServer.message().toStdString();
    EXPECT_EQ(documentCount(documents(server())), 6);
    EXPECT_EQ(TableDifferences(values(fromFiles), values(server())), QStringList());
}

// A damaged archive, or a table of the tree still open: the restore says why and the server
// keeps every row.
TEST_F(ServerTreeTest, ARefusedRestoreChangesNothingOnTheServer)
{
    ASSERT_TRUE(MigrateDataTree(tree.dataRoot(), server(), progress).succeeded());
    const QString archive = folder(QStringLiteral("archiwum"));
    ASSERT_TRUE(ArchiveDataTree(server(), state.YearFolders, archive, progress).succeeded());
    addDocuments(2, documents(server()));

    tree.damageTable(archive + QStringLiteral("2019/FIN/WALUTA.DB"));
    const TreeCopyReport damaged = RestoreDataTree(archive, server(), state.YearFolders, progress);
    EXPECT_TRUE(damaged.refusal.startsWith(QStringLiteral("Archiwum jest uszkodzone, nic nie zostało odtworzone :\r")))
        << damaged.refusal.toStdString();
    EXPECT_EQ(documentCount(documents(server())), 5);

    ASSERT_TRUE(ArchiveDataTree(server(), state.YearFolders, archive, progress).succeeded());
    addDocuments(1, documents(server()));
    auto open = tree.open(documents(server()));
    const TreeCopyReport inUse = RestoreDataTree(archive, server(), state.YearFolders, progress);
    EXPECT_TRUE(inUse.refusal.startsWith(QStringLiteral("Tabele są używane przez inny program, nic nie zostało odtworzone :\r")))
        << inUse.refusal.toStdString();
    open.reset();
    EXPECT_EQ(documentCount(documents(server())), 6);
}

// The server goes away in the middle of an archive: the archive fails and the previous one is
// whole; the next archive, with the server back, succeeds.
TEST_F(ServerTreeTest, AServerLostMidArchiveLeavesThePreviousArchive)
{
    ASSERT_TRUE(MigrateDataTree(tree.dataRoot(), server(), progress).succeeded());
    const QString archive = folder(QStringLiteral("archiwum"));
    ASSERT_TRUE(ArchiveDataTree(server(), state.YearFolders, archive, progress).succeeded());
    addDocuments(2, documents(server()));

    ServerGoesAwayProgress cut;
    const TreeCopyReport lost = ArchiveDataTree(server(), state.YearFolders, archive, cut);
    EXPECT_FALSE(lost.succeeded());
    EXPECT_TRUE(lost.message().contains(QStringLiteral("Brak połączenia z serwerem bazy danych"))) << lost.message().toStdString();
    EXPECT_EQ(documentCount(documents(archive)), 3);
    QDirIterator scratch(archive, {QStringLiteral("*.kopia")}, QDir::Files, QDirIterator::Subdirectories);
    EXPECT_FALSE(scratch.hasNext()) << scratch.next().toStdString();

    ASSERT_TRUE(ArchiveDataTree(server(), state.YearFolders, archive, progress).succeeded());
    EXPECT_EQ(documentCount(documents(archive)), 5);
}

// The second program of the kill tests: moves the file tree onto the server, or restores the
// archive onto it, as the environment says.
TEST(ServerTreeChild, Run)
{
    const QString mode = qEnvironmentVariable(kChildVariable);
    if (mode.isEmpty())
        GTEST_SKIP() << "runs only as the second program of a kill test";
    const QString source = qEnvironmentVariable(kSourceVariable);
    NullProgress progress;
    Say("READY");
    if (mode == QLatin1String("migrate"))
        MigrateDataTree(source, TestServerDataRoot(), progress);
    else
        RestoreDataTree(source, TestServerDataRoot(), {QStringLiteral("2019")}, progress);
    Say("DONE");
}

// A move or a restore killed at any moment leaves the database as it was or as the work makes
// it, never between. KASA_SERVER_TREE_KILLS sets the number of kills of each (4 unless told).
TEST_F(ServerTreeTest, AKilledMoveOrRestoreLeavesTheOldStateOrTheNew)
{
    const int kills = qEnvironmentVariableIsSet("KASA_SERVER_TREE_KILLS") ? qEnvironmentVariableIntValue("KASA_SERVER_TREE_KILLS") : 4;
    addDocuments(400);
    const QStringList tables = TableFilesUnder(tree.dataRoot());
    // Starts the work in a second program and kills it after the pause; a negative pause lets it
    // finish and gives the time the work took.
    const auto killAfterPause = [&](const QString &mode, const QString &source, int pause) {
        ChildProgram child(QStringLiteral("ServerTreeChild.Run"),
                           {QStringLiteral("%1=%2").arg(QLatin1String(kChildVariable), mode),
                            QStringLiteral("%1=%2").arg(QLatin1String(kSourceVariable), source)});
        EXPECT_TRUE(child.waitFor(QStringLiteral("READY"), 60000));
        QElapsedTimer timer;
        timer.start();
        if (pause < 0) {
            EXPECT_TRUE(child.waitFor(QStringLiteral("DONE"), 60000));
            return int(timer.elapsed());
        }
        QThread::msleep(pause);
        child.killHard();
        // The server rolls the killed program's work back when it finds the program gone.
        EXPECT_TRUE(WaitForKilledProgramsSessions(60000));
        return pause;
    };
    // Moments over the whole time the work takes, and as long again (a busy machine slows the
    // killed runs), so that both ends are seen.
    const auto randomPause = [](int took) { return QRandomGenerator::global()->bounded(0, took * 2 + 1); };
    const int moveTook = killAfterPause(QStringLiteral("migrate"), tree.dataRoot(), -1);
    EmptyTestServerDatabase();
    int whole = 0;
    for (int round = 0; round < kills; ++round) {
        killAfterPause(QStringLiteral("migrate"), tree.dataRoot(), randomPause(moveTook));
        const QStringList there = ServerTableBackend::tablesOfTree(server());
        if (there.isEmpty())
            continue;
        ++whole;
        ASSERT_EQ(there.size(), tables.size()) << "round " << round;
        for (const QString &table : tables)
            ASSERT_EQ(TableDifferences(tree.dataRoot() + table, server() + table), QStringList()) << "round " << round;
        EmptyTestServerDatabase();
    }

    ASSERT_TRUE(MigrateDataTree(tree.dataRoot(), server(), progress).succeeded());
    const QString archive = folder(QStringLiteral("archiwum"));
    ASSERT_TRUE(ArchiveDataTree(server(), state.YearFolders, archive, progress).succeeded());
    addDocuments(5, documents(server()));
    const int before = documentCount(documents(server()));
    const int restoreTook = killAfterPause(QStringLiteral("restore"), archive, -1);
    addDocuments(5, documents(server()));
    int restored = 0;
    for (int round = 0; round < kills; ++round) {
        killAfterPause(QStringLiteral("restore"), archive, randomPause(restoreTook));
        ASSERT_EQ(ServerTableBackend::tablesOfTree(server()).size(), tables.size()) << "round " << round;
        const int count = documentCount(documents(server()));
        ASSERT_TRUE(count == before || count == before - 5) << "round " << round << ": " << count;
        if (count == before)
            continue;
        ++restored;
        for (const QString &table : tables)
            ASSERT_EQ(TableDifferences(archive + table, server() + table), QStringList()) << "round " << round;
        addDocuments(5, documents(server()));
    }
    std::cout << "kills: " << kills << " (move " << moveTook << " ms, restore " << restoreTook
              << " ms): moves whole " << whole << ", restores done " << restored << std::endl;
}
