#include "program_run.h"
#include "store/table_schemas.h"
#include "support/paradox_writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

extern "C" {
#include <paradox.h>
}

// Bringing over an old installation whose year holds 200 000 document rows, with the program
// itself ("kasa migrate-paradox", under /usr/bin/time for its peak memory), beside reading the
// same rows with pxlib alone (every field of every row decoded). The first is to take at most
// twice the second and at most 100 MB.

namespace {

constexpr int kRows = 200000;

// The generator's installation with its document table replaced by 200 000 rows: headers with
// one line each, in the generator's three reports.
class LargeOldInstallation {
public:
    LargeOldInstallation()
    {
        WriteParadoxInstallation(old());
        const QStringList desks{QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("02")};
        const QList<int> reports{1, 2, 1};
        ParadoxTableWriter writer(documents(), ParadoxColumnsOf(CashDocumentTableDefinition()), 6);
        for (int i = 0; i < kRows; ++i) {
            const int document = i / 2;
            const bool header = i % 2 == 0;
            const int report = document % 3;
            const double amount = double(document % 1000) + double(document % 100) / 100.0;
            writer.add({{QStringLiteral("SYMBOL"), desks[report]}, {QStringLiteral("NUMER"), reports[report]},
                        {QStringLiteral("AUTO"), i + 1}, {QStringLiteral("RD"), document % 2 ? QStringLiteral("KW") : QStringLiteral("KP")},
                        {QStringLiteral("ROK"), QStringLiteral("2024")}, {QStringLiteral("NRD"), document + 1},
                        {QStringLiteral("POZ"), document + 1}, {QStringLiteral("GLOWKA"), header},
                        {QStringLiteral("DATA"), QStringLiteral("2024.03.%1").arg(document % 28 + 1, 2, 10, QLatin1Char('0'))},
                        {header ? QStringLiteral("KWOTA") : QStringLiteral("KWOTAP"), amount},
                        {QStringLiteral("ONAZ1"), QStringLiteral("Zakład Usług Leśnych „Jaźń” nr %1").arg(document % 500)},
                        {QStringLiteral("TYT1"), QStringLiteral("Zapłata za fakturę %1/2024 — gęśla").arg(document)},
                        {QStringLiteral("KONTO"), QStringLiteral("100")}});
        }
    }
    QString old() const { return dir_.filePath(QStringLiteral("stara")); }
    QString documents() const { return dir_.filePath(QStringLiteral("stara/2024/KASA/NAGKASA.DB")); }
    QString target(int run) const { return dir_.filePath(QStringLiteral("nowa%1").arg(run)); }
    QString file(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

const LargeOldInstallation &Installation()
{
    static const LargeOldInstallation installation;
    return installation;
}

void MigrateParadoxYear(benchmark::State &state)
{
    const LargeOldInstallation &installation = Installation();
    double peakMb = -1;
    int run = 0;
    bool agreed = true;
    for (auto _ : state) {
        const QString target = installation.target(++run);
        const ProgramRun migration = RunProgram(QString(),
                                                {QStringLiteral("migrate-paradox"), QStringLiteral("--from"), installation.old(),
                                                 QStringLiteral("--to"), target},
                                                installation.file(QStringLiteral("peak.txt")));
        state.SetIterationTime(migration.seconds);
        agreed = agreed && migration.succeeded;
        peakMb = std::max(peakMb, migration.peakMb);
        QDir(target).removeRecursively();
    }
    if (!agreed)
        state.SkipWithError("the migration did not end with exit status 0");
    state.counters["rows"] = kRows;
    state.counters["peak_mb"] = peakMb;
}

void ReadParadoxYearWithPxlib(benchmark::State &state)
{
    const LargeOldInstallation &installation = Installation();
    int fields = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        pxdoc_t *document = PX_new();
        PX_open_file(document, QFile::encodeName(installation.documents()).constData());
        const int rows = PX_get_num_records(document);
        fields = PX_get_num_fields(document);
        for (int row = 0; row < rows; ++row) {
            pxval_t **values = PX_retrieve_record(document, row);
            if (!values)
                continue;
            for (int f = 0; f < fields; ++f) {
                if (!values[f]->isnull && (values[f]->type == pxfAlpha || values[f]->type == pxfMemoBLOb))
                    document->free(document, values[f]->value.str.val);
                document->free(document, values[f]);
            }
            document->free(document, values);
        }
        PX_close(document);
        PX_delete(document);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["rows"] = kRows;
}

} // namespace

BENCHMARK(ReadParadoxYearWithPxlib)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(MigrateParadoxYear)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
