// The engine's helper indexes: a start never builds them, the program's views of the documents
// read the same rows with and without them, and the commands that write in bulk leave them in
// place.

#include "base/clock.h"
#include "base/global_state.h"
#include "base/progress.h"
#include "store/data_tree_initializer.h"
#include "store/helper_indexes.h"
#include "store/index_repair.h"
#include "store/session.h"
#include "store/table.h"
#include "store/data_module.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

const QString kYear = QStringLiteral("2019");
const QStringList kAllHelpers{QStringLiteral("helper_AUTO"), QStringLiteral("helper_SYMBOL_NUMER_POZ"),
                              QStringLiteral("helper_SYMBOL_RD_NRD")};

QStringList HelperNames(Session &session, const QString &path)
{
    Table table(session);
    table.setTableName(path);
    return table.helperIndexNames();
}

// As another program's writes leave a table: its own indexes, none of the engine's.
void DropHelpers(const QString &path)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    sqlite3_stmt *names = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'helper\\_%' ESCAPE '\\'", -1,
                       &names, nullptr);
    QList<QByteArray> found;
    while (sqlite3_step(names) == SQLITE_ROW)
        found.append(reinterpret_cast<const char *>(sqlite3_column_text(names, 0)));
    sqlite3_finalize(names);
    for (const QByteArray &name : found)
        ASSERT_EQ(sqlite3_exec(db, ("DROP INDEX \"" + name + "\"").constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class HelperIndexesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree_.isValid());
        tree_.withStandardTree(kYear);
        const QStringList desks{"A", "b", "B"}; // desks that differ only in case stay apart
        const QStringList kinds{"KP", "KW", "KPD"};
        const QStringList names{"Żabka", "zakład", "Ąbel", "abel", "Łoś"};
        QList<RowValues> deskRows, reportRows, documents;
        for (const QString &desk : desks) {
            deskRows.append({{"SYMBOL", desk}, {"NAZWA", "Kasa " + desk}});
            for (int report = 1; report <= 2; ++report)
                reportRows.append({{"SYMBOL", desk}, {"NUMER", report}, {"DATAOD", QStringLiteral("2019.0%1.01").arg(report)}});
        }
        int place = 0;
        for (int i = 0; i < 90; ++i) {
            const QString desk = desks[i % 3];
            const int report = 1 + (i / 3) % 2;
            const QString kind = kinds[(i / 6) % 3];
            const int number = 1 + i / 9 + (desk == QLatin1String("b") ? 20 : 0);
            ++place;
            RowValues header{{"SYMBOL", desk}, {"NUMER", report}, {"RD", kind}, {"ROK", "2019"}, {"NRD", number},
                             {"POZ", 100 - place}, {"GLOWKA", true},
                             {"DATA", QStringLiteral("2019.0%1.%2").arg(report).arg(10 + (i * 7) % 18)},
                             {"KWOTA", QStringLiteral("%1,00").arg(10 + i)}, {"ONAZ1", names[i % names.size()]}};
            documents.append(header);
            documents.append({{"SYMBOL", desk}, {"NUMER", report}, {"RD", kind}, {"ROK", "2019"}, {"NRD", number},
                              {"POZ", 100 - place}, {"GLOWKA", false}, {"KWOTAP", "1,00"}});
        }
        tree_.addRows(tree_.yearTable(kYear, "KASA\\KASA.DB"), deskRows);
        tree_.addRows(tree_.yearTable(kYear, "KASA\\RKASA.DB"), reportRows);
        tree_.addRows(documents_, documents);
    }

    // What the program's views of the documents show after a start: the report's headers in
    // each order the list offers, the highest number of every desk and kind, the report's
    // headers as the cash state reads them.
    QStringList startAndRead()
    {
        ScriptedPrompt prompt;
        GlobalState state;
        state.TodayText = QStringLiteral("2019.05.10");
        state.CurrentYear = kYear;
        TDANE dane(DataModuleContext{session_, prompt, state, tree_.environment({tree_.dataRootArgument()})});
        dane.runOpenSequence();
        QStringList seen;
        auto rows = [&](Table &view, const QString &label) {
            QString line = label + u':';
            for (view.first(); !view.eof(); view.next())
                line += u' ' + view.asString(QStringLiteral("SYMBOL")) + u'/' + view.asString(QStringLiteral("NRD"))
                        + u'/' + view.asString(QStringLiteral("RD"));
            seen << line;
        };
        using Op = FilterCondition::Op;
        for (dane.TKASA.first(); !dane.TKASA.eof(); dane.TKASA.next())
            for (dane.TRKASA.first(); !dane.TRKASA.eof(); dane.TRKASA.next()) {
                dane.TNAG.setFilterConditions({{QStringLiteral("GLOWKA"), Op::Equal, true}});
                dane.TNAG.setFiltered(true);
                for (const char *order : {"Pinx", "Dinx", "Ninx", "Rinx"}) {
                    dane.TNAG.setIndexName(QString::fromLatin1(order));
                    rows(dane.TNAG, QString::fromLatin1(order));
                }
                dane.KNAG.setFiltered(false);
                dane.KNAG.setIndexName(QStringLiteral("Pinx"));
                dane.KNAG.setFilterConditions({{QStringLiteral("SYMBOL"), Op::Equal, dane.TKASA.asString(QStringLiteral("SYMBOL"))},
                                               {QStringLiteral("NUMER"), Op::Equal, dane.TRKASA.asInteger(QStringLiteral("NUMER"))},
                                               {QStringLiteral("GLOWKA"), Op::Equal, true}});
                dane.KNAG.setFiltered(true);
                rows(dane.KNAG, QStringLiteral("report"));
            }
        dane.KNAG.setFiltered(false);
        dane.KNAG.setIndexName(QStringLiteral("Ainx"));
        for (const char *desk : {"A", "b", "B", "C"})
            for (const char *kind : {"KP", "KW", "KPD", "RZ"}) {
                dane.KNAG.setFilterConditions({{QStringLiteral("GLOWKA"), Op::Equal, true},
                                               {QStringLiteral("RD"), Op::Equal, QString::fromLatin1(kind)},
                                               {QStringLiteral("SYMBOL"), Op::Equal, QString::fromLatin1(desk)}});
                dane.KNAG.setFiltered(true);
                dane.KNAG.last();
                seen << QStringLiteral("highest %1 %2: %3").arg(desk, kind, dane.KNAG.isEmpty() ? QStringLiteral("-") : dane.KNAG.asString(QStringLiteral("NRD")));
            }
        session_.closeAll();
        return seen;
    }

    DataTreeBuilder tree_;
    Session session_;
    const QString documents_ = tree_.yearTable(kYear, "KASA\\NAGKASA.DB");
};

TEST_F(HelperIndexesTest, AStartBuildsNoneAndTheViewsReadTheSameRowsWithThem)
{
    DropHelpers(documents_);
    session_.setWorkingFolder(tree_.workingFolder());
    const QStringList without = startAndRead();
    EXPECT_EQ(HelperNames(session_, documents_), QStringList());
    EXPECT_TRUE(without.contains(QStringLiteral("highest b KP: 29")));
    EXPECT_TRUE(without.contains(QStringLiteral("highest B KP: 9")));
    EXPECT_TRUE(without.contains(QStringLiteral("highest C RZ: -")));

    // A read-only table is never given them.
    QFile::setPermissions(documents_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    NullProgress progress;
    BuildYearHelperIndexes(session_, tree_.dataRoot(), kYear, progress);
    EXPECT_EQ(HelperNames(session_, documents_), QStringList());
    QFile::setPermissions(documents_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    BuildYearHelperIndexes(session_, tree_.dataRoot(), kYear, progress);
    EXPECT_EQ(HelperNames(session_, documents_), kAllHelpers);
    EXPECT_EQ(startAndRead(), without);
    EXPECT_EQ(HelperNames(session_, documents_), kAllHelpers);
}

// A new installation has them from the start; an index repair builds them again and drops the
// ones an older program made for single views.
TEST(HelperIndexes, InitAndIndexRepairLeaveThemInPlace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QDir::separator();
    FixedClock clock{QDate(2019, 12, 15), QTime(9, 30)};
    InitialiseDataTree({folder, QStringLiteral("2019"), true}, clock);
    const QString documents = folder + QStringLiteral("2019/KASA/NAGKASA");
    Session session;
    EXPECT_EQ(HelperNames(session, documents + QStringLiteral(".DB")), kAllHelpers);

    DropHelpers(documents + QStringLiteral(".DB"));
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(documents + QStringLiteral(".DB")).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE INDEX helper_GLOWKA_ONAZ1 ON data (GLOWKA, ONAZ1)", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    ScriptedPrompt prompt;
    prompt.answer(Yes);
    class Log : public IndexRepairLog {
    public:
        void clear() override {}
        int addLine(const QString &) override { return 0; }
        void replaceLine(int, const QString &) override {}
    } log;
    EXPECT_EQ(RunIndexRepair({session, prompt, {documents}, [] {}}, log), IndexRepairResult::Finished);
    EXPECT_EQ(HelperNames(session, documents + QStringLiteral(".DB")), kAllHelpers);
}

} // namespace
