#include "maintenance/paradox_migration.h"

#include "base/progress.h"
#include "maintenance/paradox_field_conversion.h"
#include "maintenance/paradox_installation.h"
#include "maintenance/paradox_table_file.h"
#include "store/bulk_writer.h"
#include "store/data_tree.h"
#include "store/data_tree_initializer.h"
#include "store/engine_error.h"
#include "store/field_value.h"
#include "store/helper_indexes.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_records.h"
#include "store/table_replacement.h"
#include "store/write_structure_listing.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kListedChangesAtMost = 20;
constexpr int kRowsPerStep = 500;
const QString kDataRootField = QStringLiteral("DR");

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The table as the new installation holds it, and where each of its fields comes from.
struct TargetTable {
    TableDefinition definition;
    QList<int> sources; // per field of the definition, the old field's position
    bool carriedWhole = false;
    QStringList extraFields;
};

bool HasEveryField(const ParadoxTableFile &file, const TableDefinition &definition)
{
    for (const FieldDef &field : definition.fields)
        if (file.fieldIndex(field.name) < 0)
            return false;
    return true;
}

TargetTable CarriedInOwnFields(const OldInstallationTable &table, const ParadoxTableFile &file)
{
    TargetTable target;
    target.carriedWhole = true;
    for (int i = 0; i < file.fields().size(); ++i) {
        target.definition.fields << CarriedField(file.fields()[i]);
        target.sources << i;
    }
    if (file.keyFieldCount() > 0) {
        IndexDef primary;
        primary.primary = primary.unique = true;
        for (int i = 0; i < file.keyFieldCount() && i < file.fields().size(); ++i)
            primary.fields << file.fields()[i].name;
        target.definition.indexes << primary;
    }
    // An older structure of the program's own table keeps the program's other indexes it can.
    if (table.programDefinition) {
        for (const IndexDef &index : table.programDefinition->indexes) {
            bool covered = !index.primary;
            for (const QString &field : index.fields)
                covered = covered && target.definition.hasField(field);
            if (covered)
                target.definition.indexes << index;
        }
    }
    return target;
}

// The program's own tables take the program's structure, the fields the old table has beyond it
// following; an older structure of one (it lacks some of the program's fields) is carried over
// as it is, and the program upgrades it when it opens it, as it does for its own old tables.
TargetTable PlanTarget(const OldInstallationTable &table, const ParadoxTableFile &file)
{
    if (!table.programDefinition || !HasEveryField(file, *table.programDefinition))
        return CarriedInOwnFields(table, file);
    TargetTable target;
    target.definition = *table.programDefinition;
    for (const FieldDef &field : target.definition.fields)
        target.sources << file.fieldIndex(field.name);
    for (int i = 0; i < file.fields().size(); ++i) {
        if (target.definition.hasField(file.fields()[i].name))
            continue;
        target.definition.fields << CarriedField(file.fields()[i]);
        target.sources << i;
        target.extraFields << file.fields()[i].name;
    }
    return target;
}

class TableConverter {
public:
    TableConverter(Session &session, const QString &buildFolder, const QString &newFolder, Progress &progress)
        : session_(session), buildFolder_(buildFolder), newFolder_(newFolder), progress_(progress)
    {
    }

    MigratedTable convert(const OldInstallationTable &table)
    {
        ParadoxTableFile file(table.oldPath);
        const TargetTable target = PlanTarget(table, file);
        MigratedTable migrated;
        migrated.relativePath = table.relativePath;
        migrated.carriedWhole = target.carriedWhole;
        migrated.extraFields = target.extraFields;
        const QString path = QDir(buildFolder_).filePath(table.relativePath);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            throw ParadoxMigrationError(QStringLiteral("Nie można utworzyć folderu %1.").arg(Native(QFileInfo(path).absolutePath())));
        const int dataRootField = table.isCompanyTable ? target.definition.fieldIndex(kDataRootField) : -1;
        // The old side of the check is gathered from the values as they are read.
        const LedgerFigures::Source figureSource =
            table.year.isEmpty() ? LedgerFigures::Source::None
                                 : LedgerFigures::sourceOf(table.relativePath.mid(table.year.size() + 1));
        QList<int> figureFields;
        for (const QString &field : LedgerFigures::fieldsOf(figureSource))
            figureFields << file.fieldIndex(field);
        {
            // The other indexes are built once the rows are in: far quicker than keeping them
            // up to date row by row.
            TableDefinition keyed = target.definition;
            QList<IndexDef> later;
            for (qsizetype i = keyed.indexes.size() - 1; i >= 0; --i)
                if (!keyed.indexes[i].primary)
                    later.prepend(keyed.indexes.takeAt(i));
            Table out(session_);
            out.setTableName(path);
            out.create(keyed);
            out.open();
            BulkWriter writer(out);
            const QList<FieldDef> &fields = target.definition.fields;
            for (int row = 0; row < file.rowCount(); ++row) {
                const QList<QVariant> values = file.row(row);
                ++migrated.rowsRead;
                if (figureSource != LedgerFigures::Source::None) {
                    QList<QVariant> figureValues;
                    for (int field : std::as_const(figureFields))
                        figureValues << (field < 0 ? QVariant() : values[field]);
                    oldFigures_.add(table.year, figureSource, figureValues);
                }
                QVariantList stored(fields.size());
                for (int f = 0; f < fields.size(); ++f) {
                    ConvertedValue value;
                    if (f == dataRootField) {
                        value = dataRootValue(fields[f], values.value(target.sources[f]));
                    } else {
                        try {
                            value = ConvertParadoxValue(values.value(target.sources[f]), fields[f]);
                        } catch (const ParadoxFileError &error) {
                            throw ParadoxMigrationError(QStringLiteral("Tabela %1, wiersz %2, pole %3: %4")
                                                            .arg(Native(table.oldPath)).arg(row + 1)
                                                            .arg(fields[f].name, error.message()));
                        }
                    }
                    stored[f] = value.stored;
                    if (!value.change.isEmpty()) {
                        ++migrated.valuesChanged;
                        if (migrated.changes.size() < kListedChangesAtMost)
                            migrated.changes << QStringLiteral("wiersz %1, pole %2: %3").arg(row + 1).arg(fields[f].name, value.change);
                    }
                }
                insert(writer, stored, table, row);
                if ((row + 1) % kRowsPerStep == 0)
                    progress_.Postep();
            }
            writer.commit();
            for (const IndexDef &index : std::as_const(later))
                out.addIndex(index);
            if (out.definition().indexes != target.definition.indexes)
                throw ParadoxMigrationError(QStringLiteral("Tabela %1: indeksy nie zostały utworzone.").arg(Native(path)));
        }
        migrated.rowsWritten = CountRows(session_, path);
        progress_.Postep();
        return migrated;
    }

    // The old tables' cash figures, from the rows converted so far.
    const LedgerFigures &oldFigures() const { return oldFigures_; }

private:
    // The company row names the new installation's folder as its data root.
    ConvertedValue dataRootValue(const FieldDef &field, const QVariant &old) const
    {
        const QString folder = StoredDataRoot(WithTrailingSeparator(Native(newFolder_)));
        ConvertedValue value{StoredValue(field, folder), QString()};
        if (old.toString() != folder)
            value.change = QStringLiteral("folder danych \"%1\" zastąpiony folderem nowej instalacji").arg(old.toString());
        return value;
    }

    void insert(BulkWriter &writer, QVariantList &stored, const OldInstallationTable &table, int row)
    {
        try {
            writer.insert(stored);
        } catch (const EngineError &error) {
            if (error.kind() == EngineErrorKind::KeyViolation) {
                QStringList keyFields;
                for (int field : writer.primaryKeyFields())
                    keyFields << writer.definition().fields[field].name;
                throw ParadoxMigrationError(QStringLiteral("Tabela %1, wiersz %2, pola %3: ten klucz ma już inny wiersz.")
                                                .arg(Native(table.oldPath)).arg(row + 1).arg(keyFields.join(u';')));
            }
            throw ParadoxMigrationError(QStringLiteral("Tabela %1, wiersz %2: %3")
                                            .arg(Native(table.oldPath)).arg(row + 1).arg(error.message()));
        }
    }

    Session &session_;
    QString buildFolder_;
    QString newFolder_;
    Progress &progress_;
    LedgerFigures oldFigures_;
};

// The program's tables that no old table became, in the working folder, the data root and each
// year brought over: made empty, as a new installation has them.
QList<InstallationTable> MissingProgramTables(const QList<OldInstallationTable> &tables)
{
    QStringList present;
    QStringList years;
    for (const OldInstallationTable &table : tables) {
        present << QDir::fromNativeSeparators(table.relativePath).toUpper();
        if (!table.year.isEmpty() && !years.contains(table.year))
            years << table.year;
    }
    QList<InstallationTable> missing;
    QStringList listed;
    for (const QString &year : std::as_const(years)) {
        for (const InstallationTable &table : InstallationTables(year)) {
            const QString path = QDir::fromNativeSeparators(table.relativePath).toUpper();
            if (!present.contains(path) && !listed.contains(path)) {
                missing << table;
                listed << path;
            }
        }
    }
    return missing;
}

QString AbsoluteFolder(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

void RequireFolder(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        throw ParadoxMigrationError(QStringLiteral("Folder %1 nie istnieje.").arg(Native(folder)));
}

void RequireFreeTarget(const QString &folder)
{
    const QFileInfo target(folder);
    if (target.exists() && (!target.isDir() || !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)))
        throw ParadoxMigrationError(QStringLiteral("Folder %1 nie jest pusty: nowa instalacja powstaje w nowym albo pustym "
                                                   "folderze.").arg(Native(folder)));
    try {
        RefuseWhenTooLongForCompanyTable(WithTrailingSeparator(Native(folder)));
    } catch (const DataTreeInitError &error) {
        throw ParadoxMigrationError(error.message());
    }
}

// Every old table opened and its header checked before anything is written; the number of
// gauge steps the conversion will take.
int CheckEveryTable(const QList<OldInstallationTable> &tables)
{
    int steps = 0;
    for (const OldInstallationTable &table : tables) {
        const ParadoxTableFile file(table.oldPath);
        steps += 1 + file.rowCount() / kRowsPerStep;
    }
    return steps;
}

// The built folder takes the target's name (an empty target folder gives way to it).
void PutInPlace(const QString &built, const QString &target)
{
    if (QFileInfo(target).isDir())
        QDir().rmdir(target);
    if (std::rename(QFile::encodeName(built).constData(), QFile::encodeName(target).constData()) != 0)
        throw ParadoxMigrationError(QStringLiteral("Nie można nadać nowej instalacji nazwy %1.").arg(Native(target)));
    SyncFileAndFolder(target);
}

} // namespace

ParadoxMigrationResult MigrateParadoxInstallation(const ParadoxMigrationRequest &request, Progress &progress)
{
    const QString oldWorking = AbsoluteFolder(request.oldWorkingFolder);
    const QString oldRoot = request.oldDataRoot.isEmpty() ? oldWorking : AbsoluteFolder(request.oldDataRoot);
    if (request.newFolder.trimmed().isEmpty())
        throw ParadoxMigrationError(QStringLiteral("Nie podano folderu nowej instalacji."));
    const QString target = AbsoluteFolder(request.newFolder);
    RequireFolder(oldWorking);
    RequireFolder(oldRoot);
    RequireFreeTarget(target);

    QList<OldInstallationTable> tables;
    int steps = 0;
    try {
        tables = FindOldInstallationTables(oldWorking, request.oldDataRoot.isEmpty() ? QString() : oldRoot);
        steps = CheckEveryTable(tables);
    } catch (const ParadoxFileError &error) {
        throw ParadoxMigrationError(error.message());
    }

    const QString parent = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(parent))
        throw ParadoxMigrationError(QStringLiteral("Nie można utworzyć folderu %1.").arg(Native(parent)));
    QTemporaryDir build(QDir(parent).filePath(QStringLiteral(".%1-przenoszenie-XXXXXX").arg(QFileInfo(target).fileName())));
    if (!build.isValid())
        throw ParadoxMigrationError(QStringLiteral("Nie można utworzyć folderu roboczego w %1.").arg(Native(parent)));

    ParadoxMigrationResult result;
    result.newFolder = target;
    progress.Start(QStringLiteral("Przenoszenie danych"), steps);
    const auto stop = qScopeGuard([&] { progress.Stop(); });
    {
        Session session;
        session.setWorkingFolder(build.path());
        try {
            TableConverter converter(session, build.path(), target, progress);
            QList<OldInstallationTable> listed; // the program's own tables
            for (const OldInstallationTable &table : std::as_const(tables))
                result.tables << converter.convert(table);
            for (const OldInstallationTable &table : std::as_const(tables))
                if (table.programDefinition)
                    listed << table;
            for (const InstallationTable &table : MissingProgramTables(tables)) {
                const QString path = QDir(build.path()).filePath(table.relativePath);
                QDir().mkpath(QFileInfo(path).absolutePath());
                Table empty(session);
                empty.setTableName(path);
                empty.create(table.definition);
                MigratedTable created;
                created.relativePath = table.relativePath;
                created.createdEmpty = true;
                result.tables << created;
                OldInstallationTable made;
                made.relativePath = table.relativePath;
                made.programDefinition = table.definition;
                listed << made;
            }
            // The program's own tables get their structure listings and the engine's helper
            // indexes as a new installation has them.
            for (const OldInstallationTable &table : std::as_const(listed)) {
                const QString path = QDir(build.path()).filePath(table.relativePath);
                WriteStructureListing(session, WithoutDbExtension(path));
                BuildProgramHelperIndexes(session, path);
            }
            for (int i = 0; i < tables.size(); ++i)
                result.figures.lines << ComparedFigure{QStringLiteral("Tabela %1: wiersze").arg(tables[i].relativePath),
                                                       QString::number(ParadoxTableFile(tables[i].oldPath).rowCount()),
                                                       QString::number(result.tables[i].rowsWritten)};
            QStringList years;
            for (const OldInstallationTable &table : std::as_const(tables))
                if (!table.year.isEmpty() && !years.contains(table.year))
                    years << table.year;
            result.figures.lines << CompareLedgerFigures(converter.oldFigures(), ReadLedgerFigures(session, build.path(), years));
        } catch (const ParadoxFileError &error) {
            throw ParadoxMigrationError(error.message());
        } catch (const EngineError &error) {
            throw ParadoxMigrationError(error.message());
        }
    }
    if (!result.figures.agree())
        return result;
    PutInPlace(build.path(), target);
    build.setAutoRemove(false);
    result.installed = true;
    return result;
}
