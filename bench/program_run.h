#pragma once

#include <QString>
#include <QStringList>

// One run of the program as a process of its own, in the given working folder, under
// /usr/bin/time (when there) for its resident peak, written to peakFile.
struct ProgramRun {
    double seconds = 0;    // wall clock
    double cpuSeconds = 0; // the process's processor time
    double peakMb = -1;    // -1 when it could not be measured
    bool succeeded = false; // ended normally with exit status 0
};

ProgramRun RunProgram(const QString &workingFolder, const QStringList &arguments, const QString &peakFile);
