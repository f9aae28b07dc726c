#include "own_process.h"
#include "server_bench_data.h"
#include "store_bench_data.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "base/progress.h"
#include "base/prompt.h"
#include "ledger/cash_ledger.h"
#include "ledger/small_dialogs.h"
#include "print/amount_range_listing.h"
#include "print/forms/qt_system_printer.h"
#include "print/listing_context.h"
#include "print/print_sink.h"
#include "print/save_file_dialog.h"
#include "print/system_printer_port.h"
#include "print/text_print_module.h"
#include "print/ui/money_pictures_window.h"
#include "print/ui/preview_view.h"
#include "print/ui/print_module_window.h"
#include "store/helper_indexes.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_connection.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <sys/resource.h>
#include <memory>

// "Dokumenty z kwotą od / do" over a year of 200 000 document rows (ten desks, headers of every
// kind and their lines), written straight to a text file, beside the sqlite3 tool selecting the
// same rows in the same order into a file. Case 0 is the range 100 to no bound (the engine is
// given the bound); case 1 is no lower bound to 500, where rows without an amount count as 0,00
// and every row of the year is looked at. The same listing runs on the server too, beside psql
// selecting the rows into a file.

namespace {

constexpr int kRows = 200000;
const QStringList kObjects{"TPARA", "TKASA", "TRKASA", "TNAG", "TPOZ", "KNAG", "TSLO", "TKONTA", "TWALUTA"};

struct RangeCase {
    const char *from;
    const char *to;
    const char *where; // the same rows for the sqlite3 tool (amounts in ten-thousandths)
};
const RangeCase kCases[] = {
    {"100", "0", "KWOTA >= 1000000"},
    {"0", "500", "(KWOTA IS NULL OR KWOTA <= 5000000)"},
};

QString RelativePath(const TableObjectEntry &entry)
{
    QString folder = entry.location.base == TableBase::YearFolder ? QStringLiteral("2019/") : QString();
    if (!entry.location.folder.isEmpty())
        folder += entry.location.folder + QLatin1Char('/');
    return folder + entry.location.fileName;
}

class Silent : public Prompt {
public:
    PromptButton show(PromptIcon, const QString &, PromptButtons, const QString &) override { return Ok; }
    void beep() override {}
};

class FixedSaveFile : public SaveFileDialog {
public:
    QString path;
    std::optional<QString> askSaveFileName(const QString &, const QString &) override { return path; }
};

// A printer is installed (so the module keeps its settings) but never printed on.
class UnusedPrinter : public SystemPrinterPort {
public:
    QStringList installedPrinters() const override { return {QStringLiteral("Drukarka")}; }
    QString currentPrinter() const override { return QStringLiteral("Drukarka"); }
    void selectPrinter(const QString &) override {}
    std::unique_ptr<PrintSink> openSink(const QString &, const PrintSettings &, PageCounters &) override
    {
        return nullptr;
    }
};

// The ledger tables of a year around the benchmark's document table, the data module's table
// objects on them, the ledger's rules and a print module writing to a text file.
class ListingYear {
public:
    // To a PDF file through the system printer's text sink, as "kasa listing ... --pdf" writes it,
    // or as text lines into a file.
    // On the server the year is made once per run of the benchmarks and kept.
    explicit ListingYear(bool toPdf = false, bool onServer = false)
    {
        const BenchDocuments &documents = Documents();
        session_.setWorkingFolder(dir_.path());
        state_.TodayText = QStringLiteral("2019.03.15");
        state_.CurrentYear = QStringLiteral("2019");
        static bool serverYearMade = false;
        const bool makeYear = !onServer || !serverYearMade;
        if (onServer && !serverYearMade)
            EmptyBenchServer();
        const QString root = onServer ? BenchServerRoot() : dir_.path() + QLatin1Char('/');
        for (const QString &name : kObjects) {
            const TableObjectEntry &entry = *FindTableObject(name);
            const QString path = root + RelativePath(entry);
            if (!onServer)
                QDir().mkpath(QFileInfo(path).path());
            if (makeYear && !TableExists(path)) {
                if (name == QStringLiteral("TNAG") && onServer) {
                    CopyTableToServer(session_, documents.path, path);
                    BuildProgramHelperIndexes(session_, path);
                } else if (name == QStringLiteral("TNAG")) {
                    QFile::copy(documents.path, path);
                } else {
                    Table file(session_);
                    file.setTableName(path);
                    file.create(entry.definition());
                }
            }
            auto object = std::make_unique<Table>(session_, name);
            object->setTableName(path);
            object->setIndexName(entry.indexName);
            for (const CalculatedFieldDef &field : entry.calculatedFields)
                object->addCalculatedField({field.name, field.type, field.size, false});
            objects_[name] = std::move(object);
        }
        if (makeYear)
            addDesks(documents.desks);
        serverYearMade = serverYearMade || onServer;
        for (const QString &name : kObjects) {
            const TableObjectEntry &entry = *FindTableObject(name);
            if (!entry.master.isEmpty())
                objects_.at(name)->setMasterSource(objects_.at(entry.master).get(), entry.linkFields, entry.linkFields);
        }
        for (const QString &name : kObjects)
            objects_.at(name)->open();
        ledger_ = std::make_unique<CashLedger>(LedgerTables{T("TPARA"), T("TKASA"), T("TRKASA"), T("TNAG"), T("TPOZ"),
                                                            T("KNAG"), T("TSLO"), T("TKONTA"), T("TWALUTA")},
                                               prompt_, state_, clock_);
        saveFile_.path = output();
        SystemPrinterPort *printer = &printer_;
        if (toPdf) {
            pdfPrinter_ = std::make_unique<QtSystemPrinter>(prompt_, saveFile_);
            pdfPrinter_->printer().setOutputFormat(QPrinter::PdfFormat);
            pdfPrinter_->printer().setOutputFileName(pdfOutput());
            printer = pdfPrinter_.get();
        }
        druk_ = std::make_unique<TDRUK>(PrintModulePorts{prompt_, progress_, saveFile_, *printer,
                                                         PrintSettingsStore(dir_.filePath(QStringLiteral("druk.ini")))});
        druk_->Bufor = true; // every line straight into the file
        druk_->TypWydruku = toPdf ? drWINDOWS : drBW;
        druk_->Pl = drLATIN852;
        context_ = std::make_unique<ListingContext>(ListingContextOf(*ledger_, *druk_));
    }
    ~ListingYear()
    {
        context_.reset();
        druk_.reset();
        ledger_.reset();
        for (auto &[name, object] : objects_)
            object->close();
    }

    static const BenchDocuments &Documents()
    {
        static const BenchDocuments documents = PrepareBenchDocuments(kRows);
        return documents;
    }

    void run(const RangeCase &range)
    {
        DokumentyZKwota(*context_, AmountRangeTexts{QString::fromLatin1(range.from), QString::fromLatin1(range.to)});
    }
    QString output() const { return dir_.filePath(QStringLiteral("listing.txt")); }
    QString pdfOutput() const { return dir_.filePath(QStringLiteral("listing.pdf")); }
    TDRUK &druk() { return *druk_; }
    CashLedger &ledger() { return *ledger_; }
    const GlobalState &state() const { return state_; }

private:
    Table &T(const char *name) { return *objects_.at(QString::fromLatin1(name)); }

    void addDesks(int desks)
    {
        Table &deskTable = T("TKASA");
        Table &reports = T("TRKASA");
        deskTable.open();
        reports.open();
        TransactionScope scope;
        for (int desk = 1; desk <= desks; ++desk) {
            deskTable.append();
            deskTable.setString(QStringLiteral("SYMBOL"), BenchDeskSymbol(desk));
            deskTable.post();
            reports.append();
            reports.setString(QStringLiteral("SYMBOL"), BenchDeskSymbol(desk));
            reports.setInteger(QStringLiteral("NUMER"), 1);
            reports.post();
        }
        scope.commit();
        deskTable.close();
        reports.close();
    }

    QTemporaryDir dir_;
    Session session_;
    Silent prompt_;
    GlobalState state_;
    FixedClock clock_{QDate(2019, 3, 15)};
    NullProgress progress_;
    FixedSaveFile saveFile_;
    UnusedPrinter printer_;
    std::unique_ptr<QtSystemPrinter> pdfPrinter_;
    std::map<QString, std::unique_ptr<Table>> objects_;
    std::unique_ptr<CashLedger> ledger_;
    std::unique_ptr<TDRUK> druk_;
    std::unique_ptr<ListingContext> context_;
};

// A figure of this process's memory from the system, in megabytes: "VmRSS:" (resident now) or
// "VmHWM:" (the resident peak).
double MemoryFigure(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Starts the resident peak again from the present figure.
void ResetMemoryPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

qint64 LinesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.readAll().count('\n');
}

void AmountRangeListing(benchmark::State &state)
{
    const RangeCase &range = kCases[state.range(0)];
    ListingYear year;
    year.run(range); // the first run reads the file into the system's cache
    for (auto _ : state)
        year.run(range);
    state.counters["lines"] = double(LinesOf(year.output()));
}

// The whole year listed into the preview buffer, as a user's listing goes before the preview
// shows it: the resident memory before the listing, the peak during it and what stays while the
// lines are kept, and what stays after they are released (megabytes above the figure before).
void AmountRangeListingMemory(benchmark::State &state)
{
    if (RunInOwnProcess(state, "AmountRangeListingMemory"))
        return;
    const RangeCase &range = kCases[state.range(0)];
    ListingYear year;
    year.druk().Bufor = false;
    year.run(range); // warm: the file in the system's cache, the engine's pages read once
    year.druk().releasePreview();
    double before = 0, peak = 0, kept = 0, released = 0;
    for (auto _ : state) {
        before = MemoryFigure("VmRSS:");
        ResetMemoryPeak();
        year.run(range);
        peak = MemoryFigure("VmHWM:");
        kept = MemoryFigure("VmRSS:");
        year.druk().releasePreview();
        released = MemoryFigure("VmRSS:");
    }
    state.counters["rss_before_mb"] = before;
    state.counters["peak_gain_mb"] = peak - before;
    state.counters["kept_gain_mb"] = kept - before;
    state.counters["released_gain_mb"] = released - before;
}

// The program's windows need a widget application; the benchmarks run it on the offscreen
// platform unless another one is asked for.
bool EnsureWidgetApplication()
{
    static int argc = 1;
    static char name[] = "kasa-bench";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication app(argc, argv);
    }
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

// As above, with the preview window "Moduł wydruku" shown at the end of the listing as the
// program shows it, its rows painted, scrolled to the middle and the end and painted again:
// the resident memory before, the peak while the listing runs and the window shows it, what
// stays while the window is open, and after it is closed and the lines are released; for the
// process's first listing and for the later ones (which find the memory the first gave back).
void AmountRangeListingPreviewMemory(benchmark::State &state)
{
    if (RunInOwnProcess(state, "AmountRangeListingPreviewMemory"))
        return;
    if (!EnsureWidgetApplication()) {
        state.SkipWithError("no widget application");
        return;
    }
    const RangeCase &range = kCases[state.range(0)];
    ListingYear year;
    year.druk().Bufor = false;
    TDRUKF window(year.druk());
    year.druk().setPreviewHandler([&window] { window.showPreview(); });
    const auto paint = [&window] {
        QScrollBar *rows = window.Preview->verticalScrollBar();
        for (const int at : {0, rows->maximum() / 2, rows->maximum()}) {
            rows->setValue(at);
            window.Preview->viewport()->repaint();
        }
        QCoreApplication::processEvents();
    };
    // The first listing of the process, as a user's first one after the start: the engine's
    // pages are read and the window is painted for the first time.
    const double cold = MemoryFigure("VmRSS:");
    ResetMemoryPeak();
    year.run(range);
    paint();
    state.counters["first_peak_gain_mb"] = MemoryFigure("VmHWM:") - cold;
    state.counters["first_shown_gain_mb"] = MemoryFigure("VmRSS:") - cold;
    state.counters["rss_start_mb"] = cold;
    window.close();
    year.druk().releasePreview();
    QCoreApplication::processEvents();
    double before = 0, peak = 0, shown = 0, closed = 0;
    qint64 rows = 0;
    for (auto _ : state) {
        before = MemoryFigure("VmRSS:");
        ResetMemoryPeak();
        year.run(range);
        paint();
        rows = year.druk().preview().lineCount();
        peak = MemoryFigure("VmHWM:");
        shown = MemoryFigure("VmRSS:");
        window.close();
        year.druk().releasePreview();
        QCoreApplication::processEvents();
        closed = MemoryFigure("VmRSS:");
    }
    state.counters["rss_before_mb"] = before;
    state.counters["peak_gain_mb"] = peak - before;
    state.counters["shown_gain_mb"] = shown - before;
    state.counters["closed_gain_mb"] = closed - before;
    state.counters["rows"] = double(rows);
}

// The pages of a PDF file the program wrote.
qint64 PagesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    return pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/");
}

// The amount-range listing of case 1 (every row of the year) written as PDF: the time per page,
// to hold beside the cash report form's per page (BM_CashReportPdf), and the resident peak while
// the listing runs, above the figure before it.
void AmountRangeListingPdf(benchmark::State &state)
{
    if (RunInOwnProcess(state, "AmountRangeListingPdf"))
        return;
    if (!EnsureWidgetApplication()) {
        state.SkipWithError("no widget application");
        return;
    }
    const RangeCase &range = kCases[state.range(0)];
    ListingYear year(true);
    double before = 0, peak = 0;
    for (auto _ : state) {
        before = MemoryFigure("VmRSS:");
        ResetMemoryPeak();
        year.run(range);
        peak = MemoryFigure("VmHWM:");
    }
    const qint64 pages = PagesOf(year.pdfOutput());
    state.counters["pages"] = double(pages);
    state.counters["per_page"] =
        benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["rss_before_mb"] = before;
    state.counters["peak_mb"] = peak;
}

// "Wykresy" opened on a desk of the 200 000-row year (about 20 000 rows a desk): the window made
// and its first picture drawn, then each of the three pictures drawn as the user chooses it.
void MoneyPicturesOpen(benchmark::State &state)
{
    if (!EnsureWidgetApplication()) {
        state.SkipWithError("no widget application");
        return;
    }
    ListingYear year;
    for (auto _ : state) {
        MoneyPicturesWindow window(year.ledger().context().tables, year.state());
        window.prepare(BenchDeskSymbol(1));
        for (int picture : {MoneyPicturesWindow::Turnover, MoneyPicturesWindow::Accounts})
            window.PictureChoice->setCurrentIndex(picture);
    }
}

void AmountRangeSqliteTool(benchmark::State &state)
{
    const RangeCase &range = kCases[state.range(0)];
    const QString table = ListingYear::Documents().path;
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("sqlite3.txt"));
    const QString select = QStringLiteral("SELECT SYMBOL, NUMER, DATA, RD, NRD, A1, ONAZ1, TYT1, KWOTA FROM data WHERE ")
                           + QString::fromLatin1(range.where)
                           + QStringLiteral(" ORDER BY ") + QLatin1String(kDocumentKeyOrder) + QLatin1Char(';');
    // The tool runs in a process of its own, so its processor time is read from the system:
    // the benchmark's own CPU column shows only the waiting.
    const double cpuBefore = ChildrenCpuSeconds();
    for (auto _ : state) {
        QProcess tool;
        tool.setStandardOutputFile(output);
        QElapsedTimer timer;
        timer.start();
        tool.start(QStringLiteral("sqlite3"), SqliteToolArguments(table) << select);
        tool.waitForFinished(-1);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (tool.exitCode() != 0)
            state.SkipWithError("sqlite3 failed");
    }
    state.counters["tool_cpu_ms"] = (ChildrenCpuSeconds() - cpuBefore) * 1000.0 / double(state.iterations());
    state.counters["lines"] = double(LinesOf(output));
}

} // namespace

void AmountRangeListingOnServer(benchmark::State &state)
{
    const RangeCase &range = kCases[state.range(0)];
    ListingYear year(false, true);
    year.run(range); // the first run reads the table into the server's cache
    for (auto _ : state)
        year.run(range);
    state.counters["lines"] = double(LinesOf(year.output()));
}

// psql selecting the listing's rows in the program's order into a file, as the tool does above.
void AmountRangePsql(benchmark::State &state)
{
    const RangeCase &range = kCases[state.range(0)];
    ListingYear year(false, true); // the year on the server, made once
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("psql.txt"));
    const QString select =
        QStringLiteral("SELECT \"SYMBOL\", \"NUMER\", \"DATA\", \"RD\", \"NRD\", \"A1\", \"ONAZ1\", \"TYT1\", \"KWOTA\" "
                       "FROM \"2019\".\"KASA/NAGKASA\" WHERE ")
        + QString::fromLatin1(range.where).replace(QStringLiteral("KWOTA"), QStringLiteral("\"KWOTA\""))
        + QStringLiteral(" ORDER BY \"SYMBOL\" COLLATE polish NULLS FIRST, \"NUMER\" NULLS FIRST, \"AUTO\" NULLS FIRST, "
                         "\"RD\" COLLATE polish NULLS FIRST, \"ROK\" COLLATE polish NULLS FIRST, \"NRD\" NULLS FIRST, _rowid_");
    const double cpuBefore = ChildrenCpuSeconds();
    for (auto _ : state) {
        QProcess tool;
        QElapsedTimer timer;
        timer.start();
        tool.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"),
                                            QStringLiteral("-t"), QStringLiteral("-o"), output, QStringLiteral("-d"),
                                            BenchServerConnection(), QStringLiteral("-c"), select});
        tool.waitForFinished(-1);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (tool.exitCode() != 0) {
            state.SkipWithError(("psql failed: " + tool.readAllStandardError()).constData());
            break;
        }
    }
    state.counters["tool_cpu_ms"] = (ChildrenCpuSeconds() - cpuBefore) * 1000.0 / double(state.iterations());
    state.counters["lines"] = double(LinesOf(output));
}

BENCHMARK(AmountRangeListing)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangeListingOnServer)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangePsql)->Arg(0)->Arg(1)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangeListingMemory)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangeListingPreviewMemory)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangeListingPdf)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MoneyPicturesOpen)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(AmountRangeSqliteTool)->Arg(0)->Arg(1)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
