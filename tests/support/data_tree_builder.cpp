#include "data_tree_builder.h"

#include "store/data_tree.h"
#include "store/table_files.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

namespace {

QString Folder(const QString &path)
{
    return WithTrailingSeparator(QDir::toNativeSeparators(path));
}

// Each table file of the year once, in the registry's order (the first object named on a file
// gives its structure: TRKASA before the probe of the oldest report structure).
QList<TableObjectEntry> YearTables()
{
    QList<TableObjectEntry> tables;
    QSet<QString> seen;
    for (const TableObjectEntry &entry : TableObjectRegistry()) {
        if (entry.location.base != TableBase::YearFolder)
            continue;
        const QString name = entry.location.relativeName().toUpper();
        if (seen.contains(name))
            continue;
        seen.insert(name);
        tables.append(entry);
    }
    return tables;
}

} // namespace

DataTreeBuilder::DataTreeBuilder(const QString &dataRootName)
    : root_(QDir::tempPath() + QStringLiteral("/kasa-drzewo-XXXXXX")), dataRootName_(dataRootName)
{
    session_.setWorkingFolder(workingFolder());
    QDir().mkpath(workingFolder());
    QDir().mkpath(dataRoot());
    QDir().mkpath(programFolder());
}

void DataTreeBuilder::keepOnDisk()
{
    root_.setAutoRemove(false);
}

QString DataTreeBuilder::root() const
{
    return Folder(root_.path());
}

QString DataTreeBuilder::workingFolder() const
{
    return Folder(root() + QStringLiteral("praca"));
}

QString DataTreeBuilder::dataRoot() const
{
    return Folder(root() + dataRootName_);
}

QString DataTreeBuilder::programFolder() const
{
    return Folder(root() + QStringLiteral("program"));
}

QString DataTreeBuilder::yearFolder(const QString &year) const
{
    return Folder(dataRoot() + year);
}

QString DataTreeBuilder::yearTable(const QString &year, const QString &relative) const
{
    return YearTablePath(dataRoot(), year, relative);
}

QString DataTreeBuilder::parameterTable() const
{
    return workingFolder() + QStringLiteral("KASA.DB");
}

QString DataTreeBuilder::companyTable() const
{
    return dataRoot() + QStringLiteral("FIRMA.DB");
}

ProcessEnvironment DataTreeBuilder::environment(const QStringList &arguments) const
{
    ProcessEnvironment environment;
    environment.arguments = arguments;
    environment.workingFolder = workingFolder();
    environment.programFolder = programFolder();
    environment.programPath = programFolder() + QStringLiteral("kasa");
    environment.userName = QStringLiteral("operator");
    return environment;
}

QString DataTreeBuilder::dataRootArgument() const
{
    QString root = dataRoot();
    root.replace(QLatin1Char(' '), QLatin1Char('_'));
    return QStringLiteral("dr=") + root;
}

DataTreeBuilder &DataTreeBuilder::withParameterTable(int loginMode)
{
    createTable(parameterTable(), ParameterTableDefinition(),
                {{{QStringLiteral("P1"), QString()},
                  {QStringLiteral("P2"), QStringLiteral("00000")},
                  {QStringLiteral("B3"), false},
                  {QStringLiteral("L4"), loginMode},
                  {QStringLiteral("L5"), 0},
                  {QStringLiteral("ACYKL"), 0}}});
    return *this;
}

DataTreeBuilder &DataTreeBuilder::withCompanyTable(const QString &shortName)
{
    createTable(companyTable(), CompanyTableDefinition(),
                {{{QStringLiteral("NR"), 1},
                  {QStringLiteral("SKROT"), shortName},
                  {QStringLiteral("NAZWA1"), shortName + QStringLiteral(" sp. z o.o.")}}});
    return *this;
}

DataTreeBuilder &DataTreeBuilder::withYear(const QString &year)
{
    for (const TableObjectEntry &entry : YearTables())
        createTable(yearTable(year, entry.location.relativeName() + QStringLiteral(".DB")), entry.definition());
    addRows(yearTable(year, QStringLiteral("KSIEGA\\USER.DB")),
            {{{QStringLiteral("KOD"), QStringLiteral("1")}, {QStringLiteral("NAZWISKO"), QStringLiteral("Jan Kowalski")}}});
    return *this;
}

DataTreeBuilder &DataTreeBuilder::withStandardTree(const QString &year)
{
    return withParameterTable().withCompanyTable().withYear(year);
}

void DataTreeBuilder::createTable(const QString &path, const TableDefinition &definition, const QList<RowValues> &rows)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    Table table(session_);
    table.setTableName(path);
    table.create(definition);
    addRows(path, rows);
}

void DataTreeBuilder::addRows(const QString &path, const QList<RowValues> &rows)
{
    if (rows.isEmpty())
        return;
    Table table(session_);
    table.setTableName(path);
    table.open();
    TransactionScope scope;
    for (const RowValues &row : rows) {
        table.append();
        for (const auto &[field, value] : row)
            table.setValue(field, value);
        table.post();
    }
    scope.commit();
}

void DataTreeBuilder::removeTable(const QString &path)
{
    for (const QString &file : TableCompanionFiles(WithoutDbExtension(path)))
        QFile::remove(file);
}

void DataTreeBuilder::damageTable(const QString &path)
{
    QFile file(ResolvePathIgnoringCase(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QRandomGenerator generator(20190510);
    QByteArray noise(4096, '\0');
    for (char &byte : noise)
        byte = char(generator.bounded(256));
    file.write(noise);
}

std::unique_ptr<Table> DataTreeBuilder::open(const QString &path)
{
    auto table = std::make_unique<Table>(session_);
    table->setTableName(path);
    table->open();
    return table;
}

QStringList DataTreeBuilder::column(const QString &path, const QString &field)
{
    const std::unique_ptr<Table> table = open(path);
    QStringList values;
    for (table->first(); !table->eof(); table->next())
        values.append(table->asString(field));
    return values;
}
