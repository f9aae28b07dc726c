#pragma once

#include <QString>
#include <QStringList>

// What the process was given: its arguments (without the program itself), the working folder,
// the folder of the program file and the operating system's user name.
// Folders end with the platform separator.
struct ProcessEnvironment {
    QStringList arguments;
    QString workingFolder;
    QString programFolder;
    QString programPath;
    QString userName;

    // Reads the real process; needs a QCoreApplication for the program folder.
    static ProcessEnvironment fromProcess();
};
