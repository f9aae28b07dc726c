#include "store_bench_data.h"

#include "base/global_state.h"
#include "base/progress.h"
#include "base/prompt.h"
#include "maintenance/exchange_documents.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

// The export of a year of 200 000 document rows to a file and its import into an empty year,
// beside the sqlite3 tool writing the same columns with "-separator" and reading the same file
// with ".import" into a table with the same indexes. Times are wall clock; the counter "cpu_s"
// is the processor time of one run (the tool's own for the sqlite3 cases).

namespace {

constexpr int kRows = 200000;

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class Silent : public Prompt {
public:
    PromptButton show(PromptIcon, const QString &, PromptButtons, const QString &) override { return Ok; }
    void beep() override {}
};

// A year folder 2019/KASA with the document table, reports empty.
class BenchYear {
public:
    explicit BenchYear(const QString &documentsFrom = QString())
    {
        state_.DataRoot = dir_.path() + QLatin1Char('/');
        state_.CurrentYear = QStringLiteral("2019");
        QDir().mkpath(dir_.filePath(QStringLiteral("2019/KASA")));
        if (documentsFrom.isEmpty())
            createEmpty();
        else
            QFile::copy(documentsFrom, documents());
        Table reports(session_);
        reports.setTableName(dir_.filePath(QStringLiteral("2019/KASA/RKASA.DB")));
        reports.create(CashReportTableDefinition());
    }
    void createEmpty()
    {
        QFile::remove(documents());
        Table table(session_);
        table.setTableName(documents());
        table.create(CashDocumentTableDefinition());
    }
    QString documents() const { return dir_.filePath(QStringLiteral("2019/KASA/NAGKASA.DB")); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    TableHelperContext &helpers() { return helpers_; }

private:
    QTemporaryDir dir_;
    Session session_;
    Silent prompt_;
    GlobalState state_;
    TableHelperContext helpers_{session_, prompt_, state_};
};

QString ExportedFile()
{
    static const QString path = [] {
        const QString file = QDir::temp().filePath(QStringLiteral("kasa-store-bench/export_%1.txt").arg(kRows));
        if (!QFile::exists(file)) {
            BenchYear year(PrepareBenchDocuments(kRows).path);
            NullProgress progress;
            ExportDocuments(year.helpers(), file, progress);
        }
        return file;
    }();
    return path;
}

QString ColumnList()
{
    QStringList names;
    for (const FieldDef &field : CashDocumentTableDefinition().fields)
        names.append(field.name);
    return names.join(QStringLiteral(", "));
}

void ExportDocumentRows(benchmark::State &state)
{
    BenchYear year(PrepareBenchDocuments(kRows).path);
    NullProgress progress;
    int rows = 0;
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        rows = ExportDocuments(year.helpers(), year.file(QStringLiteral("export.txt")), progress).rows;
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["cpu_s"] = (CpuSeconds(RUSAGE_SELF) - cpuBefore) / double(state.iterations());
    state.counters["rows"] = rows;
}

void ExportSqliteTool(benchmark::State &state)
{
    const QString table = PrepareBenchDocuments(kRows).path;
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("sqlite3.txt"));
    const QString select =
        QStringLiteral("SELECT %1 FROM data ORDER BY %2;").arg(ColumnList(), QLatin1String(kDocumentKeyOrder));
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    for (auto _ : state) {
        QProcess tool;
        tool.setStandardOutputFile(output);
        QElapsedTimer timer;
        timer.start();
        tool.start(QStringLiteral("sqlite3"),
                   QStringList{QStringLiteral("-separator"), QStringLiteral("\t")} + SqliteToolArguments(table) << select);
        tool.waitForFinished(-1);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (tool.exitCode() != 0)
            state.SkipWithError("sqlite3 failed");
    }
    state.counters["cpu_s"] = (CpuSeconds(RUSAGE_CHILDREN) - cpuBefore) / double(state.iterations());
}

void ImportDocumentRows(benchmark::State &state)
{
    const QString exported = ExportedFile();
    BenchYear year;
    NullProgress progress;
    double cpu = 0;
    int rows = 0;
    for (auto _ : state) {
        year.createEmpty();
        const QString path = year.file(QStringLiteral("import.txt"));
        QFile::remove(path);
        QFile::copy(exported, path);
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = CpuSeconds(RUSAGE_SELF);
        rows = ImportDocuments(year.helpers(), path, progress).import.rows;
        cpu += CpuSeconds(RUSAGE_SELF) - cpuBefore;
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["cpu_s"] = cpu / double(state.iterations());
    state.counters["rows"] = rows;
}

// The tool imports into the program's own empty document table (its indexes in the program's
// order, the collations loaded), with one more column for the empty piece after each line's last
// tab.
void ImportSqliteTool(benchmark::State &state)
{
    const QString exported = ExportedFile();
    BenchYear year;
    const QString database = year.documents();
    double cpu = 0;
    for (auto _ : state) {
        year.createEmpty();
        QProcess create;
        create.start(QStringLiteral("sqlite3"), SqliteToolArguments(database) << QStringLiteral("ALTER TABLE data ADD COLUMN extra;"));
        create.waitForFinished(-1);
        QProcess tool;
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
        tool.start(QStringLiteral("sqlite3"), QStringList{QStringLiteral("-cmd"), QStringLiteral(".mode tabs")}
                                                  + SqliteToolArguments(database)
                                                  << QStringLiteral(".import --skip 1 %1 data").arg(exported));
        tool.waitForFinished(-1);
        cpu += CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (tool.exitCode() != 0)
            state.SkipWithError("sqlite3 failed");
    }
    state.counters["cpu_s"] = cpu / double(state.iterations());
}

} // namespace

BENCHMARK(ExportDocumentRows)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ExportSqliteTool)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ImportDocumentRows)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ImportSqliteTool)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
