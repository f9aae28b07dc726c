#include "posting_program.h"
#include "server_bench_data.h"
#include "store_bench_data.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/cash_ledger.h"
#include "ledger/ledger_view.h"
#include "store/helper_indexes.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <sys/resource.h>

// The cash ledger on a year of 2 000 and of 200 000 document rows: creating a KP with three
// lines (numbering, totals, cash state on the status bar) must not grow with the year. Closing a
// report of 5 000 documents and the cash state of such a report are measured as well.
//
// The years hold the number of rows named, all told: desk K1 with reports of 50 documents (a
// header and a line each, every kind), all closed but the last; in the large year desk K9 has one
// open report of 5 000 documents (10 000 rows), in the small one its open report is empty. Built
// once under the system's temporary folder and copied for every run; on the server (the second
// argument 1) copied into the benchmarks' emptied database.

namespace {

const QStringList kObjects{"TPARA", "TKASA", "TRKASA", "TNAG", "TPOZ", "KNAG", "TSLO", "TKONTA", "TWALUTA"};
const QStringList kKinds{"KP", "KW", "KPD", "KWD", "WZ", "RZ"};
constexpr int kDocumentsPerReport = 50;
constexpr int kBigReport = 5000;

QString RelativePath(const TableObjectEntry &entry)
{
    QString folder = entry.location.base == TableBase::YearFolder ? QStringLiteral("2019/") : QString();
    if (!entry.location.folder.isEmpty())
        folder += entry.location.folder + QLatin1Char('/');
    return folder + entry.location.fileName;
}

class AnswerYes : public Prompt {
public:
    PromptButton show(PromptIcon, const QString &, PromptButtons buttons, const QString &) override
    {
        return (buttons & Yes) ? Yes : Ok;
    }
    void beep() override {}
};

class StatusBar : public LedgerView {
public:
    void showCashState(const QString &text) override { shown = text; }
    QString shown;
};

void AddDocuments(Table &rows, const QString &desk, int report, int documents, QHash<QString, int> &numbers)
{
    for (int place = 1; place <= documents; ++place) {
        const QString kind = kKinds[place % kKinds.size()];
        const int number = ++numbers[kind];
        for (int line = 0; line < 2; ++line) {
            rows.append();
            rows.setString(QStringLiteral("SYMBOL"), desk);
            rows.setInteger(QStringLiteral("NUMER"), report);
            rows.setString(QStringLiteral("RD"), kind);
            rows.setString(QStringLiteral("ROK"), QStringLiteral("2019"));
            rows.setInteger(QStringLiteral("NRD"), number);
            rows.setBoolean(QStringLiteral("GLOWKA"), line == 0);
            if (line == 0) {
                rows.setInteger(QStringLiteral("POZ"), place);
                rows.setString(QStringLiteral("DATA"), QStringLiteral("2019.03.15"));
                rows.setMoney(QStringLiteral("KWOTA"), Money::fromCents(100 + place));
                rows.setString(QStringLiteral("OKOD"), place % 2 ? QStringLiteral("+") : QStringLiteral("-"));
            }
            rows.setMoney(QStringLiteral("KWOTAP"), Money::fromCents(100 + place));
            rows.post();
        }
    }
}

void AddReport(Table &reports, const QString &desk, int number, bool closed)
{
    reports.append();
    reports.setString(QStringLiteral("SYMBOL"), desk);
    reports.setInteger(QStringLiteral("NUMER"), number);
    reports.setString(QStringLiteral("DATAOD"), QStringLiteral("2019.03.01"));
    reports.setMoney(QStringLiteral("BOWARTOSC"), Money::fromCents(100000));
    reports.setBoolean(QStringLiteral("ZAMKNIETY"), closed);
    reports.post();
}

// The template folder of a year with about this many document rows.
QString PrepareYear(int rows)
{
    const QString folder = QDir::temp().filePath(QStringLiteral("kasa-ledger-bench/all-%1").arg(rows));
    if (QFile::exists(folder + QStringLiteral("/ready")))
        return folder;
    QDir(folder).removeRecursively();
    Session session;
    QSet<QString> created;
    for (const QString &name : kObjects) {
        const TableObjectEntry &entry = *FindTableObject(name);
        const QString path = QDir(folder).filePath(RelativePath(entry));
        QDir().mkpath(QFileInfo(path).path());
        if (!created.contains(path)) {
            Table file(session);
            file.setTableName(path);
            file.create(entry.definition());
            created.insert(path);
        }
    }
    Table desks(session), reports(session), documents(session);
    desks.setTableName(QDir(folder).filePath(QStringLiteral("2019/KASA/KASA.DB")));
    reports.setTableName(QDir(folder).filePath(QStringLiteral("2019/KASA/RKASA.DB")));
    documents.setTableName(QDir(folder).filePath(QStringLiteral("2019/KASA/NAGKASA.DB")));
    desks.open();
    reports.open();
    documents.open();
    TransactionScope scope;
    for (const char *desk : {"K1", "K9"}) {
        desks.append();
        desks.setString(QStringLiteral("SYMBOL"), QString::fromLatin1(desk));
        desks.post();
    }
    const int bigReport = rows >= 20 * kBigReport ? kBigReport : 0;
    const int reportCount = std::max(1, (rows - 2 * bigReport) / (2 * kDocumentsPerReport));
    QHash<QString, int> numbers;
    for (int report = 1; report <= reportCount; ++report) {
        AddReport(reports, QStringLiteral("K1"), report, report < reportCount);
        AddDocuments(documents, QStringLiteral("K1"), report, kDocumentsPerReport, numbers);
    }
    QHash<QString, int> bigNumbers;
    AddReport(reports, QStringLiteral("K9"), 1, false);
    AddDocuments(documents, QStringLiteral("K9"), 1, bigReport, bigNumbers);
    scope.commit();
    // Written in bulk, as an import or a conversion leaves a year: with the engine's helper indexes.
    documents.close();
    BuildProgramHelperIndexes(session, documents.tableName());
    QFile ready(folder + QStringLiteral("/ready"));
    ready.open(QIODevice::WriteOnly);
    return folder;
}

void CopyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo &entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir())
            CopyFolder(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

// Where a year of about this many rows lies for a run: a copy of the template folder, or the
// benchmarks' database on the server with the template's tables copied in.
QString YearRoot(int rows, bool onServer, const QTemporaryDir &dir)
{
    const QString folder = PrepareYear(rows);
    if (!onServer) {
        CopyFolder(folder, dir.path());
        return dir.path() + QLatin1Char('/');
    }
    EmptyBenchServer();
    const QString root = BenchServerRoot();
    Session session;
    QSet<QString> copied;
    for (const QString &name : kObjects) {
        const QString relative = RelativePath(*FindTableObject(name));
        if (!copied.contains(relative))
            CopyTableToServer(session, QDir(folder).filePath(relative), root + relative);
        copied.insert(relative);
    }
    BuildProgramHelperIndexes(session, root + QStringLiteral("2019/KASA/NAGKASA.DB"));
    return root;
}

// The data module's table objects on a year and the ledger with a status bar.
class LedgerYear {
public:
    // A year of its own, on files or on the server.
    LedgerYear(int rows, bool onServer) { open(YearRoot(rows, onServer, dir_)); }
    // The year another program made (the posting programs).
    explicit LedgerYear(const QString &root) { open(root); }
    ~LedgerYear()
    {
        ledger_.reset();
        for (auto &[name, object] : objects_)
            object->close();
    }

    Table &T(const char *name) { return *objects_.at(QString::fromLatin1(name)); }
    CashLedger &ledger() { return *ledger_; }
    // Every row of the year's document table, whatever desk or report is current.
    int documentRows()
    {
        Table documents(session_);
        documents.setTableName(T("TNAG").tableName());
        documents.open();
        return documents.recordCount();
    }
    void selectDesk(const char *desk) { T("TKASA").findKey({QString::fromLatin1(desk)}); }

    void createKpWithThreeLines()
    {
        DocumentCommands &documents = ledger_->documents();
        documents.createHeader(QStringLiteral("KP"));
        documents.postHeader();
        Table &lines = T("TPOZ");
        lines.first();
        lines.edit();
        lines.setMoney(QStringLiteral("KWOTAP"), Money::fromCents(1000));
        lines.post();
        for (int cents : {2000, 3000}) {
            lines.append();
            lines.setBoolean(QStringLiteral("GLOWKA"), false);
            lines.setMoney(QStringLiteral("KWOTAP"), Money::fromCents(cents));
            lines.post();
        }
    }

private:
    void open(const QString &root)
    {
        session_.setWorkingFolder(dir_.path());
        state_.TodayText = QStringLiteral("2019.03.15");
        state_.CurrentYear = QStringLiteral("2019");
        state_.CurrentMonth = QStringLiteral("03");
        state_.OperatorName = QStringLiteral("Jan Kowalski");
        for (const QString &name : kObjects) {
            const TableObjectEntry &entry = *FindTableObject(name);
            auto object = std::make_unique<Table>(session_, name);
            object->setTableName(root + RelativePath(entry));
            object->setIndexName(entry.indexName);
            for (const CalculatedFieldDef &field : entry.calculatedFields)
                object->addCalculatedField({field.name, field.type, field.size, false});
            objects_[name] = std::move(object);
        }
        for (const QString &name : kObjects) {
            const TableObjectEntry &entry = *FindTableObject(name);
            if (!entry.master.isEmpty())
                objects_.at(name)->setMasterSource(objects_.at(entry.master).get(), entry.linkFields, entry.linkFields);
        }
        for (const QString &name : kObjects)
            objects_.at(name)->open();
        ledger_ = std::make_unique<CashLedger>(
            LedgerTables{T("TPARA"), T("TKASA"), T("TRKASA"), T("TNAG"), T("TPOZ"), T("KNAG"), T("TSLO"), T("TKONTA"), T("TWALUTA")},
            prompt_, state_, clock_);
        ledger_->setView(&statusBar_);
    }

    QTemporaryDir dir_;
    Session session_;
    AnswerYes prompt_;
    GlobalState state_;
    FixedClock clock_{QDate(2019, 3, 15)};
    StatusBar statusBar_;
    std::map<QString, std::unique_ptr<Table>> objects_;
    std::unique_ptr<CashLedger> ledger_;
};

void CreateKpWithThreeLines(benchmark::State &state)
{
    LedgerYear year(int(state.range(0)), state.range(1) != 0);
    year.selectDesk("K1");
    year.createKpWithThreeLines(); // the first one builds the numbering view's index
    for (auto _ : state)
        year.createKpWithThreeLines();
    state.counters["documents"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(CreateKpWithThreeLines)
    ->Args({2000, 0})
    ->Args({200000, 0})
    ->Args({2000, 1})
    ->Args({200000, 1})
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

void CloseReportOf5000Documents(benchmark::State &state)
{
    LedgerYear year(int(state.range(0)), false);
    year.selectDesk("K9");
    for (auto _ : state) {
        year.ledger().reports().closeReport();
        state.PauseTiming();
        year.ledger().reports().openReport();
        state.ResumeTiming();
    }
}
BENCHMARK(CloseReportOf5000Documents)->Arg(200000)->Iterations(20)->Unit(benchmark::kMillisecond);

void CashStateOfAnOpenReportOf5000Documents(benchmark::State &state)
{
    LedgerYear year(int(state.range(0)), false);
    year.selectDesk("K9");
    for (auto _ : state)
        benchmark::DoNotOptimize(year.ledger().cashState().StanKasa());
}
BENCHMARK(CashStateOfAnOpenReportOf5000Documents)->Arg(200000)->Iterations(20)->Unit(benchmark::kMillisecond);

constexpr int kDocumentsPerProgram = 1000;

// One program alone, or three at once, each a process of its own posting 1 000 KP with three
// lines into the open report of desk K1 of a small year: the documents of all of them per second
// of wall time, the programs' processor time, and the rows found added afterwards.
void PostingPrograms(benchmark::State &state)
{
    const int programs = int(state.range(0));
    const bool onServer = state.range(1) != 0;
    double childCpu = 0;
    int added = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString root = YearRoot(2000, onServer, dir);
        const int before = LedgerYear(root).documentRows();
        const double cpuBefore = ChildrenCpuSeconds();
        QElapsedTimer timer;
        timer.start();
        std::vector<std::unique_ptr<QProcess>> running;
        for (int p = 0; p < programs; ++p) {
            running.push_back(std::make_unique<QProcess>());
            running.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            running.back()->start(QStringLiteral("/proc/self/exe"),
                                  {QString::fromLatin1(kPostingProgramOption), root, QString::number(kDocumentsPerProgram)});
        }
        bool failed = false;
        for (auto &program : running) {
            program->waitForFinished(-1);
            failed = failed || program->exitStatus() != QProcess::NormalExit || program->exitCode() != 0;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        childCpu += ChildrenCpuSeconds() - cpuBefore;
        added = LedgerYear(root).documentRows() - before;
        if (failed)
            state.SkipWithError("a posting program failed");
    }
    state.counters["documents_per_s"] =
        benchmark::Counter(double(programs * kDocumentsPerProgram) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["programs_cpu_s"] = benchmark::Counter(childCpu, benchmark::Counter::kAvgIterations);
    state.counters["rows_added"] = double(added);
}
BENCHMARK(PostingPrograms)
    ->Args({1, 0})
    ->Args({3, 0})
    ->Args({1, 1})
    ->Args({3, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace

int RunPostingProgram(const QString &root, int documents)
{
    LedgerYear year(root);
    year.selectDesk("K1");
    for (int i = 0; i < documents; ++i)
        year.createKpWithThreeLines();
    return 0;
}
