#include <QThread>

#include "app/commands/command_tool.h"
#include "base/clock.h"
#include "base/server_location.h"
#include "maintenance/new_year_opening.h"
#include "store/data_tree_initializer.h"
#include "store/structure_upgrades.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "support/scripted_prompt.h"
#include "base/global_state.h"
#include "store/select_year.h"
#include "store/server_tree_transaction.h"
#include "store/session.h"
#include "store/table.h"
#include "support/child_program.h"
#include "support/throwaway_server.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <libpq-fe.h>

// The maintenance commands on a demo installation whose data lie in table files or, when the
// tests run on the server, in the tests' database: the same command does the same job on both.

namespace {

constexpr const char *kChildFolder = "KASA_TREE_MAINTENANCE_FOLDER";

// SQL another program (an administrator's psql) runs on the tests' database.
void OnServer(const QByteArray &sql)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(TestServerDataRoot());
    ASSERT_TRUE(address);
    PGconn *connection = PQconnectdb(address->connectionInfo.constData());
    ASSERT_EQ(PQstatus(connection), CONNECTION_OK) << PQerrorMessage(connection);
    PQclear(PQexec(connection, "SET client_min_messages = warning"));
    PGresult *result = PQexec(connection, sql.constData());
    EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQerrorMessage(connection);
    PQclear(result);
    PQfinish(connection);
}

class TreeMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (!qEnvironmentVariableIsEmpty(kChildFolder))
            return; // a child program works in its parent's installation
        if (TestsRunOnServer())
            EmptyTestServerDatabase();
        InitialiseDataTree({folder(), QStringLiteral("2026"), true, TestsRunOnServer() ? TestServerServiceRoot() : QString()},
                           clock);
    }

    QString folder() const
    {
        const QString child = qEnvironmentVariable(kChildFolder);
        return child.isEmpty() ? QDir(dir.path()).absolutePath() + QDir::separator() : child;
    }
    QString dataRoot() const { return TestsRunOnServer() ? TestServerServiceRoot() : folder(); }

    int run(QStringList arguments)
    {
        output.clear();
        errors.clear();
        arguments = QStringList{QStringLiteral("-C"), folder()} + arguments;
        QTextStream out(&output);
        QTextStream err(&errors);
        return RunCommandTool(arguments, out, err, clock);
    }

    // Every table of the year by its path inside the year ("KASA/NAGKASA.DB") with its row count.
    QMap<QString, int> yearTables(const QString &year)
    {
        QStringList paths;
        const QString yearRoot = dataRoot() + year + u'/';
        if (TestsRunOnServer()) {
            paths = ServerTablesOf(dataRoot(), year);
        } else {
            QDirIterator it(yearRoot, {QStringLiteral("*.DB")}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                paths.append(it.next());
        }
        QMap<QString, int> tables;
        Session session;
        for (const QString &path : std::as_const(paths)) {
            Table table(session);
            table.setTableName(path);
            table.open();
            tables.insert(path.mid(yearRoot.size()).toUpper(), table.recordCount());
        }
        return tables;
    }

    void removeYear(const QString &year)
    {
        if (TestsRunOnServer())
            OnServer("DROP SCHEMA IF EXISTS \"" + year.toLatin1() + "\" CASCADE");
        else
            QDir(folder() + year).removeRecursively();
    }

    QTemporaryDir dir;
    FixedClock clock{QDate(2026, 12, 20)};
    QString output;
    QString errors;
};

} // namespace

// The new year holds every table of the old one: the desks, descriptions, contractors and the
// other lists with their rows, the documents and reports empty; the year list then offers it.
TEST_F(TreeMaintenanceTest, NewYearCarriesTheListsAndStartsTheBooksEmpty)
{
    const QMap<QString, int> old = yearTables(QStringLiteral("2026"));
    ASSERT_GT(old.value(QStringLiteral("KASA/NAGKASA.DB")), 0);
    ASSERT_GT(old.value(QStringLiteral("KASA/KASA.DB")), 0);

    ASSERT_EQ(run({QStringLiteral("new-year")}), 0) << errors.toStdString();

    QMap<QString, int> expected;
    for (auto it = old.cbegin(); it != old.cend(); ++it)
        expected.insert(it.key(), YearOpeningRuleFor(u'/' + it.key()).carryRows ? it.value() : 0);
    EXPECT_EQ(yearTables(QStringLiteral("2027")), expected);
    EXPECT_EQ(ListYearFolders(dataRoot()), QStringList({QStringLiteral("2026"), QStringLiteral("2027")}));
    EXPECT_EQ(run({QStringLiteral("listing"), QStringLiteral("cash-state"), QStringLiteral("--year"),
                   QStringLiteral("2027"), QStringLiteral("--out"), QDir(dir.path()).filePath(QStringLiteral("s.txt"))}),
              0)
        << errors.toStdString();
}

// The child's half of the kill test: opens the year and ends.
TEST_F(TreeMaintenanceTest, OpensTheYearForItsParent)
{
    if (qEnvironmentVariableIsEmpty(kChildFolder))
        GTEST_SKIP() << "the kill test starts it";
    run({QStringLiteral("new-year")});
}

// An opening killed at any moment leaves the year whole or not there at all, and the next
// opening makes it whole.
TEST_F(TreeMaintenanceTest, AKilledNewYearLeavesTheWholeYearOrNone)
{
    const QStringList child{QString::fromLatin1(kChildFolder) + u'=' + folder()};
    const QString filter = QStringLiteral("TreeMaintenanceTest.OpensTheYearForItsParent");
    QElapsedTimer timer;
    timer.start();
    {
        ChildProgram opening(filter, child);
        opening.finish();
    }
    const qint64 took = timer.elapsed();
    const QMap<QString, int> whole = yearTables(QStringLiteral("2027"));
    ASSERT_FALSE(whole.isEmpty());
    const int kills = qEnvironmentVariableIntValue("KASA_KILLS") > 0 ? qEnvironmentVariableIntValue("KASA_KILLS") : 4;
    for (int kill = 0; kill < kills; ++kill) {
        removeYear(QStringLiteral("2027"));
        const int pause = int(took * (kill + 1) / (kills + 1));
        {
            ChildProgram opening(filter, child);
            QThread::msleep(pause);
            opening.killHard();
        }
        if (ListYearFolders(dataRoot()).contains(QStringLiteral("2027")))
            EXPECT_EQ(yearTables(QStringLiteral("2027")), whole) << pause;
        removeYear(QStringLiteral("2027"));
        ASSERT_EQ(run({QStringLiteral("new-year")}), 0) << errors.toStdString();
        EXPECT_EQ(yearTables(QStringLiteral("2027")), whole) << pause;
    }
}

// The check reads the server's tables against the program's structures: a table gone, an index
// dropped and a column of another type are each named, and the check ends with 1; the sound tree
// before passes with the indexes read by the server's checker.
TEST_F(TreeMaintenanceTest, CheckNamesEveryFaultOfTheServerTables)
{
    if (!TestsRunOnServer())
        GTEST_SKIP() << "the table files' check has its tests with the command line";
    ASSERT_EQ(run({QStringLiteral("check")}), 0) << output.toStdString() << errors.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("amcheck"))) << output.toStdString();

    OnServer(R"(DROP TABLE "2026"."KASA/OPISKASA")");
    OnServer(R"(DROP INDEX "2026"."KASA/NAGKASA#primary_key")");
    OnServer(R"(ALTER TABLE "2026"."KASA/KASA" ALTER COLUMN "NAZWA" TYPE varchar(80))");
    EXPECT_EQ(run({QStringLiteral("check")}), 1);
    const QList<std::pair<QString, QString>> faults{
        {QStringLiteral("2026/KASA/OPISKASA.DB"), QStringLiteral("brak tabeli")},
        {QStringLiteral("2026/KASA/NAGKASA.DB"), QStringLiteral("brak indeksu głównego na serwerze")},
        {QStringLiteral("2026/KASA/KASA.DB"), QStringLiteral("pole NAZWA ma na serwerze typ character varying zamiast text")},
    };
    for (const auto &[table, fault] : faults)
        EXPECT_TRUE(errors.contains(QStringLiteral("Tabela %1%2: %3").arg(dataRoot(), table, fault))) << errors.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("uszkodzonych: 3"))) << output.toStdString();
}

// The repair builds the dropped index again and reports each table as its window does.
TEST_F(TreeMaintenanceTest, RepairMendsADroppedIndex)
{
    if (!TestsRunOnServer())
        GTEST_SKIP() << "the table files' repair has its tests with the command line";
    OnServer(R"(DROP INDEX "2026"."KASA/NAGKASA#primary_key")");
    ASSERT_EQ(run({QStringLiteral("check")}), 1);

    ASSERT_EQ(run({QStringLiteral("repair")}), 0) << output.toStdString() << errors.toStdString();
    EXPECT_TRUE(output.contains(dataRoot() + QStringLiteral("2026/KASA/NAGKASA naprawiono."))) << output.toStdString();
    EXPECT_TRUE(output.trimmed().endsWith(QStringLiteral("KONIEC"))) << output.toStdString();
    EXPECT_EQ(run({QStringLiteral("check")}), 0) << output.toStdString();
}

// Documents exported from one year and imported into the next come back out the same; a file
// with an amount that is no number stops the import with nothing written.
TEST_F(TreeMaintenanceTest, ExportedDocumentsImportIntoTheNextYearUnchanged)
{
    const QDir files(dir.path());
    ASSERT_EQ(run({QStringLiteral("new-year")}), 0) << errors.toStdString();
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("documents"), files.filePath(QStringLiteral("a.txt"))}), 0)
        << errors.toStdString();
    QFile exported(files.filePath(QStringLiteral("a.txt")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QByteArray rows = exported.readAll();
    exported.close();

    QList<QByteArray> lines = rows.split('\n');
    ASSERT_GT(lines.size(), 10);
    const int amount = int(lines[0].split('\t').indexOf("KWOTA"));
    ASSERT_GE(amount, 0);
    QList<QByteArray> values = lines[lines.size() - 2].split('\t');
    values[amount] = "12x";
    lines[lines.size() - 2] = values.join('\t');
    QFile damaged(files.filePath(QStringLiteral("zle.txt")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(lines.join('\n'));
    damaged.close();
    EXPECT_EQ(run({QStringLiteral("import"), QStringLiteral("documents"), damaged.fileName(), QStringLiteral("--year"),
                   QStringLiteral("2027")}),
              1);
    EXPECT_TRUE(errors.contains(QStringLiteral("\"12x\""))) << errors.toStdString();
    EXPECT_EQ(yearTables(QStringLiteral("2027")).value(QStringLiteral("KASA/NAGKASA.DB")), 0);

    ASSERT_EQ(run({QStringLiteral("import"), QStringLiteral("documents"), exported.fileName(), QStringLiteral("--year"),
                   QStringLiteral("2027")}),
              0)
        << errors.toStdString();
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("documents"), files.filePath(QStringLiteral("b.txt")),
                   QStringLiteral("--year"), QStringLiteral("2027")}),
              0)
        << errors.toStdString();
    QFile again(files.filePath(QStringLiteral("b.txt")));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), rows);
}

// A company table of an older version, with fewer fields, is rebuilt in the current structure
// and keeps its row.
TEST_F(TreeMaintenanceTest, AnOlderCompanyTableIsRebuiltInTheCurrentStructure)
{
    const TableDefinition current = CompanyTableDefinition();
    TableDefinition older;
    for (const char *name : {"NR", "DR", "SKROT", "NUM1", "NUM2", "NUM3", "ZAPAS1"})
        older.fields.append(current.fields[current.fieldIndex(QString::fromLatin1(name))]);
    older.indexes = current.indexes;
    Session session;
    session.setWorkingFolder(folder());
    const QString path = dataRoot() + QStringLiteral("FIRMA.DB");
    Table company(session);
    company.setTableName(path);
    company.create(older);
    company.open();
    company.append();
    company.setInteger(QStringLiteral("NR"), 1);
    company.setString(QStringLiteral("SKROT"), QStringLiteral("Biuro Rachunkowe"));
    company.post();

    ScriptedPrompt prompt;
    GlobalState state;
    TableHelperContext context{session, prompt, state};
    UpgradeCompanyTable(company, context);

    EXPECT_EQ(company.definition().fields.size(), current.fields.size());
    EXPECT_EQ(company.asString(QStringLiteral("SKROT")), QStringLiteral("Biuro Rachunkowe"));
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}
