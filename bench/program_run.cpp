#include "program_run.h"
#include "store_bench_data.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

ProgramRun RunProgram(const QString &workingFolder, const QStringList &arguments, const QString &peakFile)
{
    static const QString timeTool = QStandardPaths::findExecutable(QStringLiteral("time"), {QStringLiteral("/usr/bin")});
    QProcess command;
    if (!workingFolder.isEmpty())
        command.setWorkingDirectory(workingFolder);
    command.setStandardOutputFile(QProcess::nullDevice());
    command.setStandardErrorFile(QProcess::nullDevice());
    ProgramRun run;
    const double cpuBefore = ChildrenCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    if (timeTool.isEmpty())
        command.start(QStringLiteral(KASA_PROGRAM_PATH), arguments);
    else
        command.start(timeTool, QStringList{QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("-o"), peakFile,
                                            QStringLiteral(KASA_PROGRAM_PATH)} + arguments);
    command.waitForFinished(-1);
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.cpuSeconds = ChildrenCpuSeconds() - cpuBefore;
    run.succeeded = command.exitStatus() == QProcess::NormalExit && command.exitCode() == 0;
    QFile peak(peakFile);
    if (!timeTool.isEmpty() && peak.open(QIODevice::ReadOnly))
        run.peakMb = peak.readAll().trimmed().split('\n').last().toDouble() / 1024.0;
    return run;
}
