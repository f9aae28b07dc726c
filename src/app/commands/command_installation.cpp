#include "app/commands/command_installation.h"

#include "base/command_line.h"
#include "store/data_tree.h"
#include "store/table_file_check.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

std::optional<QString> ExistingWorkingFolder(const CommandArguments &arguments, QTextStream &err)
{
    const QString folder = QDir::cleanPath(QFileInfo(arguments.workingFolder).absoluteFilePath());
    if (!QFileInfo(folder).isDir()) {
        err << QStringLiteral("Folder roboczy %1 nie istnieje.").arg(QDir::toNativeSeparators(folder)) << Qt::endl;
        return std::nullopt;
    }
    return folder;
}

CommandDataRoot DataRootOfCommand(const CommandArguments &arguments, const QString &workingFolder)
{
    const QString given = DataRootFromArguments({arguments.dataRootArgument});
    if (given.isEmpty())
        return {DataRootOfInstallation(workingFolder), false};
    return {WithTrailingSeparator(given), true};
}
