#include "base/command_line.h"

#include "base/server_location.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kDataRootPrefix = QStringLiteral("dr=");
const QString kYearWord = QStringLiteral("rok");

}  // namespace

QString DataRootFromArguments(const QStringList &arguments)
{
    QString dataRoot;
    for (const QString &argument : arguments) {
        if (argument.left(kDataRootPrefix.size()).toLower() != kDataRootPrefix)
            continue;
        dataRoot = argument.mid(kDataRootPrefix.size());
        // A server's name or address is taken as written: "_" is part of many database names.
        if (IsServerPath(dataRoot))
            dataRoot = ServerDataRoot(dataRoot).value_or(dataRoot);
        else
            dataRoot.replace(u'_', u' ');
    }
    return dataRoot;
}

std::optional<QString> YearFromArguments(const QStringList &arguments)
{
    if (arguments.size() >= 2 && arguments.at(0).toLower() == kYearWord)
        return arguments.at(1);
    return std::nullopt;
}

int CommandArgIndexFor(const QStringList &arguments)
{
    return YearFromArguments(arguments) ? 3 : 1;
}

bool DataRootLiesOutside(const QString &dataRoot, const QString &workingFolder)
{
    if (dataRoot.isEmpty() || IsServerPath(dataRoot))
        return false;
    const QString root = QDir::cleanPath(QFileInfo(dataRoot).absoluteFilePath());
    const QString folder = QDir::cleanPath(QFileInfo(workingFolder).absoluteFilePath());
    return root != folder && !root.startsWith(folder + u'/');
}

QString DataRootOutsideNotice(const QString &dataRoot, const QString &workingFolder)
{
    if (!DataRootLiesOutside(dataRoot, workingFolder))
        return QString();
    return QStringLiteral("Uwaga: folder danych %1 leży poza folderem roboczym %2.")
        .arg(QDir::toNativeSeparators(dataRoot), QDir::toNativeSeparators(workingFolder));
}
