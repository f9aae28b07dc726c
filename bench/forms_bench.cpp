#include "print/cash_report_printout.h"
#include "print/forms/form_painter.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// The cash report of a month laid out and written as PDF, for 500 and for 5 000 documents. The
// documents are held in memory, so the figures are the form's own cost; "pages" is the number
// of pages and "per_page" the time of one page (wall clock).

namespace {

void EnsureGuiApplication()
{
    static int argc = 1;
    static char name[] = "kasa-bench";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
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

BENCHMARK(BM_CashReportPdf)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Repetitions(3)->UseRealTime();
