#include "store/data_tree_initializer.h"

#include "base/clock.h"
#include "store/data_tree.h"
#include "store/demo_data_tree.h"
#include "store/engine_error.h"
#include "store/helper_indexes.h"
#include "store/session.h"
#include "store/structure_listing.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_records.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace {

const char *const kUsage = "Użycie: kasa --init FOLDER [--demo] [--year RRRR]";

// The data module's tables an installation starts with, in creation order; the users table
// has no table object of its own.
const char *const kTableObjects[] = {"TPARA", "", "TFIRMA", "TKASA", "TRKASA", "TNAG", "TSLO",
                                     "TKontrah", "TKONTRAHo", "TWALUTA", "TUSER", "TKONTA"};

QString RelativePath(const TableLocation &location, const QString &year)
{
    QString relative = location.folder.isEmpty() ? location.fileName
                                                 : location.folder + QLatin1Char('\\') + location.fileName;
    if (location.base == TableBase::YearFolder)
        relative = year + QLatin1Char('\\') + relative;
    return NativeRelativePath(relative);
}

QString WithoutExtension(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('.')));
}

// The table files made so far; removed again unless the installation is finished.
class CreatedFiles {
public:
    ~CreatedFiles()
    {
        if (kept_)
            return;
        for (const QString &path : std::as_const(files_))
            for (const QString &file : TableCompanionFiles(WithoutExtension(path)))
                QFile::remove(file);
    }
    void add(const QString &tablePath) { files_ << tablePath; }
    void keep() { kept_ = true; }

private:
    QStringList files_;
    bool kept_ = false;
};

void RefuseExistingTables(const QString &folder, const QList<InstallationTable> &tables)
{
    for (const InstallationTable &table : tables)
        if (QFileInfo::exists(ResolvePathIgnoringCase(folder + table.relativePath)))
            throw DataTreeInitError(QStringLiteral("W folderze %1 jest już tabela %2; nic nie zostało zmienione.")
                                        .arg(folder, table.relativePath));
}

void CreateTable(Session &session, const QString &path, const TableDefinition &definition, CreatedFiles &created)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw DataTreeInitError(QStringLiteral("Nie można utworzyć folderu %1.").arg(folder));
    Table table(session);
    table.setTableName(path);
    created.add(path);
    table.create(definition);
    if (!WriteStructureListingFile(WithoutExtension(path) + QStringLiteral(".STR"), table.definition()))
        throw DataTreeInitError(QStringLiteral("Nie można zapisać struktury tabeli %1.").arg(path));
}

TableRecord ParameterRecord(const QDate &today)
{
    return {{QStringLiteral("P1"), QStringLiteral("[RD] [NRD]")},
            {QStringLiteral("P2"), QStringLiteral("00000")},
            {QStringLiteral("B3"), false},
            {QStringLiteral("L4"), 0},
            {QStringLiteral("L5"), 0},
            // The month the installation was made, as the structure upgrade writes it.
            {QStringLiteral("ADATA"), today.toString(QStringLiteral("yyyy.MM.")) + QStringLiteral("00")},
            {QStringLiteral("ACYKL"), 0}};
}

TableRecord AdministratorRecord()
{
    return {{QStringLiteral("LOGIN"), QStringLiteral("ADMIN")},
            {QStringLiteral("NAZWISKO"), QStringLiteral("Administrator")},
            {QStringLiteral("P0"), 255},
            {QStringLiteral("P9"), 255}};
}

TableRecord CompanyRecord(const DataTreeInitOptions &options)
{
    TableRecord record{{QStringLiteral("NR"), 1}, {QStringLiteral("DR"), StoredDataRoot(options.folder)}};
    if (options.demo)
        record << DemoCompanyFields();
    return record;
}

} // namespace

int RoomForDataRoot()
{
    const TableDefinition company = CompanyTableDefinition();
    return company.fields[company.fieldIndex(QStringLiteral("DR"))].size;
}

QString StoredDataRoot(const QString &folder)
{
    return folder.size() > RoomForDataRoot() ? folder.chopped(1) : folder;
}

void RefuseWhenTooLongForCompanyTable(const QString &folder)
{
    const int room = RoomForDataRoot();
    if (StoredDataRoot(folder).size() > room)
        throw DataTreeInitError(QStringLiteral("Ścieżka %1 ma %2 znaków, a pole DR tabeli firmy mieści %3. "
                                               "Wybierz krótszą ścieżkę.")
                                    .arg(StoredDataRoot(folder)).arg(StoredDataRoot(folder).size()).arg(room));
}

std::optional<DataTreeInitOptions> ParseInitArguments(const QStringList &arguments, const Clock &clock,
                                                      QString &error)
{
    if (arguments.size() < 2 || arguments[0] != QLatin1String("--init") || arguments[1].startsWith(QLatin1String("--"))) {
        error = QStringLiteral("Brak folderu instalacji.");
        return std::nullopt;
    }
    DataTreeInitOptions options;
    options.folder = WithTrailingSeparator(QDir::toNativeSeparators(QDir(arguments[1]).absolutePath()));
    options.year = QString::number(clock.today().year());
    for (int i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arguments[i] == QLatin1String("--year")) {
            static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
            if (i + 1 >= arguments.size() || !fourDigits.match(arguments[i + 1]).hasMatch()
                || arguments[i + 1].toInt() < 1900) {
                error = QStringLiteral("Rok musi mieć cztery cyfry (od 1900).");
                return std::nullopt;
            }
            options.year = arguments[++i];
        } else {
            error = QStringLiteral("Nieznany argument: %1").arg(arguments[i]);
            return std::nullopt;
        }
    }
    return options;
}

QList<InstallationTable> InstallationTables(const QString &year)
{
    QList<InstallationTable> tables;
    for (const char *objectName : kTableObjects) {
        if (*objectName == '\0') {
            tables.append({RelativePath(UsersTableLocation(), year), UsersTableDefinition()});
            continue;
        }
        const TableObjectEntry *entry = FindTableObject(QString::fromLatin1(objectName));
        tables.append({RelativePath(entry->location, year), entry->definition()});
    }
    return tables;
}

QList<InitialisedTable> InitialiseDataTree(const DataTreeInitOptions &options, const Clock &clock)
{
    const QList<InstallationTable> tables = InstallationTables(options.year);
    RefuseWhenTooLongForCompanyTable(options.folder);
    if (!QDir().mkpath(options.folder))
        throw DataTreeInitError(QStringLiteral("Nie można utworzyć folderu %1.").arg(options.folder));
    RefuseExistingTables(options.folder, tables);

    Session session;
    session.setWorkingFolder(options.folder);
    CreatedFiles created;
    QList<InitialisedTable> result;
    try {
        for (const InstallationTable &table : tables)
            CreateTable(session, options.folder + table.relativePath, table.definition, created);
        AppendRecords(session, options.folder + tables[0].relativePath, {ParameterRecord(clock.today())});
        AppendRecords(session, options.folder + tables[1].relativePath, {AdministratorRecord()});
        AppendRecords(session, options.folder + tables[2].relativePath, {CompanyRecord(options)});
        if (options.demo)
            FillDemoYear(session, options.folder, options.year, clock.today());
        // The engine's helper indexes are made with the tables, so no start has to make them.
        for (const InstallationTable &table : tables)
            BuildProgramHelperIndexes(session, options.folder + table.relativePath);
        for (const InstallationTable &table : tables)
            result.append({table.relativePath, CountRows(session, options.folder + table.relativePath)});
    } catch (const EngineError &error) {
        throw DataTreeInitError(error.message());
    }
    created.keep();
    return result;
}

int RunDataTreeInitializer(const QStringList &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    QString error;
    const std::optional<DataTreeInitOptions> options = ParseInitArguments(arguments, clock, error);
    if (!options) {
        err << error << '\n' << QString::fromUtf8(kUsage) << Qt::endl;
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        const QList<InitialisedTable> tables = InitialiseDataTree(*options, clock);
        out << QStringLiteral("Utworzono instalację w %1, rok %2%3:")
                   .arg(options->folder, options->year, options->demo ? QStringLiteral(", z danymi przykładowymi")
                                                                      : QString())
            << '\n';
        for (const InitialisedTable &table : tables)
            out << QStringLiteral("  %1 %2").arg(table.relativePath, -24).arg(table.rows, 6) << '\n';
        out << QStringLiteral("Czas: %1 s").arg(double(timer.elapsed()) / 1000.0, 0, 'f', 2) << Qt::endl;
        return 0;
    } catch (const DataTreeInitError &failure) {
        err << failure.message() << Qt::endl;
        return 1;
    }
}
