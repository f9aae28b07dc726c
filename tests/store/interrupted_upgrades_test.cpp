#include "base/global_state.h"
#include "store/old_version_conversion.h"
#include "store/session.h"
#include "store/structure_upgrades.h"
#include "store/structure_work_lock.h"
#include "store/table_helper_context.h"
#include "store/table_replacement.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

// Upgrades and the old-version conversion cut short by a killed program, run against a second
// program on the same tree, and failing for want of room: every table ends old or new, whole.

namespace {

const QString kYear = QStringLiteral("2019");
constexpr const char *kJobVariable = "KASA_UPGRADE_JOB";

// The second program: runs one job on the tree the parent names, and says how it ended.
TEST(UpgradeChildProgram, Run)
{
    const QByteArray job = qgetenv(kJobVariable);
    if (job.isEmpty())
        GTEST_SKIP() << "runs only as the second program of the upgrade tests";
    Session session;
    session.setWorkingFolder(qEnvironmentVariable("KASA_UPGRADE_WORKDIR"));
    ScriptedPrompt prompt;
    GlobalState state;
    state.TodayText = QStringLiteral("2019.05.10");
    state.DataRoot = qEnvironmentVariable("KASA_UPGRADE_DATAROOT");
    state.CurrentYear = kYear;
    TableHelperContext context{session, prompt, state};
    bool done = false;
    if (job == "company" || job == "parameters") {
        Table table(session);
        table.setTableName(qEnvironmentVariable("KASA_UPGRADE_TABLE"));
        table.open();
        if (job == "company")
            UpgradeCompanyTable(table, context);
        else
            UpgradeParameterTable(table, context);
        done = table.isOpen();
    } else if (job == "conversion") {
        done = ConvertOldVersionTables(context).completed;
    }
    std::cout << "DONE " << done << " " << prompt.texts().join(u'|').toStdString() << std::endl;
}

// The parent's side: the tree, and the second program run on it.
class InterruptedUpgradeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        state.TodayText = QStringLiteral("2019.05.10");
        state.DataRoot = tree.dataRoot();
        state.CurrentYear = kYear;
        SetStructureWorkWait(300);
    }
    void TearDown() override { SetStructureWorkWait(5000); }

    QProcess *startChild(const QString &job, const QString &tablePath, const QString &crashPoint)
    {
        auto *child = new QProcess;
        children_.emplace_back(child);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kJobVariable), job);
        environment.insert(QStringLiteral("KASA_UPGRADE_WORKDIR"), tree.workingFolder());
        environment.insert(QStringLiteral("KASA_UPGRADE_DATAROOT"), tree.dataRoot());
        environment.insert(QStringLiteral("KASA_UPGRADE_TABLE"), tablePath);
        if (!crashPoint.isEmpty())
            environment.insert(QStringLiteral("KASA_CRASH_POINT"), crashPoint);
        child->setProcessEnvironment(environment);
        child->setProgram(QCoreApplication::applicationFilePath());
        child->setArguments({QStringLiteral("--gtest_filter=UpgradeChildProgram.Run")});
        child->start();
        child->waitForStarted();
        return child;
    }

    // Runs the job in a second program; true when it was killed at the crash point.
    bool runKilledAt(const QString &job, const QString &tablePath, const QString &crashPoint)
    {
        QProcess *child = startChild(job, tablePath, crashPoint);
        child->waitForFinished(60000);
        return child->exitStatus() == QProcess::CrashExit;
    }

    QString cash(const QString &name) const { return tree.yearTable(kYear, QStringLiteral("KASA\\") + name); }

    int rowCount(const QString &path) { return tree.open(path)->recordCount(); }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    GlobalState state;
    TableHelperContext context{tree.session(), prompt, state};
    std::vector<std::unique_ptr<QProcess>> children_;
};

// --- Replacing a table -------------------------------------------------------------------------

TableDefinition OlderCompanyTable()
{
    TableDefinition current = CompanyTableDefinition();
    TableDefinition older;
    for (const char *name : {"NR", "DR", "SKROT", "NUM1", "NUM2", "NUM3", "ZAPAS1"})
        older.fields.append(current.fields[current.fieldIndex(QString::fromLatin1(name))]);
    older.indexes = current.indexes;
    return older;
}

TableDefinition ParameterTableWithoutL5()
{
    TableDefinition definition = ParameterTableDefinition();
    for (const char *name : {"L4", "L5", "ADATA", "ACYKL"})
        definition.fields.removeAt(definition.fieldIndex(QString::fromLatin1(name)));
    return definition;
}

struct ReplacementCase {
    const char *job;
    const char *crashPoint;
    bool newStructureAfterRestart; // the complete replacement moved in at the next open
};

class KilledReplacement : public InterruptedUpgradeTest, public ::testing::WithParamInterface<ReplacementCase> {};

TEST_P(KilledReplacement, TheNextOpenFindsTheWholeOldOrNewTable)
{
    const ReplacementCase c = GetParam();
    const bool company = QByteArray(c.job) == "company";
    const QString path = company ? tree.companyTable() : tree.parameterTable();
    const TableDefinition older = company ? OlderCompanyTable() : ParameterTableWithoutL5();
    const TableDefinition current = company ? CompanyTableDefinition() : ParameterTableDefinition();
    const RowValues row = company ? RowValues{{"NR", 1}, {"SKROT", "Hurtownia"}, {"ZAPAS1", "ul. Bankowa 1"}}
                                  : RowValues{{"P1", "[RD] [NRD]"}, {"P2", "10000"}};
    tree.createTable(path, older, {row});

    ASSERT_TRUE(runKilledAt(QString::fromLatin1(c.job), path, QString::fromLatin1(c.crashPoint)));

    // The next start opens the table: whole, old or new, its row there, no copy left beside it.
    auto table = tree.open(path);
    EXPECT_EQ(table->definition().fields.size(), (c.newStructureAfterRestart ? current : older).fields.size());
    ASSERT_EQ(table->recordCount(), 1);
    table->first();
    EXPECT_EQ(table->asString(company ? "SKROT" : "P1"), company ? "Hurtownia" : "[RD] [NRD]");
    EXPECT_FALSE(QFileInfo::exists(BackupTablePath(path)));

    // The upgrade then runs to its end as if nothing had happened.
    if (company)
        UpgradeCompanyTable(*table, context);
    else
        UpgradeParameterTable(*table, context);
    EXPECT_EQ(table->definition().fields.size(), current.fields.size());
    EXPECT_EQ(table->asString(company ? "ADRES1" : "P2"), company ? "ul. Bankowa 1" : "10000");
}

INSTANTIATE_TEST_SUITE_P(Cases, KilledReplacement,
                         ::testing::Values(ReplacementCase{"company", "replace-waiting", false},
                                           ReplacementCase{"company", "replace-backup", true},
                                           ReplacementCase{"company", "replace-renamed", true},
                                           ReplacementCase{"parameters", "replace-waiting", false},
                                           ReplacementCase{"parameters", "replace-backup", true},
                                           ReplacementCase{"parameters", "replace-renamed", true}));

TEST_F(InterruptedUpgradeTest, ATableSetAsideWithoutItsReplacementGetsItsNameBack)
{
    // What an earlier version left when killed between its two renames.
    tree.createTable(cash("OPISKASA.DB"), PaymentDescriptionTableDefinition(), {{{"RD", "KP"}, {"NAZWA", "Wpłata"}}});
    ASSERT_TRUE(QFile::rename(cash("OPISKASA.DB"), cash("OPISKASA_STARY.DB")));

    EXPECT_EQ(tree.column(cash("OPISKASA.DB"), "NAZWA"), QStringList{"Wpłata"});
    EXPECT_FALSE(QFileInfo::exists(cash("OPISKASA_STARY.DB")));
}

TEST_F(InterruptedUpgradeTest, ACompanyTableKeepsTheFieldsOfOtherProgramsAndTheWholeAccountNumber)
{
    TableDefinition older = OlderCompanyTable();
    older.fields[older.fieldIndex("NUM1")].size = 2;
    older.fields[older.fieldIndex("NUM3")].size = 30;
    older.fields.append({QStringLiteral("KSIEGAX"), FieldType::Text, 20, false}); // another program's
    older.fields[older.fieldIndex("SKROT")].size = 70;
    const QString longName = QString(60, u'Ż');
    tree.createTable(tree.companyTable(), older,
                     {{{"NR", 1}, {"SKROT", longName}, {"NUM1", "12"}, {"NUM2", "10501234"},
                       {"NUM3", "123456789012345678901234567890"}, {"KSIEGAX", "dane księgi"}}});
    auto company = tree.open(tree.companyTable());

    UpgradeCompanyTable(*company, context);

    EXPECT_EQ(company->asString("KSIEGAX"), "dane księgi");
    // 40 digits fit the field only without the spaces between the parts.
    EXPECT_EQ(company->asString("NUM1"), "1210501234123456789012345678901234567890");
    EXPECT_EQ(company->asString("SKROT"), longName.left(50));
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.texts().value(0).contains("pole SKROT: \"" + longName + "\"")) << prompt.texts().join('|').toStdString();
}

TEST_F(InterruptedUpgradeTest, ATableHeldByAnotherProgramOrKeptReadOnlyIsNotRebuilt)
{
    tree.createTable(tree.companyTable(), OlderCompanyTable(), {{{"NR", 1}, {"SKROT", "Hurtownia"}}});
    const int other = ::open(QFile::encodeName(tree.companyTable()).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    auto company = tree.open(tree.companyTable());
    UpgradeCompanyTable(*company, context);
    ::close(other);
    EXPECT_EQ(company->definition().fields.size(), OlderCompanyTable().fields.size());
    EXPECT_TRUE(company->isOpen());
    EXPECT_EQ(prompt.shownOnce(TableHeldElsewhereMessage(tree.companyTable())).icon, PromptIcon::Warning);

    company->close();
    QFile::setPermissions(tree.companyTable(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    company->open();
    UpgradeCompanyTable(*company, context);
    EXPECT_EQ(company->definition().fields.size(), OlderCompanyTable().fields.size());
    EXPECT_EQ(prompt.messages().size(), 1);
}

// --- The old-version conversion -----------------------------------------------------------------

class InterruptedConversionTest : public InterruptedUpgradeTest {
protected:
    // Two desks, the second with three reports; a document per report and two on the first.
    void createOldTables()
    {
        tree.createTable(cash("KASA.DB"), OldCashDeskTableDefinition(),
                         {{{"AUTOKASA", 1}, {"NAZWA", "Kasa A"}}, {{"AUTOKASA", 2}, {"NAZWA", "Kasa B"}}});
        tree.createTable(cash("RKASA.DB"), OldCashReportTableDefinition(),
                         {{{"AUTOKASA", 1}, {"NUMER", 1}}, // AUTORK 1, 2, 3, 4 in this order
                          {{"AUTOKASA", 2}, {"NUMER", 0}},
                          {{"AUTOKASA", 2}, {"NUMER", 0}},
                          {{"AUTOKASA", 2}, {"NUMER", 7}}});
        QList<RowValues> documents;
        for (int report = 1; report <= 4; ++report)
            documents << RowValues{{"AUTOKASA", report == 1 ? 1 : 2}, {"AUTORK", report}, {"RD", "KP"}, {"NRD", report}};
        documents << RowValues{{"AUTOKASA", 1}, {"AUTORK", 1}, {"RD", "KW"}, {"NRD", 5}};
        tree.createTable(cash("NAGKASA.DB"), OldCashDocumentTableDefinition(), documents);
        for (const char *listing : {"KASA.STR", "RKASA.STR", "NAGKASA.STR"}) {
            QFile file(cash(QString::fromLatin1(listing)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    void expectOldTables()
    {
        EXPECT_EQ(tree.open(cash("KASA.DB"))->definition(), OldCashDeskTableDefinition());
        EXPECT_EQ(tree.open(cash("RKASA.DB"))->definition(), OldCashReportTableDefinition());
        EXPECT_EQ(tree.open(cash("NAGKASA.DB"))->definition(), OldCashDocumentTableDefinition());
        EXPECT_EQ(rowCount(cash("RKASA.DB")), 4);
        EXPECT_EQ(rowCount(cash("NAGKASA.DB")), 5);
        EXPECT_TRUE(QFileInfo::exists(cash("RKASA.STR")));
    }

    void expectConvertedTables()
    {
        EXPECT_EQ(tree.open(cash("KASA.DB"))->definition(), CashDeskTableDefinition());
        EXPECT_EQ(tree.open(cash("RKASA.DB"))->definition(), CashReportTableDefinition());
        EXPECT_EQ(tree.column(cash("RKASA.DB"), "NUMER"), QStringList({"1", "1", "2", "7"}));
        EXPECT_EQ(rowCount(cash("NAGKASA.DB")), 5);
        for (const char *listing : {"KASA.STR", "RKASA.STR", "NAGKASA.STR"})
            EXPECT_FALSE(QFileInfo::exists(cash(QString::fromLatin1(listing)))) << listing;
    }
};

struct ConversionKill {
    const char *crashPoint;
    ConversionResumption atNextStart;
};

class KilledConversion : public InterruptedConversionTest, public ::testing::WithParamInterface<ConversionKill> {};

TEST_P(KilledConversion, TheNextStartFinishesItOrFindsTheOldTablesWhole)
{
    createOldTables();
    ASSERT_TRUE(runKilledAt(QStringLiteral("conversion"), QString(), QString::fromLatin1(GetParam().crashPoint)));

    EXPECT_EQ(ResumeInterruptedConversion(context), GetParam().atNextStart);
    if (GetParam().atNextStart == ConversionResumption::Finished) {
        prompt.shownOnce(QString::fromUtf8(
            "Konwersja baz danych przerwana przy poprzednim uruchomieniu programu została dokończona."));
        expectConvertedTables();
        return;
    }
    // Cut short while it was still being built: the old version is untouched and converts anew.
    expectOldTables();
    ASSERT_TRUE(ConvertOldVersionTables(context).completed);
    expectConvertedTables();
}

INSTANTIATE_TEST_SUITE_P(Cases, KilledConversion,
                         ::testing::Values(ConversionKill{"conversion-building:3", ConversionResumption::Nothing},
                                           ConversionKill{"conversion-built", ConversionResumption::Finished},
                                           ConversionKill{"conversion-kept", ConversionResumption::Finished},
                                           ConversionKill{"conversion-copied:1", ConversionResumption::Finished},
                                           ConversionKill{"conversion-copied:2", ConversionResumption::Finished},
                                           ConversionKill{"conversion-copied:3", ConversionResumption::Finished},
                                           ConversionKill{"conversion-listings", ConversionResumption::Finished}));

TEST_F(InterruptedConversionTest, TwoProgramsStartingAtOnceConvertTheTreeOnce)
{
    createOldTables();
    QProcess *first = startChild(QStringLiteral("conversion"), QString(), QString());
    QProcess *second = startChild(QStringLiteral("conversion"), QString(), QString());
    ASSERT_TRUE(first->waitForFinished(60000));
    ASSERT_TRUE(second->waitForFinished(60000));
    const QString said = QString::fromUtf8(first->readAllStandardOutput() + second->readAllStandardOutput());

    EXPECT_EQ(said.count(QStringLiteral("DONE 1")), 1) << said.toStdString();
    expectConvertedTables();
}

TEST_F(InterruptedConversionTest, TablesAnotherProgramHoldsAreNotConverted)
{
    createOldTables();
    const int other = ::open(QFile::encodeName(cash("NAGKASA.DB")).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    const bool completed = ConvertOldVersionTables(context).completed;
    ::close(other);

    EXPECT_FALSE(completed);
    EXPECT_EQ(prompt.shownOnce(TableHeldElsewhereMessage(cash("RKASA.DB"))).icon, PromptIcon::Error);
    expectOldTables();
}

TEST_F(InterruptedConversionTest, ACopyThatFailsHalfWayPutsEveryOldTableBack)
{
    createOldTables();
    // The last table's copy cannot be made beside it.
    ASSERT_TRUE(QDir().mkpath(cash("~NAGKASA.DB")));

    EXPECT_FALSE(ConvertOldVersionTables(context).completed);
    EXPECT_EQ(prompt.shownOnce(QString::fromUtf8("Nie mozna utworzyć tabeli")).icon, PromptIcon::Error);
    expectOldTables();
    EXPECT_EQ(ResumeInterruptedConversion(context), ConversionResumption::Nothing);
}

TEST_F(InterruptedConversionTest, AFullDiskGivesTheErrorAndLeavesTheOldTreeUsable)
{
    createOldTables();
    QList<RowValues> many;
    for (int i = 0; i < 3000; ++i)
        many << RowValues{{"AUTOKASA", 1}, {"AUTORK", 1}, {"RD", "KP"}, {"NRD", 100 + i}, {"ONAZ1", QString(40, u'x')}};
    tree.addRows(cash("NAGKASA.DB"), many);
    const qint64 oldSize = QFileInfo(cash("NAGKASA.DB")).size();

    // Files may grow to a quarter of the documents' size, as on a disk that is nearly full.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = rlim_t(oldSize / 4);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool completed = ConvertOldVersionTables(context).completed;
    ::setrlimit(RLIMIT_FSIZE, &previous);

    EXPECT_FALSE(completed);
    ASSERT_FALSE(prompt.messages().isEmpty());
    EXPECT_TRUE(prompt.texts().value(0).startsWith(QString::fromUtf8("Nie mozna utworzyć tabeli")));
    EXPECT_EQ(tree.open(cash("NAGKASA.DB"))->definition(), OldCashDocumentTableDefinition());
    EXPECT_EQ(rowCount(cash("NAGKASA.DB")), 3005);
    EXPECT_EQ(ResumeInterruptedConversion(context), ConversionResumption::Nothing);
}

TEST_F(InterruptedConversionTest, RowsWithoutTheirMasterAndShortenedValuesAreListed)
{
    TableDefinition desks = OldCashDeskTableDefinition();
    desks.fields[desks.fieldIndex("NAZWA")].size = 70;
    const QString longName = QString(70, u'Ś');
    tree.createTable(cash("KASA.DB"), desks, {{{"AUTOKASA", 1}, {"NAZWA", longName}}});
    tree.createTable(cash("RKASA.DB"), OldCashReportTableDefinition(),
                     {{{"AUTOKASA", 1}, {"NUMER", 1}}, {{"AUTOKASA", 9}, {"NUMER", 4}}}); // AUTORK 1 and 2
    tree.createTable(cash("NAGKASA.DB"), OldCashDocumentTableDefinition(),
                     {{{"AUTOKASA", 1}, {"AUTORK", 1}, {"RD", "KP"}, {"NRD", 1}},
                      {{"AUTOKASA", 1}, {"AUTORK", 5}, {"RD", "KW"}, {"NRD", 2}}});

    const ConversionOutcome outcome = ConvertOldVersionTables(context);

    ASSERT_TRUE(outcome.completed);
    EXPECT_TRUE(outcome.notes.contains("kasa AUTOKASA 1, pole NAZWA: \"" + longName + "\"")) << outcome.notes.toStdString();
    EXPECT_TRUE(outcome.notes.contains("raport AUTOKASA 9 AUTORK 2 NUMER 4 bez swojej kasy"));
    EXPECT_TRUE(outcome.notes.contains("dokument KW 2 (AUTOKASA 1 AUTORK 5) bez swojego raportu"));
    // The old rows stay in the kept old tables.
    EXPECT_EQ(rowCount(cash("KONWERT/STARE/RKASA.DB")), 2);
}

} // namespace
