#include "store_bench_data.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "base/prompt.h"
#include "store/data_tree_initializer.h"
#include "store/helper_indexes.h"
#include "store/session.h"
#include "store/table.h"
#include "store/data_module.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

// A start of the program on an installation whose year holds 200 000 document rows (ten desks,
// a hundred reports each): the open sequence and the first things a user sees (the last
// report's documents in two orders, the next number of a desk and kind, the report's headers as
// the cash state reads them). Case 0: the document table without the engine's helper indexes,
// as another program's writes leave it; case 1: with them, as the program's bulk writers leave
// it. Beside the times, the table file's used size with and without them.

namespace {

constexpr int kRows = 200000;

class Silent : public Prompt {
public:
    PromptButton show(PromptIcon, const QString &, PromptButtons, const QString &) override { return Ok; }
    void beep() override {}
};

// The pages in use (the file without its free pages), in megabytes.
double UsedMegabytes(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    auto number = [&](const char *sql) {
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        const double value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_double(statement, 0) : 0;
        sqlite3_finalize(statement);
        return value;
    };
    const double used = (number("PRAGMA page_count") - number("PRAGMA freelist_count")) * number("PRAGMA page_size");
    sqlite3_close(db);
    return used / (1024.0 * 1024.0);
}

void DropHelpers(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt *names = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'helper\\_%' ESCAPE '\\'",
                       -1, &names, nullptr);
    QList<QByteArray> found;
    while (sqlite3_step(names) == SQLITE_ROW)
        found.append(reinterpret_cast<const char *>(sqlite3_column_text(names, 0)));
    sqlite3_finalize(names);
    for (const QByteArray &name : found)
        sqlite3_exec(db, ("DROP INDEX \"" + name + "\"").constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

class Installation {
public:
    Installation()
    {
        folder_ = dir_.path() + QDir::separator();
        FixedClock clock{QDate(2019, 12, 15), QTime(9, 30)};
        InitialiseDataTree({folder_, QStringLiteral("2019"), false}, clock);
        const BenchDocuments &documents = Documents();
        documentsPath_ = folder_ + QStringLiteral("2019/KASA/NAGKASA.DB");
        QFile::remove(documentsPath_);
        QFile::copy(documents.path, documentsPath_);
        QFile::setPermissions(documentsPath_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        DropHelpers(documentsPath_);
        Session session;
        Table desks(session);
        desks.setTableName(folder_ + QStringLiteral("2019/KASA/KASA.DB"));
        Table reports(session);
        reports.setTableName(folder_ + QStringLiteral("2019/KASA/RKASA.DB"));
        desks.open();
        reports.open();
        TransactionScope scope;
        for (int desk = 1; desk <= documents.desks; ++desk) {
            desks.append();
            desks.setString(QStringLiteral("SYMBOL"), BenchDeskSymbol(desk));
            desks.post();
            for (int report = 1; report <= documents.reportsPerDesk; ++report) {
                reports.append();
                reports.setString(QStringLiteral("SYMBOL"), BenchDeskSymbol(desk));
                reports.setInteger(QStringLiteral("NUMER"), report);
                reports.post();
            }
        }
        scope.commit();
    }

    static const BenchDocuments &Documents()
    {
        static const BenchDocuments documents = PrepareBenchDocuments(kRows);
        return documents;
    }

    const QString &documentsPath() const { return documentsPath_; }

    // The start and the first views; the seconds they took.
    double start()
    {
        Session session;
        session.setWorkingFolder(folder_);
        Silent prompt;
        GlobalState state;
        state.TodayText = QStringLiteral("2019.12.15");
        ProcessEnvironment environment;
        environment.workingFolder = folder_;
        environment.programFolder = folder_;
        environment.programPath = folder_ + QStringLiteral("kasa");
        environment.userName = QStringLiteral("operator");
        QElapsedTimer timer;
        timer.start();
        TDANE dane(DataModuleContext{session, prompt, state, environment});
        dane.runOpenSequence();
        using Op = FilterCondition::Op;
        dane.TKASA.last();
        dane.TRKASA.last();
        dane.TNAG.setFilterConditions({{QStringLiteral("GLOWKA"), Op::Equal, true}});
        dane.TNAG.setFiltered(true);
        dane.TNAG.first();
        dane.TNAG.setIndexName(QStringLiteral("Dinx"));
        dane.TNAG.first();
        const QString desk = dane.TKASA.asString(QStringLiteral("SYMBOL"));
        dane.KNAG.setIndexName(QStringLiteral("Ainx"));
        dane.KNAG.setFilterConditions({{QStringLiteral("GLOWKA"), Op::Equal, true},
                                       {QStringLiteral("RD"), Op::Equal, QStringLiteral("RZ")},
                                       {QStringLiteral("SYMBOL"), Op::Equal, desk}});
        dane.KNAG.setFiltered(true);
        dane.KNAG.last();
        dane.KNAG.setFiltered(false);
        dane.KNAG.setIndexName(QStringLiteral("Pinx"));
        dane.KNAG.setFilterConditions({{QStringLiteral("SYMBOL"), Op::Equal, desk},
                                       {QStringLiteral("NUMER"), Op::Equal, dane.TRKASA.asInteger(QStringLiteral("NUMER"))},
                                       {QStringLiteral("GLOWKA"), Op::Equal, true}});
        dane.KNAG.setFiltered(true);
        for (dane.KNAG.first(); !dane.KNAG.eof(); dane.KNAG.next()) {
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (state.StartupStop)
            return -1;
        return seconds;
    }

private:
    QTemporaryDir dir_;
    QString folder_;
    QString documentsPath_;
};

void FirstStart(benchmark::State &state)
{
    const bool helpers = state.range(0) == 1;
    Installation installation;
    const double without = UsedMegabytes(installation.documentsPath());
    {
        Session session;
        BuildProgramHelperIndexes(session, installation.documentsPath());
    }
    const double with = UsedMegabytes(installation.documentsPath());
    installation.start(); // the file in the system's cache
    for (auto _ : state) {
        state.PauseTiming();
        if (!helpers)
            DropHelpers(installation.documentsPath());
        state.ResumeTiming();
        const double seconds = installation.start();
        if (seconds < 0)
            state.SkipWithError("the open sequence stopped");
        state.SetIterationTime(seconds);
    }
    QStringList names;
    {
        Session session;
        Table documents(session);
        documents.setTableName(installation.documentsPath());
        names = documents.helperIndexNames();
    }
    state.counters["helpers_after"] = double(names.size());
    state.counters["table_mb_without"] = without;
    state.counters["table_mb_with"] = with;
    state.counters["helpers_share_pct"] = (with - without) * 100.0 / without;
}

} // namespace

BENCHMARK(FirstStart)->Arg(0)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
