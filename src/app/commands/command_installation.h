#pragma once

#include "app/commands/command_arguments.h"

#include <QString>
#include <optional>

class QTextStream;

// The installation's working folder of the command (-C, else the current folder), absolute;
// nothing, said on err, when there is no such folder.
std::optional<QString> ExistingWorkingFolder(const CommandArguments &arguments, QTextStream &err);

// The data root a command works on without opening the tables: dr= of its command line, else
// the one the installation keeps.
struct CommandDataRoot {
    QString path;
    bool fromCommandLine = false;
};
CommandDataRoot DataRootOfCommand(const CommandArguments &arguments, const QString &workingFolder);
