#include "maintenance/paradox_installation.h"

#include "maintenance/paradox_table_file.h"
#include "store/data_tree.h"
#include "store/table_files.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kDbSuffix = QStringLiteral(".DB");

bool IsTableFile(const QFileInfo &file)
{
    return file.isFile() && file.fileName().endsWith(kDbSuffix, Qt::CaseInsensitive);
}

// The program's own table at the location relative to its base, or nullopt.
std::optional<TableDefinition> ProgramTableAt(TableBase base, const QString &relative)
{
    const QString wanted = QDir::fromNativeSeparators(relative);
    for (const TableObjectEntry &entry : TableObjectRegistry()) {
        if (entry.location.base != base)
            continue;
        const QString path = entry.location.folder.isEmpty() ? entry.location.fileName
                                                             : entry.location.folder + u'/' + entry.location.fileName;
        if (path.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry.definition();
    }
    const TableLocation users = UsersTableLocation();
    if (base == users.base && wanted.compare(users.folder + u'/' + users.fileName, Qt::CaseInsensitive) == 0)
        return UsersTableDefinition();
    return std::nullopt;
}

// The relative path as the new installation spells it: the program's spelling for its own
// tables, the old one for the others.
QString SpelledAsProgram(TableBase base, const QString &relative)
{
    const QString wanted = QDir::fromNativeSeparators(relative);
    QList<TableLocation> locations{UsersTableLocation()};
    for (const TableObjectEntry &entry : TableObjectRegistry())
        locations << entry.location;
    for (const TableLocation &location : locations) {
        const QString path = location.folder.isEmpty() ? location.fileName : location.folder + u'/' + location.fileName;
        if (location.base == base && path.compare(wanted, Qt::CaseInsensitive) == 0)
            return QDir::toNativeSeparators(path);
    }
    return QDir::toNativeSeparators(relative);
}

QString Required(const QString &folder, const QString &relative, const QString &missing)
{
    const QString path = ResolvePathIgnoringCase(QDir(folder).filePath(relative));
    if (!QFileInfo(path).isFile())
        throw ParadoxFileError(missing.arg(QDir::toNativeSeparators(folder)));
    return path;
}

OldInstallationTable Table(const QString &oldPath, TableBase base, const QString &relative, const QString &year)
{
    OldInstallationTable table;
    table.oldPath = oldPath;
    table.year = year;
    const QString spelled = SpelledAsProgram(base, relative);
    table.relativePath = year.isEmpty() ? spelled : year + QDir::separator() + spelled;
    table.programDefinition = ProgramTableAt(base, relative);
    table.isCompanyTable = base == TableBase::DataRoot && table.programDefinition.has_value();
    return table;
}

// Every table file below the folder, as paths relative to it, in name order.
QStringList TablesBelow(const QString &folder)
{
    QStringList relative;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        if (IsTableFile(file))
            relative << base.relativeFilePath(file.filePath());
    }
    relative.sort(Qt::CaseInsensitive);
    return relative;
}

} // namespace

QString YearTableRelativePath(const QString &year, const QString &folder, const QString &fileName)
{
    return year + QDir::separator() + folder + QDir::separator() + fileName;
}

QList<OldInstallationTable> FindOldInstallationTables(const QString &workingFolder, const QString &dataRoot)
{
    const QString root = dataRoot.isEmpty() ? workingFolder : dataRoot;
    QList<OldInstallationTable> tables;
    const QString parameters = Required(workingFolder, QStringLiteral("KASA.DB"),
                                        QStringLiteral("W folderze %1 nie ma tabeli parametrów KASA.DB: to nie jest folder "
                                                       "roboczy programu."));
    const QString company = Required(root, QStringLiteral("FIRMA.DB"),
                                     QStringLiteral("W folderze danych %1 nie ma tabeli firmy FIRMA.DB; podaj folder danych "
                                                    "jako dr=FOLDER."));
    tables << Table(parameters, TableBase::WorkingFolder, QStringLiteral("KASA.DB"), QString());
    // The users table and the other tables the suite keeps beside it.
    const QString usersFolder = ResolvePathIgnoringCase(QDir(workingFolder).filePath(QStringLiteral("BAZA")));
    for (const QString &relative : TablesBelow(usersFolder))
        tables << Table(QDir(usersFolder).filePath(relative), TableBase::WorkingFolder,
                        QStringLiteral("BAZA/") + relative, QString());
    tables << Table(company, TableBase::DataRoot, QStringLiteral("FIRMA.DB"), QString());
    // Other tables of the data root itself, the parameter table excepted where the data root is
    // the working folder.
    for (const QFileInfo &file : QDir(root).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase)) {
        if (!IsTableFile(file) || file.filePath() == company || file.filePath() == parameters)
            continue;
        tables << Table(file.filePath(), TableBase::DataRoot, file.fileName(), QString());
    }
    static const QRegularExpression yearName(QStringLiteral("^[0-9]{4}$"));
    for (const QFileInfo &folder : QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!yearName.match(folder.fileName()).hasMatch())
            continue;
        for (const QString &relative : TablesBelow(folder.filePath()))
            tables << Table(QDir(folder.filePath()).filePath(relative), TableBase::YearFolder, relative, folder.fileName());
    }
    return tables;
}
