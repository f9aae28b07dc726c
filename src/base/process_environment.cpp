#include "base/process_environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

QString NativeFolder(const QString &folder)
{
    QString native = QDir::toNativeSeparators(folder);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

QString OperatingSystemUserName()
{
    for (const char *variable : {"USER", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
#ifdef Q_OS_UNIX
    if (const passwd *entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    return QString();
}

}  // namespace

ProcessEnvironment ProcessEnvironment::fromProcess()
{
    ProcessEnvironment environment;
    environment.arguments = QCoreApplication::arguments().mid(1);
    environment.workingFolder = NativeFolder(QDir::currentPath());
    environment.programFolder = NativeFolder(QCoreApplication::applicationDirPath());
    environment.programPath = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    environment.userName = OperatingSystemUserName();
    return environment;
}
