#pragma once

#include <QString>
#include <QStringList>

// What the program says about itself in "Informacja o programie".
QString ProgramVersion();  // from the build, e.g. "1.0.0"
QString ProgramLicence();
QString ProgramDescription();

// The places a file the installation gives (the guide as PDF, the seller's and author's data) is
// looked for, in order: the working folder, the program's folder (the build puts it beside the
// program), and the installed documentation folder beside the program's.
QStringList InstallationFileCandidates(const QString &fileName, const QString &workingFolder,
                                       const QString &programFolder);
QString HelpFileName();
QStringList HelpFileCandidates(const QString &workingFolder, const QString &programFolder);
