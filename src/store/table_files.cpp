#include "store/table_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The entry of the folder whose name equals the given one without regard to case; empty if none.
QString EntryIgnoringCase(const QString &folder, const QString &name)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                  | QDir::NoDotAndDotDot,
                                              QDir::Name);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return QString();
}

QString Joined(const QString &head, const QString &component)
{
    if (head.isEmpty() || head.endsWith(QLatin1Char('/')))
        return head + component;
    return head + QLatin1Char('/') + component;
}

} // namespace

QString ResolvePathIgnoringCase(const QString &path)
{
    const QString given = QDir::fromNativeSeparators(path);
    const QStringList components = given.split(QLatin1Char('/'));

    QString resolved;
    bool stillExists = true;
    for (int i = 0; i < components.size(); ++i) {
        const QString &component = components[i];
        if (i == 0 && component.isEmpty()) {  // absolute path
            resolved = QStringLiteral("/");
            continue;
        }
        if (component.isEmpty() || component == QLatin1String(".") || component == QLatin1String("..")
            || !stillExists) {
            resolved = component.isEmpty() ? resolved + QLatin1Char('/') : Joined(resolved, component);
            continue;
        }
        const QString exact = Joined(resolved, component);
        if (QFileInfo::exists(exact)) {
            resolved = exact;
            continue;
        }
        const QString onDisk = EntryIgnoringCase(resolved, component);
        stillExists = !onDisk.isEmpty();
        resolved = Joined(resolved, stillExists ? onDisk : component);
    }
    return QDir::toNativeSeparators(resolved);
}

QStringList TableCompanionFiles(const QString &tablePathWithoutExtension)
{
    const QFileInfo table(ResolvePathIgnoringCase(tablePathWithoutExtension));
    const QString prefix = table.fileName() + QLatin1Char('.');
    const QDir folder = table.dir();

    QStringList files;
    for (const QString &entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        if (entry.size() > prefix.size() && entry.startsWith(prefix, Qt::CaseInsensitive))
            files << QDir::toNativeSeparators(folder.filePath(entry));
    return files;
}

bool IsReadOnlyFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return !(info.permissions() & QFileDevice::WriteOwner);
}

bool ClearReadOnly(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    if (info.permissions() & QFileDevice::WriteOwner)
        return true;
    QFile::setPermissions(path, info.permissions() | QFileDevice::WriteOwner);
    return !IsReadOnlyFile(path);
}
