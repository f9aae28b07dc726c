#include "base/server_location.h"
#include "store/polish_collation.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"
#include "support/child_program.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <iostream>

// Tests in which a second program works on the same table: the test program starts itself
// again as that program (the StoreChildProgram test, which only runs when told to).

namespace {

constexpr const char *kModeVariable = "KASA_STORE_CHILD";

TableDefinition Entries()
{
    TableDefinition d;
    d.fields = {{QStringLiteral("KOD"), FieldType::Integer, 0, true},
                {QStringLiteral("NR"), FieldType::AutoIncrement, 0, false},
                {QStringLiteral("OPIS"), FieldType::Text, 40, false}};
    IndexDef primary;
    primary.fields = {QStringLiteral("KOD")};
    primary.primary = primary.unique = true;
    IndexDef numbers;
    numbers.name = QStringLiteral("Ninx");
    numbers.fields = {QStringLiteral("NR")};
    numbers.unique = true;
    IndexDef texts;
    texts.name = QStringLiteral("Oinx");
    texts.fields = {QStringLiteral("OPIS")};
    texts.caseInsensitive = true;
    d.indexes = {primary, numbers, texts};
    return d;
}

void Say(const QByteArray &line)
{
    std::cout << line.constData() << std::endl; // flushed: the parent reads it at once
}

QString KindName(EngineErrorKind kind)
{
    static const char *names[] = {"KeyViolation", "Locked", "Missing", "Damaged", "Other"};
    return QString::fromLatin1(names[int(kind)]);
}

// A second program on the table, run by the parent test through the environment.
class StoreChild : public ChildProgram {
public:
    StoreChild(const QString &mode, const QString &tablePath, const QStringList &settings = {})
        : ChildProgram(QStringLiteral("StoreChildProgram.Run"),
                       QStringList{QString::fromLatin1(kModeVariable) + QLatin1Char('=') + mode,
                                   QStringLiteral("KASA_STORE_TABLE=") + tablePath}
                           + settings)
    {
    }
};

QList<int> PostedKeys(const QStringList &lines)
{
    QList<int> keys;
    for (const QString &line : lines)
        if (line.startsWith(QLatin1String("POSTED ")))
            keys.append(line.mid(7).toInt());
    return keys;
}

QString IntegrityCheck(const QString &path)
{
    // A table on a server is kept whole by the server; what counts there is that no posted row
    // is lost.
    if (IsServerPath(path))
        return QStringLiteral("ok");
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    RegisterPolishTextFunctions(db);
    sqlite3_stmt *statement = nullptr;
    QString result = QStringLiteral("no answer");
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

class TableProcesses : public StoreTest {
protected:
    void TearDown() override { session_.setLockTimeout(5000); }
};

void RunHold(Table &t)
{
    try {
        if (qEnvironmentVariableIntValue("KASA_STORE_EXCLUSIVE"))
            t.openExclusive();
        else
            t.open();
        Say("READY");
    } catch (const EngineError &error) {
        Say("FAILED " + KindName(error.kind()).toUtf8());
        return;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

void RunPosts(Table &t)
{
    t.open();
    const int from = qEnvironmentVariableIntValue("KASA_STORE_FROM");
    const int count = qEnvironmentVariableIntValue("KASA_STORE_COUNT");
    Say("READY");
    for (int key = from; key < from + count; ++key) {
        try {
            t.append();
            t.setInteger(QStringLiteral("KOD"), key);
            t.setString(QStringLiteral("OPIS"), QStringLiteral("wiersz %1 żółć").arg(key));
            t.post();
        } catch (const EngineError &error) {
            Say("ERROR " + KindName(error.kind()).toUtf8());
            return;
        }
        Say("POSTED " + QByteArray::number(key));
    }
    Say("DONE");
}

void RunLockHolder(Table &t)
{
    t.open();
    TransactionScope scope;
    t.append();
    t.setInteger(QStringLiteral("KOD"), -1);
    t.post();
    Say("READY");
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

} // namespace

TEST(StoreChildProgram, Run)
{
    const QString mode = qEnvironmentVariable(kModeVariable);
    if (mode.isEmpty())
        GTEST_SKIP() << "runs only as the second program of a process test";
    Session session;
    Table t(session);
    t.setTableName(qEnvironmentVariable("KASA_STORE_TABLE"));
    if (mode == QLatin1String("hold"))
        RunHold(t);
    else if (mode == QLatin1String("post"))
        RunPosts(t);
    else if (mode == QLatin1String("lock"))
        RunLockHolder(t);
}

TEST_F(TableProcesses, ExclusiveOpenAgainstAnotherProgram)
{
    const TableDefinition definition = Entries();
    auto t = table(QStringLiteral("T"), &definition);
    {
        StoreChild other(QStringLiteral("hold"), t->filePath());
        ASSERT_TRUE(other.waitFor(QStringLiteral("READY")));
        try {
            t->openExclusive();
            FAIL() << "opened exclusively while another program has the table";
        } catch (const EngineError &error) {
            EXPECT_EQ(error.kind(), EngineErrorKind::Locked);
            EXPECT_TRUE(error.message().contains(QStringLiteral("zablokowana")));
        }
        t->open(); // sharing is fine
        t->close();
        other.release();
        other.finish();
    }
    t->openExclusive();
    // A second table object of this program may still use the file.
    auto same = table(QStringLiteral("T"));
    same->open();
    StoreChild other(QStringLiteral("hold"), t->filePath());
    EXPECT_EQ(other.waitFor(QStringLiteral("FAILED")), QStringLiteral("Locked"));
    same->close();
    t->close();
    StoreChild third(QStringLiteral("hold"), t->filePath());
    EXPECT_TRUE(third.waitFor(QStringLiteral("READY")));
    third.release();
}

TEST_F(TableProcesses, KilledWriterNeverLosesAPostedRow)
{
    const TableDefinition definition = Entries();
    auto t = table(QStringLiteral("T"), &definition);
    const QString file = t->filePath();
    QList<int> posted;
    for (int round = 0; round < 25; ++round) {
        StoreChild writer(QStringLiteral("post"), file,
                            {QStringLiteral("KASA_STORE_FROM=%1").arg(round * 100000),
                             QStringLiteral("KASA_STORE_COUNT=100000")});
        ASSERT_TRUE(writer.waitFor(QStringLiteral("READY"))) << writer.lines().join('\n').toStdString();
        // Kill only once something was posted, so a busy machine still tests lost rows.
        ASSERT_TRUE(writer.waitFor(QStringLiteral("POSTED"))) << writer.lines().join('\n').toStdString();
        QThread::msleep(QRandomGenerator::global()->bounded(0, 60));
        writer.killHard();
        posted += PostedKeys(writer.lines());

        ASSERT_EQ(IntegrityCheck(file), QStringLiteral("ok")) << "round " << round;
        t->open();
        for (int key : posted)
            ASSERT_TRUE(t->findKey({key})) << "lost row " << key << " in round " << round;
        t->close();
    }
    EXPECT_GT(posted.size(), 25);
}

TEST_F(TableProcesses, TwoProgramsPostingAtOnceLoseNoRow)
{
    const TableDefinition definition = Entries();
    auto t = table(QStringLiteral("T"), &definition);
    const int perProgram = 150;
    StoreChild first(QStringLiteral("post"), t->filePath(),
                       {QStringLiteral("KASA_STORE_FROM=0"), QStringLiteral("KASA_STORE_COUNT=%1").arg(perProgram)});
    StoreChild second(QStringLiteral("post"), t->filePath(),
                        {QStringLiteral("KASA_STORE_FROM=1000"), QStringLiteral("KASA_STORE_COUNT=%1").arg(perProgram)});
    EXPECT_TRUE(first.waitFor(QStringLiteral("DONE"), 120000)) << first.lines().join('\n').toStdString();
    EXPECT_TRUE(second.waitFor(QStringLiteral("DONE"), 120000)) << second.lines().join('\n').toStdString();
    t->open();
    EXPECT_EQ(t->recordCount(), 2 * perProgram);
    // Every row got its own number although both programs numbered at once.
    t->setIndexName(QStringLiteral("Ninx"));
    t->last();
    EXPECT_EQ(t->asInteger(QStringLiteral("NR")), 2 * perProgram);
}

TEST_F(TableProcesses, ALockHeldTooLongFailsThePostAsLocked)
{
    const TableDefinition definition = Entries();
    auto t = openTable(QStringLiteral("T"), definition);
    StoreChild holder(QStringLiteral("lock"), t->filePath());
    ASSERT_TRUE(holder.waitFor(QStringLiteral("READY")));
    session_.setLockTimeout(300);
    QElapsedTimer timer;
    timer.start();
    t->append();
    t->setInteger(QStringLiteral("KOD"), 1);
    try {
        t->post();
        FAIL() << "posted while another program holds the write lock";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.kind(), EngineErrorKind::Locked);
        EXPECT_TRUE(error.message().contains(t->filePath()));
    }
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(t->state(), TableState::Insert); // the row is still there to post again
    holder.release();
    holder.finish();
    t->post();
    EXPECT_EQ(t->recordCount(), 1); // the holder's uncommitted row is gone
}
