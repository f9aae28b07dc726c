#include "own_process.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QStringList>

namespace {

const char kOwnProcess[] = "KASA_BENCH_OWN_PROCESS";

// What the benchmark library writes of every benchmark; the rest are its counters.
const QSet<QString> kLibraryFields{"name", "family_index", "per_family_instance_index", "run_name", "run_type",
                                   "repetitions", "repetition_index", "threads", "iterations", "real_time",
                                   "cpu_time", "time_unit", "aggregate_name", "aggregate_unit", "error_occurred",
                                   "error_message", "label"};

} // namespace

bool RunInOwnProcess(benchmark::State &state, const char *function)
{
    if (qEnvironmentVariableIsSet(kOwnProcess))
        return false;
    bool ran = false;
    for (auto _ : state) {
        if (ran)
            continue;
        ran = true;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kOwnProcess), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(QStringLiteral("/proc/self/exe"),
                    {QStringLiteral("--benchmark_filter=^%1/%2/").arg(QLatin1String(function)).arg(state.range(0)),
                     QStringLiteral("--benchmark_format=json"), QStringLiteral("--benchmark_repetitions=1")});
        child.waitForFinished(-1);
        const QJsonArray runs = QJsonDocument::fromJson(child.readAllStandardOutput()).object().value("benchmarks").toArray();
        if (runs.isEmpty()) {
            state.SkipWithError("the benchmark's own process gave no figures");
            continue;
        }
        const QJsonObject figures = runs.first().toObject();
        for (auto field = figures.begin(); field != figures.end(); ++field)
            if (!kLibraryFields.contains(field.key()) && field.value().isDouble())
                state.counters[field.key().toStdString()] = field.value().toDouble();
    }
    return true;
}
