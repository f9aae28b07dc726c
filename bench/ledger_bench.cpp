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
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

// The cash ledger on a year of 2 000 and of 200 000 document rows: creating a KP with three
// lines (numbering, totals, cash state on the status bar) must not grow with the year. Closing a
// report of 5 000 documents and the cash state of such a report are measured as well.
//
// The years hold the number of rows named, all told: desk K1 with reports of 50 documents (a
// header and a line each, every kind), all closed but the last; in the large year desk K9 has one
// open report of 5 000 documents (10 000 rows), in the small one its open report is empty. Built
// once under the system's temporary folder and copied for every run.

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

// A copy of the year, the data module's table objects on it and the ledger with a status bar.
class LedgerYear {
public:
    explicit LedgerYear(int rows)
    {
        CopyFolder(PrepareYear(rows), dir_.path());
        session_.setWorkingFolder(dir_.path());
        state_.TodayText = QStringLiteral("2019.03.15");
        state_.CurrentYear = QStringLiteral("2019");
        state_.CurrentMonth = QStringLiteral("03");
        state_.OperatorName = QStringLiteral("Jan Kowalski");
        for (const QString &name : kObjects) {
            const TableObjectEntry &entry = *FindTableObject(name);
            auto object = std::make_unique<Table>(session_, name);
            object->setTableName(QDir(dir_.path()).filePath(RelativePath(entry)));
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
    ~LedgerYear()
    {
        ledger_.reset();
        for (auto &[name, object] : objects_)
            object->close();
    }

    Table &T(const char *name) { return *objects_.at(QString::fromLatin1(name)); }
    CashLedger &ledger() { return *ledger_; }
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
    LedgerYear year(int(state.range(0)));
    year.selectDesk("K1");
    year.createKpWithThreeLines(); // the first one builds the numbering view's index
    for (auto _ : state)
        year.createKpWithThreeLines();
    state.counters["documents"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(CreateKpWithThreeLines)->Arg(2000)->Arg(200000)->Iterations(300)->Unit(benchmark::kMillisecond);

void CloseReportOf5000Documents(benchmark::State &state)
{
    LedgerYear year(int(state.range(0)));
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
    LedgerYear year(int(state.range(0)));
    year.selectDesk("K9");
    for (auto _ : state)
        benchmark::DoNotOptimize(year.ledger().cashState().StanKasa());
}
BENCHMARK(CashStateOfAnOpenReportOf5000Documents)->Arg(200000)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
