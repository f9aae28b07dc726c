#include "store_bench_data.h"

#include "store/session.h"
#include "store/table.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

#include <map>

// The table engine on a document table of 2 000 and of 200 000 rows. Numbering, posting and
// key searches must not grow with the table; the full scan is measured beside the sqlite3 tool.

namespace {

const BenchDocuments &Documents(int rows)
{
    static std::map<int, BenchDocuments> prepared;
    auto it = prepared.find(rows);
    if (it == prepared.end())
        it = prepared.emplace(rows, PrepareBenchDocuments(rows)).first;
    return it->second;
}

Session &BenchSession()
{
    static Session session;
    return session;
}

std::unique_ptr<Table> OpenDocuments(const BenchDocuments &documents, const QString &index)
{
    auto t = std::make_unique<Table>(BenchSession());
    t->setTableName(documents.path);
    t->setIndexName(index);
    t->open();
    return t;
}

QRandomGenerator &Random()
{
    static QRandomGenerator random(20190101);
    return random;
}

// (a) The headers and lines of one report, read through.
void ReportView(benchmark::State &state)
{
    const BenchDocuments &documents = Documents(int(state.range(0)));
    auto t = OpenDocuments(documents, QStringLiteral("Pinx"));
    qint64 rows = 0;
    for (auto _ : state) {
        const QString desk = BenchDeskSymbol(1 + Random().bounded(documents.desks));
        const int report = 1 + Random().bounded(documents.reportsPerDesk);
        t->setRange({desk, report}, {desk, report});
        Money total;
        for (t->first(); !t->eof(); t->next()) {
            total += t->asMoney(QStringLiteral("KWOTAP"));
            ++rows;
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["rows/view"] = double(rows) / double(state.iterations());
}

// (b) The highest number of one desk and kind among headers, as numbering reads it.
void Numbering(benchmark::State &state)
{
    const BenchDocuments &documents = Documents(int(state.range(0)));
    auto t = OpenDocuments(documents, QStringLiteral("Ainx"));
    t->setFiltered(true);
    static const char *kinds[] = {"KP", "KW", "KPD", "KWD", "WZ", "RZ"};
    for (auto _ : state) {
        const QString desk = BenchDeskSymbol(1 + Random().bounded(documents.desks));
        t->setFilterConditions({{QStringLiteral("SYMBOL"), FilterCondition::Op::Equal, desk},
                                {QStringLiteral("RD"), FilterCondition::Op::Equal, QString::fromLatin1(kinds[Random().bounded(6)])},
                                {QStringLiteral("GLOWKA"), FilterCondition::Op::Equal, true}});
        t->last();
        benchmark::DoNotOptimize(t->asInteger(QStringLiteral("NRD")));
    }
}

// (c) One header and one line posted, each on disk when its post returns.
void PostHeaderAndLine(benchmark::State &state)
{
    const BenchDocuments &documents = Documents(int(state.range(0)));
    auto t = OpenDocuments(documents, QStringLiteral("Pinx"));
    const QString desk = BenchDeskSymbol(1);
    t->setRange({desk, 1}, {desk, 1});
    int number = 900000;
    QList<Bookmark> added;
    for (auto _ : state) {
        ++number;
        for (bool header : {true, false}) {
            t->append();
            t->setString(QStringLiteral("SYMBOL"), desk);
            t->setInteger(QStringLiteral("NUMER"), 1);
            t->setString(QStringLiteral("RD"), QStringLiteral("KP"));
            t->setString(QStringLiteral("ROK"), QStringLiteral("2019"));
            t->setInteger(QStringLiteral("NRD"), number);
            t->setBoolean(QStringLiteral("GLOWKA"), header);
            t->setInteger(QStringLiteral("POZ"), header ? number : 0);
            t->setString(QStringLiteral("ONAZ1"), QStringLiteral("Nowy kontrahent"));
            t->setString(QStringLiteral("TYT1"), QStringLiteral("Wpłata"));
            t->setMoney(QStringLiteral("KWOTAP"), Money::fromCents(1234));
            t->post();
            added.append(t->bookmark());
        }
    }
    // Timing has stopped: take the rows out again so the table stays as built.
    for (const Bookmark &mark : added)
        if (t->gotoBookmark(mark))
            t->deleteRow();
}

// (d) A nearest-key search on Ninx (desk, report, contractor name).
void FindNearestName(benchmark::State &state)
{
    const BenchDocuments &documents = Documents(int(state.range(0)));
    auto t = OpenDocuments(documents, QStringLiteral("Ninx"));
    static const char *prefixes[] = {"Kow", "nowak", "Ł", "Ż", "wiś", "ą", "Zak", "ó"};
    for (auto _ : state) {
        const QString desk = BenchDeskSymbol(1 + Random().bounded(documents.desks));
        const int report = 1 + Random().bounded(documents.reportsPerDesk);
        t->findNearest({desk, report, QString::fromUtf8(prefixes[Random().bounded(8)])});
        benchmark::DoNotOptimize(t->asString(QStringLiteral("ONAZ1")));
    }
}

// (e) Every row in Pinx order.
void FullScan(benchmark::State &state)
{
    const BenchDocuments &documents = Documents(int(state.range(0)));
    auto t = OpenDocuments(documents, QStringLiteral("Pinx"));
    for (auto _ : state) {
        qint64 rows = 0;
        Money total;
        for (t->first(); !t->eof(); t->next()) {
            total += t->asMoney(QStringLiteral("KWOTAP"));
            ++rows;
        }
        benchmark::DoNotOptimize(total);
        state.counters["rows"] = double(rows);
    }
}

// (e) The sqlite3 tool reading the same rows in the same order (binary index, ASCII symbols).
void FullScanSqliteTool(benchmark::State &state)
{
    const BenchDocuments &documents = Documents(int(state.range(0)));
    for (auto _ : state) {
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        tool.start(QStringLiteral("sqlite3"),
                   SqliteToolArguments(documents.path)
                       << QStringLiteral("SELECT * FROM data ORDER BY SYMBOL COLLATE POLISH_CI, NUMER, POZ, rowid;"));
        tool.waitForFinished(-1);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (tool.exitCode() != 0)
            state.SkipWithError("sqlite3 failed");
    }
}

} // namespace

BENCHMARK(ReportView)->Arg(2000)->Arg(200000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Numbering)->Arg(2000)->Arg(200000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PostHeaderAndLine)->Arg(2000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(FindNearestName)->Arg(2000)->Arg(200000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullScan)->Arg(2000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(FullScanSqliteTool)->Arg(2000)->Arg(200000)->UseManualTime()->Unit(benchmark::kMillisecond);
