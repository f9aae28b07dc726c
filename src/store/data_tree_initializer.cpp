#include "store/data_tree_initializer.h"

#include "base/clock.h"
#include "base/server_location.h"
#include "store/data_tree.h"
#include "store/server_table_backend.h"
#include "store/table_connection.h"
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

const char *const kUsage = "Użycie: kasa --init FOLDER [--demo] [--year RRRR] [dr=SERWER]";

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
        for (const QString &path : std::as_const(files_)) {
            if (IsServerPath(path)) {
                try {
                    ServerTableBackend::remove(path);
                } catch (const EngineError &) {
                    // The server is gone: nothing more can be taken back there.
                }
                continue;
            }
            for (const QString &file : TableCompanionFiles(WithoutExtension(path)))
                QFile::remove(file);
        }
    }
    void add(const QString &tablePath) { files_ << tablePath; }
    void keep() { kept_ = true; }

private:
    QStringList files_;
    bool kept_ = false;
};

// The data root the company table keeps: the working folder's (see StoredDataRoot()), or a
// server's as it was given.
QString CompanyDataRoot(const DataTreeInitOptions &options)
{
    return options.dataRoot.isEmpty() ? StoredDataRoot(options.folder) : options.dataRoot;
}

// Where the installation's tables go: the working folder's own first, then the data root's.
QStringList TablePaths(const DataTreeInitOptions &options, const QList<InstallationTable> &tables)
{
    QStringList paths;
    const QString root = options.dataRoot.isEmpty() ? options.folder : WithTrailingSeparator(options.dataRoot);
    for (qsizetype i = 0; i < tables.size(); ++i)
        paths << (i < 2 ? options.folder : root) + tables[i].relativePath;
    // The working folder's company table names the server the program is to find its data on.
    if (!options.dataRoot.isEmpty())
        paths << options.folder + tables[2].relativePath;
    return paths;
}

void RefuseExistingTables(const QStringList &paths)
{
    for (const QString &path : paths)
        if (IsServerPath(path) ? TableExists(path) : QFileInfo::exists(ResolvePathIgnoringCase(path)))
            throw DataTreeInitError(QStringLiteral("Tabela %1 już istnieje; nic nie zostało zmienione.").arg(path));
}

void CreateTable(Session &session, const QString &path, const TableDefinition &definition, CreatedFiles &created)
{
    const bool onServer = IsServerPath(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!onServer && !QDir().mkpath(folder))
        throw DataTreeInitError(QStringLiteral("Nie można utworzyć folderu %1.").arg(folder));
    Table table(session);
    table.setTableName(path);
    created.add(path);
    table.create(definition);
    if (!onServer && !WriteStructureListingFile(WithoutExtension(path) + QStringLiteral(".STR"), table.definition()))
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
    TableRecord record{{QStringLiteral("NR"), 1}, {QStringLiteral("DR"), CompanyDataRoot(options)}};
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
    RefuseDataRootTooLong(StoredDataRoot(folder));
}

void RefuseDataRootTooLong(const QString &stored)
{
    const int room = RoomForDataRoot();
    if (stored.size() > room)
        throw DataTreeInitError(QStringLiteral("Ścieżka %1 ma %2 znaków, a pole DR tabeli firmy mieści %3. "
                                               "Wybierz krótszą ścieżkę.")
                                    .arg(stored, QString::number(stored.size()), QString::number(room)));
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
        } else if (arguments[i].startsWith(QLatin1String("dr="), Qt::CaseInsensitive)) {
            options.dataRoot = arguments[i].mid(3);
            if (!ServerDataRoot(options.dataRoot)) {
                error = QStringLiteral("dr= przy zakładaniu instalacji musi wskazywać bazę danych na serwerze "
                                       "(pg:USŁUGA albo postgresql://...).");
                return std::nullopt;
            }
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
    RefuseDataRootTooLong(CompanyDataRoot(options));
    if (!QDir().mkpath(options.folder))
        throw DataTreeInitError(QStringLiteral("Nie można utworzyć folderu %1.").arg(options.folder));
    const QStringList paths = TablePaths(options, tables);
    try {
        RefuseExistingTables(paths);
    } catch (const EngineError &error) {
        throw DataTreeInitError(error.message());
    }

    Session session;
    session.setWorkingFolder(options.folder);
    CreatedFiles created;
    QList<InitialisedTable> result;
    try {
        // paths: one per table, then the working folder's company table when the data is on a server.
        for (qsizetype i = 0; i < paths.size(); ++i)
            CreateTable(session, paths[i], tables[i < tables.size() ? i : 2].definition, created);
        AppendRecords(session, paths[0], {ParameterRecord(clock.today())});
        AppendRecords(session, paths[1], {AdministratorRecord()});
        AppendRecords(session, paths[2], {CompanyRecord(options)});
        if (paths.size() > tables.size())
            AppendRecords(session, paths.last(), {CompanyRecord(options)});
        if (options.demo)
            FillDemoYear(session, options.dataRoot.isEmpty() ? options.folder : WithTrailingSeparator(options.dataRoot),
                         options.year, clock.today());
        // The engine's helper indexes are made with the tables, so no start has to make them.
        for (const QString &path : paths)
            BuildProgramHelperIndexes(session, path);
        for (qsizetype i = 0; i < tables.size(); ++i)
            result.append({tables[i].relativePath, CountRows(session, paths[i])});
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
