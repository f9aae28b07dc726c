#include "store/data_tree.h"

#include "base/server_location.h"

#include <QDir>

QString NativeRelativePath(const QString &relative)
{
    QString path = relative;
    path.replace(QLatin1Char('\\'), QDir::separator());
    path.replace(QLatin1Char('/'), QDir::separator());
    return path;
}

QString WithTrailingSeparator(const QString &folder)
{
    if (folder.isEmpty())
        return folder;
    if (IsServerPath(folder))
        return ServerDataRoot(folder).value_or(folder);
    QString path = NativeRelativePath(folder);
    while (path.size() > 1 && path.endsWith(QDir::separator())
           && path.at(path.size() - 2) == QDir::separator())
        path.chop(1);
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    return path;
}

QString YearTablePath(const QString &dataRoot, const QString &year, const QString &relative)
{
    const QString rel = NativeRelativePath(relative);
    if (rel.startsWith(QDir::separator()))
        return dataRoot + year + rel;
    return dataRoot + year + QDir::separator() + rel;
}

QString CompanyTablePath(const QString &dataRoot)
{
    return dataRoot + QStringLiteral("FIRMA");
}

QString WithoutDbExtension(const QString &path)
{
    if (path.endsWith(QStringLiteral(".DB"), Qt::CaseInsensitive))
        return path.left(path.size() - 3);
    return path;
}
