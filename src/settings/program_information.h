#pragma once

#include <QString>
#include <QStringList>

// What the program says about itself in "Informacja o programie".
QString ProgramVersion();  // from the build, e.g. "1.0.0"
QString ProgramLicence();
QString ProgramDescription();

// The help file's name, and the places it is looked for, in order: the working folder, the
// program's folder (the build puts it beside the program), and the installed documentation
// folder beside the program's.
QString HelpFileName();
QStringList HelpFileCandidates(const QString &workingFolder, const QString &programFolder);
