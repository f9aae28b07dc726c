#include "base/command_line.h"

namespace {

const QString kDataRootPrefix = QStringLiteral("dr=");
const QString kYearWord = QStringLiteral("rok");

}  // namespace

QString DataRootFromArguments(const QStringList &arguments)
{
    QString dataRoot;
    for (const QString &argument : arguments) {
        if (argument.left(kDataRootPrefix.size()).toLower() == kDataRootPrefix)
            dataRoot = argument.mid(kDataRootPrefix.size()).replace(u'_', u' ');
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
