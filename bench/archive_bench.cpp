#include "store_bench_data.h"

#include "base/progress.h"
#include "maintenance/archive_tree.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>


// The archive of a ten-year data tree, each year with a document table of 200 000 rows and the
// year's other tables, beside "cp -r" of the same tree (and "cp -r" followed by "sync" of the
// copied files and folders alone, which like the archive leaves the copy on the disk without
// waiting for what other programs write).

namespace {

constexpr int kYears = 10;
constexpr int kRowsPerYear = 200000;

struct BenchTree {
    QString root;    // the data root, ending with a separator
    QStringList years;
    QString target;  // where each run copies to
};

const BenchTree &Tree()
{
    static const BenchTree tree = [] {
        BenchTree t;
        const QString folder = QDir::temp().filePath(QStringLiteral("kasa-archive-bench"));
        t.root = QDir(folder).filePath(QStringLiteral("dane")) + QDir::separator();
        t.target = QDir(folder).filePath(QStringLiteral("kopia"));
        for (int year = 2010; year < 2010 + kYears; ++year)
            t.years.append(QString::number(year));
        const QString ready = QDir(folder).filePath(QStringLiteral("ready"));
        if (QFileInfo::exists(ready))
            return t;
        QDir(folder).removeRecursively();
        const BenchDocuments documents = PrepareBenchDocuments(kRowsPerYear);
        Session session;
        const auto create = [&](const QString &path, const TableDefinition &definition) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            Table table(session);
            table.setTableName(path);
            table.create(definition);
        };
        create(t.root + QStringLiteral("FIRMA.DB"), CompanyTableDefinition());
        for (const QString &year : std::as_const(t.years))
            CreateBenchYear(t.root + year, documents.path);
        QFile(ready).open(QIODevice::WriteOnly);
        return t;
    }();
    return tree;
}

void RemoveTarget(benchmark::State &state, const BenchTree &tree)
{
    state.PauseTiming();
    QDir(tree.target).removeRecursively();
    QProcess::execute(QStringLiteral("sync"), {});
    state.ResumeTiming();
}

qint64 TreeBytes(const QString &folder)
{
    qint64 bytes = 0;
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        bytes += entry.isDir() ? TreeBytes(entry.filePath()) : entry.size();
    return bytes;
}

void ArchiveTenYears(benchmark::State &state)
{
    const BenchTree &tree = Tree();
    NullProgress progress;
    for (auto _ : state) {
        RemoveTarget(state, tree);
        const TreeCopyReport report = ArchiveDataTree(tree.root, tree.years, tree.target, progress);
        if (!report.succeeded())
            state.SkipWithError(report.message().toUtf8().constData());
    }
    state.counters["MB"] = double(TreeBytes(tree.root)) / 1e6;
}

// Every file and folder below the folder, and the folder itself.
QStringList TreeEntries(const QString &folder)
{
    QStringList entries{folder};
    for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        entries += entry.isDir() ? TreeEntries(entry.filePath()) : QStringList{entry.filePath()};
    return entries;
}

void CopyTreeWithCp(benchmark::State &state, bool sync)
{
    const BenchTree &tree = Tree();
    double childCpu = 0;
    for (auto _ : state) {
        RemoveTarget(state, tree);
        const double before = ChildrenCpuSeconds();
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), tree.root, tree.target});
        if (sync)
            QProcess::execute(QStringLiteral("sync"), TreeEntries(tree.target));
        childCpu += ChildrenCpuSeconds() - before;
    }
    // cp works in a child process: its CPU time is not this thread's.
    state.counters["cp_cpu_s"] = benchmark::Counter(childCpu, benchmark::Counter::kAvgIterations);
}

void CpR(benchmark::State &state)
{
    CopyTreeWithCp(state, false);
}

void CpRThenSync(benchmark::State &state)
{
    CopyTreeWithCp(state, true);
}

} // namespace

BENCHMARK(ArchiveTenYears)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(CpR)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(CpRThenSync)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
