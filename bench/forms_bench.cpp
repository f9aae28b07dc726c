#include "base/clock.h"
#include "base/global_state.h"
#include "base/process_environment.h"
#include "base/prompt.h"
#include "ledger/cash_ledger.h"
#include "print/cash_report_printout.h"
#include "print/forms/form_painter.h"
#include "store/data_tree_initializer.h"
#include "store/session.h"
#include "store/table.h"
#include "store/data_module.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

// The cash report of a month laid out and written as PDF, for 500 and for 5 000 documents:
// first with the documents held in memory (the form's own cost), then the whole printout of a
// report read through the data module's views. "pages" is the number of pages and "per_page"
// the time of one page (wall clock).

namespace {

void EnsureGuiApplication()
{
    static int argc = 1;
    static char name[] = "kasa-bench";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication app(argc, argv);  // the listings show windows as well
    }
}

RecordList MonthOfDocuments(int count)
{
    RecordList rows;
    for (int i = 1; i <= count; ++i) {
        const bool receipt = i % 3 != 0;
        const Money amount = Money::fromCents(1000 + (i * 7919) % 250000);
        rows.append({{"POZ", i},
                     {"DATA", QStringLiteral("2019.03.%1").arg(1 + i % 28, 2, 10, QLatin1Char('0'))},
                     {"DOWOD", QStringLiteral("%1 %2/03/2019").arg(receipt ? "KP" : "KW").arg(i)},
                     {"ONAZ1", QStringLiteral("Przedsiębiorstwo Usługowe Łączność nr %1").arg(i % 97)},
                     {"TYT1", QStringLiteral("Zapłata za fakturę %1/2019 — usługi źródłowe").arg(i)},
                     {"KONTO", QStringLiteral("%1").arg(100 + i % 40)},
                     {receipt ? "WPRZY" : "WROZ", QVariant::fromValue(amount)}});
    }
    return rows;
}

void BM_CashReportPdf(benchmark::State &state)
{
    EnsureGuiApplication();
    const int documents = int(state.range(0));
    RecordList rows = MonthOfDocuments(documents);
    RecordList report({{{"NUMER", 3}, {"OZNACZENIE", "03/2019"}, {"DATAOD", "2019.03.01"}, {"DATADO", "2019.03.31"},
                        {"BOWARTOSC", QVariant::fromValue(Money::fromCents(100000))},
                        {"BZWARTOSC", QVariant::fromValue(Money::fromCents(200000))}}});
    RecordList desk({{{"SYMBOL", "A1"}, {"NAZWA", QStringLiteral("Kasa główna")}}});
    RecordList company({{{"NAZWA1", QStringLiteral("Zakład Usług Różnych")}, {"ULICA", "Polna"}, {"NUMER", "1"}}});
    std::unique_ptr<ReportForm> form = CreateCashReportForm(report, desk, company);
    form->dataSet = &rows;
    SetCashReportMode(*form, QString());
    SetCashReportOptions(*form, true, true, QStringLiteral("Zakład Usług Różnych"), QStringLiteral("2019.03.31"));
    QTemporaryDir dir;
    const QString path = dir.filePath("raport.pdf");
    qint64 pages = 0;
    for (auto _ : state) {
        const FormLayout layout = LayOutForm(*form);
        if (!WriteLayoutPdf(layout, path, QStringLiteral("raport"))) {
            state.SkipWithError("PDF not written");
            break;
        }
        pages = layout.pages.size();
    }
    state.counters["pages"] = double(pages);
    state.counters["per_page"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_CashReportPdf)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- The whole printout: a report of the demo tree grown to the given number of documents, read
// through the data module's views, laid out and written as PDF.

namespace {

class SilentPrompt final : public Prompt {
public:
    PromptButton show(PromptIcon, const QString &, PromptButtons, const QString &) override { return Ok; }
    void beep() override {}
};

// Writes each form it is given to one PDF file.
class PdfOutput final : public FormOutput {
public:
    explicit PdfOutput(QString path) : path_(std::move(path)) {}
    void preview(ReportForm &form) override { print(form); }
    void print(ReportForm &form) override
    {
        const FormLayout layout = LayOutForm(form);
        pages = layout.pages.size();
        ok = WriteLayoutPdf(layout, path_, form.name);
    }
    qsizetype pages = 0;
    bool ok = false;

private:
    QString path_;
};

// A demo tree whose open report of the first desk holds the given number of documents.
class GrownReport {
public:
    explicit GrownReport(int documents)
    {
        const FixedClock clock(QDate(2019, 3, 31), QTime(12, 0));
        const QString root = dir_.filePath("dane");
        QString log;
        QTextStream out(&log);
        QTextStream err(&log);
        if (RunDataTreeInitializer({QStringLiteral("--init"), root, QStringLiteral("--demo")}, out, err, clock) != 0) {
            out.flush();
            qWarning("%s", qPrintable(log));
            return;
        }
        const QString year = QDir(root).filePath("2019/KASA/");
        Table reports(session_);
        reports.setTableName(year + "RKASA.DB");
        reports.open();
        QString desk;
        int report = 0;
        for (reports.first(); !reports.eof(); reports.next()) {
            if (desk.isEmpty())
                desk = reports.asString("SYMBOL");
            if (reports.asString("SYMBOL") == desk)
                report = std::max(report, reports.asInteger("NUMER"));
        }
        reports.close();
        Table headers(session_);
        headers.setTableName(year + "NAGKASA.DB");
        headers.open();
        TransactionScope scope;
        for (int i = 1; i <= documents; ++i) {
            const bool receipt = i % 3 != 0;
            headers.append();
            headers.setString("SYMBOL", desk);
            headers.setInteger("NUMER", report);
            headers.setString("RD", receipt ? "KP" : "KW");
            headers.setString("ROK", "2019");
            headers.setInteger("NRD", 10000 + i);
            headers.setInteger("POZ", 1000 + i);
            headers.setBoolean("GLOWKA", true);
            headers.setString("DATA", QStringLiteral("2019.03.%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')));
            const Money amount = Money::fromCents(1000 + (i * 7919) % 250000);
            headers.setMoney("KWOTA", amount);
            headers.setMoney("KWOTAP", amount);
            headers.setString("ONAZ1", QStringLiteral("Przedsiębiorstwo Usługowe Łączność nr %1").arg(i % 97));
            headers.setString("TYT1", QStringLiteral("Zapłata za fakturę %1/2019").arg(i));
            headers.setString("KONTO", QStringLiteral("%1").arg(100 + i % 40));
            headers.post();
        }
        scope.commit();
        headers.close();

        state_.TodayText = QStringLiteral("2019.03.31");
        state_.CurrentYear = QStringLiteral("2019");
        state_.CurrentMonth = QStringLiteral("03");
        ProcessEnvironment environment;
        environment.workingFolder = root + QDir::separator();
        environment.programFolder = environment.workingFolder;
        session_.setWorkingFolder(environment.workingFolder);
        // The program runs in its working folder; files it writes beside its tables land there.
        QDir::setCurrent(root);
        data_ = std::make_unique<TDANE>(DataModuleContext{session_, prompt_, state_, environment});
        data_->runOpenSequence();
        TDANE &d = *data_;
        ledger_ = std::make_unique<CashLedger>(
            LedgerTables{d.TPARA, d.TKASA, d.TRKASA, d.TNAG, d.TPOZ, d.KNAG, d.TSLO, d.TKONTA, d.TWALUTA}, prompt_, state_,
            clock_);
        d.TKASA.first();
        d.TRKASA.last();
        output_ = std::make_unique<PdfOutput>(dir_.filePath("raport.pdf"));
        printout_ = std::make_unique<CashReportPrintout>(
            CashReportTables{d.TNAG, d.TRKASA, d.TKASA, d.TFIRMA, d.TPARA, d.TRAZEM}, *output_, prompt_,
            [] { return QStringLiteral("2019.03.31"); });
        documents_ = d.TNAG.recordCount();
    }

    ~GrownReport()
    {
        printout_.reset();
        ledger_.reset();
        data_.reset();
    }

    bool ready() const { return printout_ != nullptr; }
    int documents() const { return documents_; }
    qsizetype print()
    {
        printout_->printReport();
        return output_->ok ? output_->pages : 0;
    }

private:
    QTemporaryDir dir_;
    Session session_;
    SilentPrompt prompt_;
    GlobalState state_;
    FixedClock clock_{QDate(2019, 3, 31), QTime(12, 0)};
    std::unique_ptr<TDANE> data_;
    std::unique_ptr<CashLedger> ledger_;
    std::unique_ptr<PdfOutput> output_;
    std::unique_ptr<CashReportPrintout> printout_;
    int documents_ = 0;
};

void BM_CashReportFromTables(benchmark::State &state)
{
    EnsureGuiApplication();
    static std::map<int, std::unique_ptr<GrownReport>> reports;
    std::unique_ptr<GrownReport> &report = reports[int(state.range(0))];
    if (!report)
        report = std::make_unique<GrownReport>(int(state.range(0)));
    if (!report->ready()) {
        state.SkipWithError("demo tree not made");
        return;
    }
    qsizetype pages = 0;
    for (auto _ : state) {
        pages = report->print();
        if (pages == 0) {
            state.SkipWithError("PDF not written");
            break;
        }
    }
    state.counters["documents"] = report->documents();
    state.counters["pages"] = double(pages);
    state.counters["per_page"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_CashReportFromTables)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
