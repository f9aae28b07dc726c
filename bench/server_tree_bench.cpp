#include "server_bench_data.h"
#include "store_bench_data.h"

#include "base/progress.h"
#include "base/server_location.h"
#include "maintenance/archive_tree.h"
#include "maintenance/tree_migration.h"
#include "store/server_table_backend.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <functional>

// A year of 200 000 document rows on a database server: its archive beside pg_dump of the year's
// schema, and its move from table files onto the server beside psql's \copy of the same rows
// into a table like the document table. Two databases of the benchmarks' own cluster serve:
// one the year is moved to once and archived from, the other filled by each move (emptied
// between runs). Another server may be named instead, by two databases the benchmark may fill
// and empty:
//   KASA_BENCH_SERVER            a data root ("pg:SERVICE" or "postgresql://...")
//   KASA_BENCH_SERVER_MIGRATION  a second, empty database

namespace {

constexpr int kRows = 200000;
const QString kYear = QStringLiteral("2026");

struct ServerBench {
    QString error;
    QString files;     // the file tree, ending with a separator
    QString server;    // its copy on the server, as the program keeps the root
    QString migration; // the database each move fills
    QString target;    // where each run writes
    QString rowsFile;  // the document rows in the server's copy format
};

QByteArray ConnectionInfo(const QString &root)
{
    return ParseServerTablePath(root)->connectionInfo;
}

int RunTool(const QString &tool, const QStringList &arguments)
{
    return QProcess::execute(tool, arguments);
}

int Psql(const QString &root, const QString &command)
{
    return RunTool(QStringLiteral("psql"), {QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                            QStringLiteral("-d"), QString::fromUtf8(ConnectionInfo(root)),
                                            QStringLiteral("-c"), command});
}

const ServerBench &Bench()
{
    static const ServerBench bench = [] {
        ServerBench b;
        std::optional<QString> server = ServerDataRoot(qEnvironmentVariable("KASA_BENCH_SERVER"));
        std::optional<QString> migration = ServerDataRoot(qEnvironmentVariable("KASA_BENCH_SERVER_MIGRATION"));
        if (qEnvironmentVariableIsEmpty("KASA_BENCH_SERVER") && qEnvironmentVariableIsEmpty("KASA_BENCH_SERVER_MIGRATION")) {
            server = BenchServerDatabase(QStringLiteral("kasa_bench_tree"));
            migration = BenchServerDatabase(QStringLiteral("kasa_bench_move"));
        }
        if (!server || !migration) {
            b.error = QStringLiteral("KASA_BENCH_SERVER and KASA_BENCH_SERVER_MIGRATION must name two databases");
            return b;
        }
        b.server = *server;
        b.migration = *migration;
        const QString folder = QDir::temp().filePath(QStringLiteral("kasa-server-tree-bench"));
        b.files = QDir(folder).filePath(QStringLiteral("dane")) + QDir::separator();
        b.target = QDir(folder).filePath(QStringLiteral("kopia"));
        b.rowsFile = QDir(folder).filePath(QStringLiteral("nagkasa.copy"));
        if (!QFileInfo::exists(b.files + QStringLiteral("FIRMA.DB"))) {
            const BenchDocuments documents = PrepareBenchDocuments(kRows);
            CreateBenchYear(b.files + kYear, documents.path);
            Session session;
            Table company(session);
            company.setTableName(b.files + QStringLiteral("FIRMA.DB"));
            company.create(CompanyTableDefinition());
        }
        if (ServerTableBackend::tablesOfTree(b.server).isEmpty()) {
            NullProgress progress;
            const TreeMigrationReport report = MigrateDataTree(b.files, b.server, progress);
            if (!report.succeeded()) {
                b.error = report.refusal + report.differences.join(u'\n');
                return b;
            }
        }
        // The rows as the server writes them, and a table like the document table to read them into.
        Psql(b.server, QStringLiteral("\\copy \"%1\".\"KASA/NAGKASA\" TO '%2'").arg(kYear, b.rowsFile));
        Psql(b.server, QStringLiteral("DROP TABLE IF EXISTS public.bench_copy; CREATE TABLE public.bench_copy "
                                      "(LIKE \"%1\".\"KASA/NAGKASA\" INCLUDING ALL)")
                           .arg(kYear));
        return b;
    }();
    return bench;
}

bool Ready(benchmark::State &state, const ServerBench &bench)
{
    if (bench.error.isEmpty())
        return true;
    state.SkipWithError(bench.error.toUtf8().constData());
    return false;
}

// Each run after its preparation, which is not timed. Child programs' CPU time is not this
// thread's: it is counted apart.
void Measure(benchmark::State &state, const std::function<void()> &prepare, const std::function<void()> &work)
{
    double childCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        const double before = ChildrenCpuSeconds();
        work();
        childCpu += ChildrenCpuSeconds() - before;
    }
    state.counters["child_cpu_s"] = benchmark::Counter(childCpu, benchmark::Counter::kAvgIterations);
}

void ArchiveYearFromServer(benchmark::State &state)
{
    const ServerBench &bench = Bench();
    if (!Ready(state, bench))
        return;
    NullProgress progress;
    Measure(state, [&] { QDir(bench.target).removeRecursively(); }, [&] {
        const TreeCopyReport report = ArchiveDataTree(bench.server, {kYear}, bench.target, progress);
        if (!report.succeeded())
            state.SkipWithError(report.message().toUtf8().constData());
    });
}

void PgDumpOfTheYear(benchmark::State &state)
{
    const ServerBench &bench = Bench();
    if (!Ready(state, bench))
        return;
    // 0: the plain SQL script; 1: the server's own compressed archive format (-Fc).
    const bool custom = state.range(0) == 1;
    const QString out = bench.target + (custom ? QStringLiteral(".dump") : QStringLiteral(".sql"));
    Measure(state, [&] { QFile::remove(out); }, [&] {
        RunTool(QStringLiteral("pg_dump"), {QStringLiteral("-d"), QString::fromUtf8(ConnectionInfo(bench.server)),
                                            QStringLiteral("-n"), kYear, custom ? QStringLiteral("-Fc") : QStringLiteral("-Fp"),
                                            QStringLiteral("-f"), out});
    });
}

void MoveYearOntoServer(benchmark::State &state)
{
    const ServerBench &bench = Bench();
    if (!Ready(state, bench))
        return;
    NullProgress progress;
    Measure(state, [&] {
        Psql(bench.migration, QStringLiteral("DROP SCHEMA IF EXISTS \"root\" CASCADE; DROP SCHEMA IF EXISTS \"%1\" CASCADE")
                                  .arg(kYear));
    }, [&] {
        const TreeMigrationReport report = MigrateDataTree(bench.files, bench.migration, progress);
        if (!report.succeeded())
            state.SkipWithError((report.refusal + report.differences.join(u'\n')).toUtf8().constData());
    });
}

void PsqlCopyOfTheRows(benchmark::State &state)
{
    const ServerBench &bench = Bench();
    if (!Ready(state, bench))
        return;
    Measure(state, [&] { Psql(bench.server, QStringLiteral("TRUNCATE public.bench_copy")); }, [&] {
        Psql(bench.server, QStringLiteral("\\copy public.bench_copy FROM '%1'").arg(bench.rowsFile));
    });
}

} // namespace

BENCHMARK(ArchiveYearFromServer)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(PgDumpOfTheYear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(MoveYearOntoServer)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(PsqlCopyOfTheRows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
