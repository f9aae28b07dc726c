#include "maintenance/exchange_folder.h"

#include "maintenance/exchange_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kFileName = QStringLiteral("ImpExp.txt");

QString WithSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder;
    return folder + QDir::separator();
}

} // namespace

QString ExchangeFolderFilePath(const QString &dataRoot, const QString &programFolder)
{
    return WithSeparator(dataRoot.isEmpty() ? programFolder : dataRoot) + kFileName;
}

QString ReadExchangeFolder(const QString &settingsFile)
{
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    return IsValidUtf8(line) ? QString::fromUtf8(line) : DecodeWindows1250(line);
}

QString FolderOfChosenPath(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    if (info.isDir())
        return WithSeparator(QDir::toNativeSeparators(info.absoluteFilePath()));
    return WithSeparator(QDir::toNativeSeparators(info.absolutePath()));
}

bool WriteExchangeFolder(const QString &settingsFile, const QString &folder)
{
    qsizetype badAt = -1;
    QByteArray bytes = EncodeWindows1250(folder, badAt);
    if (badAt >= 0)
        bytes = folder.toUtf8();
    bytes.append("\r\n");
    QSaveFile file(settingsFile);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
