#include "store/unfinished_years.h"

#include <QDir>

namespace {

const QString kUnfinishedYearPrefix = QStringLiteral(".kasa-nowy-rok-");

} // namespace

QString UnfinishedYearFolder(const QString &folder, const QString &year)
{
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).filePath(kUnfinishedYearPrefix + year);
}

void RemoveUnfinishedYears(const QString &folder)
{
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    for (const QString &name : dir.entryList({kUnfinishedYearPrefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(dir.filePath(name)).removeRecursively();
}
