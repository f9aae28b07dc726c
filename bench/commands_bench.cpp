#include "program_run.h"
#include "store_bench_data.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

// The commands as an office runs them: "kasa export", "kasa import" and "kasa listing" as
// processes of their own on a year of 200 000 document rows, start-up and all, to hold beside the
// sqlite3 tool's cases (ExportSqliteTool, ImportSqliteTool, AmountRangeSqliteTool/1), which run
// as processes on the same table file too. Wall time per run; "cpu_s" is the command's processor
// time and "peak_mb" its resident peak, each measured in the command's own process.

namespace {

constexpr int kRows = 200000;

// An installation made by "kasa --init" for 2019, its documents the benchmark's table.
class CommandTree {
public:
    CommandTree()
    {
        QProcess init;
        init.setStandardOutputFile(QProcess::nullDevice());
        init.start(QStringLiteral(KASA_PROGRAM_PATH),
                   {QStringLiteral("--init"), working(), QStringLiteral("--year"), QStringLiteral("2019")});
        init.waitForFinished(-1);
        QFile::copy(dir_.filePath(QStringLiteral("kasa/2019/KASA/NAGKASA.DB")), emptyDocuments());
        restoreDocuments();
    }
    QString working() const { return dir_.filePath(QStringLiteral("kasa")); }
    QString documents() const { return dir_.filePath(QStringLiteral("kasa/2019/KASA/NAGKASA.DB")); }
    QString emptyDocuments() const { return dir_.filePath(QStringLiteral("empty.DB")); }
    QString file(const QString &name) const { return dir_.filePath(name); }
    void restoreDocuments() const
    {
        QFile::remove(documents());
        QFile::copy(PrepareBenchDocuments(kRows).path, documents());
    }
    void emptyTheDocuments() const
    {
        QFile::remove(documents());
        QFile::copy(emptyDocuments(), documents());
    }

private:
    QTemporaryDir dir_;
};

using CommandRun = ProgramRun;

CommandRun RunCommand(const CommandTree &tree, const QStringList &arguments)
{
    return RunProgram(tree.working(), arguments, tree.file(QStringLiteral("peak.txt")));
}

void Report(benchmark::State &state, const QList<CommandRun> &runs)
{
    double cpu = 0, peak = 0;
    for (const CommandRun &run : runs) {
        cpu += run.cpuSeconds;
        peak = std::max(peak, run.peakMb);
    }
    state.counters["cpu_s"] = runs.isEmpty() ? 0 : cpu / double(runs.size());
    state.counters["peak_mb"] = peak;
}

void ExportCommand(benchmark::State &state)
{
    CommandTree tree;
    const QString output = tree.file(QStringLiteral("eksport.txt"));
    QList<CommandRun> runs;
    for (auto _ : state) {
        const CommandRun run = RunCommand(tree, {QStringLiteral("export"), QStringLiteral("documents"), output,
                                                 QStringLiteral("--year"), QStringLiteral("2019")});
        state.SetIterationTime(run.seconds);
        if (!run.succeeded)
            state.SkipWithError("kasa export failed");
        runs.append(run);
    }
    Report(state, runs);
}

void ImportCommand(benchmark::State &state)
{
    CommandTree tree;
    const QString exported = tree.file(QStringLiteral("eksport.txt"));
    RunCommand(tree, {QStringLiteral("export"), QStringLiteral("documents"), exported, QStringLiteral("--year"),
                      QStringLiteral("2019")});
    QList<CommandRun> runs;
    for (auto _ : state) {
        tree.emptyTheDocuments();
        const QString input = tree.file(QStringLiteral("import.txt"));
        QFile::remove(input);
        QFile::copy(exported, input);
        const CommandRun run = RunCommand(tree, {QStringLiteral("import"), QStringLiteral("documents"), input,
                                                 QStringLiteral("--year"), QStringLiteral("2019")});
        state.SetIterationTime(run.seconds);
        if (!run.succeeded)
            state.SkipWithError("kasa import failed");
        runs.append(run);
    }
    Report(state, runs);
}

// Every row of the year, as AmountRangeSqliteTool/1 selects them: /0 to a text file, /1 to a
// workbook, /2 to CSV (a spreadsheet should cost at most three times the text file).
void AmountRangeCommand(benchmark::State &state)
{
    static const char *const kOutputs[][2] = {{"--out", "wykaz.txt"}, {"--xlsx", "wykaz.xlsx"}, {"--csv", "wykaz.csv"}};
    const auto &[option, name] = kOutputs[state.range(0)];
    CommandTree tree;
    const QString output = tree.file(QString::fromLatin1(name));
    QList<CommandRun> runs;
    for (auto _ : state) {
        const CommandRun run = RunCommand(tree, {QStringLiteral("listing"), QStringLiteral("amount-range"),
                                                 QStringLiteral("--min"), QStringLiteral("0"), QStringLiteral("--max"),
                                                 QStringLiteral("500"), QString::fromLatin1(option), output,
                                                 QStringLiteral("--year"), QStringLiteral("2019")});
        state.SetIterationTime(run.seconds);
        if (!run.succeeded)
            state.SkipWithError("kasa listing failed");
        runs.append(run);
    }
    Report(state, runs);
}

} // namespace

BENCHMARK(ExportCommand)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ImportCommand)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangeCommand)->DenseRange(0, 2)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
