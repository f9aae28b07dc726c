#include "store/old_version_conversion.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "base/server_location.h"
#include "store/crash_point.h"
#include "store/cut_texts.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/helper_indexes.h"
#include "store/read_only_table_file.h"
#include "store/structure_work_lock.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_helper_context.h"
#include "store/table_replacement.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <cstdio>

namespace {

const QString kSymbol = QStringLiteral("SYMBOL");
const QString kNumber = QStringLiteral("NUMER");
const QString kOldDesk = QStringLiteral("AUTOKASA");
const QString kOldReport = QStringLiteral("AUTORK");
const QStringList kTableFiles{QStringLiteral("KASA.DB"), QStringLiteral("RKASA.DB"), QStringLiteral("NAGKASA.DB")};
const QString kStateFile = QStringLiteral("STAN.TXT");
const QByteArray kBuilt = "ZBUDOWANA";
const QByteArray kInstalled = "ZAKONCZONA";
constexpr int kListedRowsAtMost = 30;

struct ConversionPaths {
    QString cashFolder;       // KASA of the working year
    QString conversionFolder; // KASA\KONWERT

    QString inCash(const QString &fileName) const { return ResolvePathIgnoringCase(QDir(cashFolder).filePath(fileName)); }
    QString converted(const QString &fileName) const { return QDir(conversionFolder).filePath(fileName); }
    QString keptOldFolder() const { return QDir(conversionFolder).filePath(QStringLiteral("STARE")); }
    QString keptOld(const QString &fileName) const { return QDir(keptOldFolder()).filePath(fileName); }
    QString stateFile() const { return converted(kStateFile); }
};

ConversionPaths PathsOf(const GlobalState &state)
{
    const QString cash = ResolvePathIgnoringCase(YearTablePath(state.DataRoot, state.CurrentYear, QStringLiteral("KASA")));
    return {cash, ResolvePathIgnoringCase(QDir(cash).filePath(QStringLiteral("KONWERT")))};
}

// --- The conversion's state, kept beside its tables -------------------------------------------

QByteArray ReadState(const ConversionPaths &paths)
{
    QFile file(paths.stateFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

bool WriteState(const ConversionPaths &paths, const QByteArray &state)
{
    QSaveFile file(paths.stateFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(state + "\r\n") < 0 || !file.commit())
        return false;
    return SyncFileAndFolder(paths.stateFile());
}

// --- Building the new tables ------------------------------------------------------------------

// The new tables, each following the one above it as the program's own objects do.
struct NewTables {
    Table desks;
    Table reports;
    Table documents;

    explicit NewTables(Session &session) : desks(session), reports(session), documents(session)
    {
        reports.setMasterSource(&desks, {kSymbol}, {kSymbol});
        documents.setMasterSource(&reports, {kSymbol, kNumber}, {kSymbol, kNumber});
    }

    void create(const ConversionPaths &paths)
    {
        desks.setTableName(paths.converted(kTableFiles[0]));
        reports.setTableName(paths.converted(kTableFiles[1]));
        documents.setTableName(paths.converted(kTableFiles[2]));
        desks.create(CashDeskTableDefinition());
        reports.create(CashReportTableDefinition());
        documents.create(ConvertedCashDocumentTableDefinition());
        desks.open();
        reports.open();
        documents.open();
    }
};

// The old tables, linked through the automatic numbers, held by this program alone.
struct OldTables {
    Table desks;
    Table reports;
    Table documents;

    explicit OldTables(Session &session) : desks(session), reports(session), documents(session)
    {
        reports.setMasterSource(&desks, {kOldDesk}, {kOldDesk});
        documents.setMasterSource(&reports, {kOldDesk, kOldReport}, {kOldDesk, kOldReport});
    }

    QList<Table *> all() { return {&desks, &reports, &documents}; }
    void close()
    {
        for (Table *table : all())
            table->close();
    }
};

bool IsOldReportTable(const TableDefinition &definition)
{
    return definition.hasField(kOldDesk);
}

// Counts of the rows written, to be found again in the written tables.
struct CopiedRows {
    int desks = 0;
    int reports = 0;
    int documents = 0;
};

// Every field of the new row from the old field of the same name; the link fields come from the
// new master row and automatic numbers are given by the new table.
void CopyFieldsByName(const Table &from, Table &to, const QList<FieldDef> &fields, const QStringList &linkFields,
                      CutTexts &cut, const QString &row)
{
    for (const FieldDef &field : fields) {
        if (field.type == FieldType::AutoIncrement || linkFields.contains(field.name))
            continue;
        if (!from.hasField(field.name) || from.isNull(field.name))
            continue;
        if (field.type == FieldType::Text)
            cut.setText(to, field.name, from.asString(field.name), row);
        else
            to.setValue(field.name, from.value(field.name));
    }
}

// Hands out 1, 2, ... skipping the values already in use.
class FreeNumbers {
public:
    explicit FreeNumbers(QSet<QString> taken) : taken_(std::move(taken)) {}
    QString next()
    {
        QString candidate;
        do
            candidate = QString::number(++counter_);
        while (taken_.contains(candidate));
        return candidate;
    }
    // The next value that none of the given ones holds either.
    QString nextBesides(const QSet<QString> &given)
    {
        QString candidate;
        do
            candidate = next();
        while (given.contains(candidate));
        return candidate;
    }

private:
    QSet<QString> taken_;
    int counter_ = 0;
};

// The non-empty values of the field down the whole view (numbers other than 0).
QSet<QString> ValuesInUse(Table &table, const QString &field)
{
    QSet<QString> values;
    if (!table.hasField(field))
        return values;
    for (table.first(); !table.eof(); table.next()) {
        const QString value = table.asString(field).trimmed();
        if (!value.isEmpty() && value != QLatin1String("0"))
            values.insert(value);
    }
    return values;
}

class Copier {
public:
    Copier(OldTables &old, NewTables &converted, CutTexts &cut) : old_(old), new_(converted), cut_(cut)
    {
        deskFields_ = converted.desks.definition().fields;
        reportFields_ = converted.reports.definition().fields;
        documentFields_ = converted.documents.definition().fields;
    }

    CopiedRows copyDesks()
    {
        FreeNumbers deskSymbols(ValuesInUse(old_.desks, kSymbol));
        QSet<QString> symbols;
        for (old_.desks.first(); !old_.desks.eof(); old_.desks.next()) {
            new_.desks.append();
            const QString row = QStringLiteral("kasa AUTOKASA ") + old_.desks.asString(kOldDesk);
            CopyFieldsByName(old_.desks, new_.desks, deskFields_, {}, cut_, row);
            const QString symbol = new_.desks.asString(kSymbol);
            if (symbol.isEmpty()) {
                new_.desks.setString(kSymbol, deskSymbols.nextBesides(symbols));
            } else if (symbols.contains(symbol)) {
                // Two old symbols the same once cut to the new field's size: the later desk
                // takes a free symbol, or the desks could not both be converted.
                const QString free = deskSymbols.nextBesides(symbols);
                new_.desks.setString(kSymbol, free);
                renumbered_ << QStringLiteral("%1 (symbol \"%2\"): symbol zajęty, nadano \"%3\"")
                                   .arg(row, old_.desks.asString(kSymbol), free);
            }
            symbols.insert(new_.desks.asString(kSymbol));
            new_.desks.post();
            ++copied_.desks;
            copyReports();
        }
        return copied_;
    }

private:
    void copyReports()
    {
        FreeNumbers reportNumbers(ValuesInUse(old_.reports, kNumber));
        QSet<QString> numbers;
        for (old_.reports.first(); !old_.reports.eof(); old_.reports.next()) {
            new_.reports.append();
            const QString row = QStringLiteral("raport AUTORK ") + old_.reports.asString(kOldReport);
            CopyFieldsByName(old_.reports, new_.reports, reportFields_, {kSymbol}, cut_, row);
            if (new_.reports.asInteger(kNumber) == 0) {
                new_.reports.setString(kNumber, reportNumbers.nextBesides(numbers));
            } else if (numbers.contains(new_.reports.asString(kNumber))) {
                // Two reports of one desk under one number: the later one takes the next free
                // number, and its documents follow it.
                const QString free = reportNumbers.nextBesides(numbers);
                renumbered_ << QStringLiteral("kasa %1, %2: numer %3 powtórzony, nadano %4")
                                   .arg(new_.desks.asString(kSymbol), row, new_.reports.asString(kNumber), free);
                new_.reports.setString(kNumber, free);
            }
            numbers.insert(new_.reports.asString(kNumber));
            new_.reports.post();
            ++copied_.reports;
            copyDocuments();
        }
    }

    void copyDocuments()
    {
        for (old_.documents.first(); !old_.documents.eof(); old_.documents.next()) {
            new_.documents.append();
            const QString row = QStringLiteral("dokument %1 %2").arg(old_.documents.asString(QStringLiteral("RD")),
                                                                     old_.documents.asString(QStringLiteral("NRD")));
            CopyFieldsByName(old_.documents, new_.documents, documentFields_, {kSymbol, kNumber}, cut_, row);
            new_.documents.post();
            ++copied_.documents;
            CrashPoint("conversion-building");
        }
    }

public:
    // One line per desk symbol or report number changed because another row held it.
    const QStringList &renumbered() const { return renumbered_; }

private:
    OldTables &old_;
    NewTables &new_;
    CutTexts &cut_;
    QStringList renumbered_;
    QList<FieldDef> deskFields_, reportFields_, documentFields_;
    CopiedRows copied_;
};

// Reports whose desk is gone and documents whose report is gone: the links never reach them, so
// they cannot be carried over. Read through plain objects on the held files.
QStringList RowsWithoutTheirMaster(Session &session, const ConversionPaths &paths)
{
    QStringList lines;
    Table desks(session), reports(session), documents(session);
    desks.setTableName(paths.inCash(kTableFiles[0]));
    reports.setTableName(paths.inCash(kTableFiles[1]));
    documents.setTableName(paths.inCash(kTableFiles[2]));
    desks.open();
    reports.open();
    documents.open();
    QSet<int> deskNumbers;
    for (desks.first(); !desks.eof(); desks.next())
        deskNumbers.insert(desks.asInteger(kOldDesk));
    QSet<QPair<int, int>> reachedReports;
    for (reports.first(); !reports.eof(); reports.next()) {
        const int desk = reports.asInteger(kOldDesk);
        if (deskNumbers.contains(desk))
            reachedReports.insert({desk, reports.asInteger(kOldReport)});
        else
            lines << QStringLiteral("raport AUTOKASA %1 AUTORK %2 NUMER %3 bez swojej kasy")
                         .arg(desk)
                         .arg(reports.asInteger(kOldReport))
                         .arg(reports.asString(kNumber));
    }
    for (documents.first(); !documents.eof(); documents.next()) {
        if (!reachedReports.contains({documents.asInteger(kOldDesk), documents.asInteger(kOldReport)}))
            lines << QStringLiteral("dokument %1 %2 (AUTOKASA %3 AUTORK %4) bez swojego raportu")
                         .arg(documents.asString(QStringLiteral("RD")), documents.asString(QStringLiteral("NRD")))
                         .arg(documents.asInteger(kOldDesk))
                         .arg(documents.asInteger(kOldReport));
    }
    return lines;
}

// The rows of each written table, counted again from the files.
bool WrittenRowsMatch(Session &session, const QStringList &files, const CopiedRows &copied)
{
    const QList<int> expected{copied.desks, copied.reports, copied.documents};
    for (int i = 0; i < files.size(); ++i) {
        Table written(session);
        written.setTableName(files[i]);
        written.open();
        if (written.recordCount() != expected[i])
            return false;
    }
    return true;
}

// --- Putting the new tables in place ----------------------------------------------------------

bool SameFile(const QString &a, const QString &b)
{
    return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

// The old table under a second name in KONWERT\STARE (its first name will soon name the new
// table). Kept from the first attempt on: a resumed install finds the true old table there.
bool KeepOldTable(const ConversionPaths &paths, const QString &fileName)
{
    const QString kept = paths.keptOld(fileName);
    if (QFileInfo::exists(kept))
        return true;
    return GiveSecondName(paths.inCash(fileName), kept);
}

// The rows of a table file, read without the engine: the file is not yet any table's, and no
// lock of another program on the table's name may stand in the way. -1 when it cannot be read.
qint64 RowsInFile(const QString &path)
{
    return ReadOnlyTableFile(path).rowCount();
}

// A complete copy of the new table beside the old one, checked row for row against the built
// table, then one rename over the old one.
bool CopyNewTableInPlace(const ConversionPaths &paths, const QString &fileName)
{
    const QString source = paths.converted(fileName);
    const QString target = paths.inCash(fileName);
    const QString copying = QDir(paths.cashFolder).filePath(QLatin1Char('~') + fileName);
    QFile::remove(copying);
    const qint64 expected = RowsInFile(source);
    if (expected < 0 || !QFile::copy(source, copying) || !SyncFileAndFolder(copying) || RowsInFile(copying) != expected) {
        QFile::remove(copying);
        return false;
    }
    QFile::remove(target + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(copying).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(copying);
        return false;
    }
    return SyncFileAndFolder(target);
}

// The listings beside the old tables describe the old structure; fresh ones are written when the
// new tables are first opened.
bool RemoveOldListings(const ConversionPaths &paths)
{
    bool removed = true;
    for (const QString &fileName : kTableFiles) {
        const QString listing = paths.inCash(QString(fileName).replace(QStringLiteral(".DB"), QStringLiteral(".STR")));
        if (QFileInfo::exists(listing) && !QFile::remove(listing))
            removed = false;
    }
    return removed;
}

// The old tables back under their names, from KONWERT\STARE.
void PutOldTablesBack(const ConversionPaths &paths)
{
    for (const QString &fileName : kTableFiles) {
        const QString kept = paths.keptOld(fileName);
        const QString target = paths.inCash(fileName);
        if (!QFileInfo::exists(kept) || SameFile(kept, target))
            continue;
        const QString copying = QDir(paths.cashFolder).filePath(QLatin1Char('~') + fileName);
        QFile::remove(copying);
        if (!GiveSecondName(kept, copying))
            continue;
        std::rename(QFile::encodeName(copying).constData(), QFile::encodeName(target).constData());
        SyncFileAndFolder(target);
    }
    QFile::remove(paths.stateFile());
    SyncFileAndFolder(paths.conversionFolder + QStringLiteral("/."));
}

// Copies the built conversion over the old tables; on any failure the old tables go back. The
// old tables are held until every new one has its name.
bool InstallConversion(const ConversionPaths &paths, OldTables &held)
{
    if (!QDir().mkpath(paths.keptOldFolder())) {
        held.close();
        return false;
    }
    for (const QString &fileName : kTableFiles) {
        if (!KeepOldTable(paths, fileName)) {
            held.close();
            PutOldTablesBack(paths);
            return false;
        }
    }
    CrashPoint("conversion-kept");
    bool installed = true;
    for (const QString &fileName : kTableFiles) {
        if (!CopyNewTableInPlace(paths, fileName)) {
            installed = false;
            break;
        }
        CrashPoint("conversion-copied");
    }
    // Each copy was counted before it took its name; from here on another program may open the
    // new tables.
    held.close();
    if (installed && RemoveOldListings(paths)) {
        CrashPoint("conversion-listings");
        if (WriteState(paths, kInstalled))
            return true;
    }
    PutOldTablesBack(paths);
    return false;
}

QString NotesText(const CutTexts &cut, const QStringList &orphans, const QStringList &renumbered)
{
    QString notes;
    if (!renumbered.isEmpty())
        notes += QStringLiteral("\rZmieniono powtarzające się oznaczenia:\r") + renumbered.join(u'\r');
    if (!cut.isEmpty())
        notes += QStringLiteral("\rSkrócono wartości, których nie mieszczą nowe pola:") + cut.listing(QString());
    if (!orphans.isEmpty()) {
        notes += QStringLiteral("\rNie przeniesiono (zostają w starych tabelach w folderze KONWERT\\STARE):");
        for (int i = 0; i < orphans.size() && i < kListedRowsAtMost; ++i)
            notes += u'\r' + orphans[i];
        if (orphans.size() > kListedRowsAtMost)
            notes += QStringLiteral("\r... i %1 innych").arg(orphans.size() - kListedRowsAtMost);
    }
    return notes;
}

// Takes the three cash tables to this program alone; false when another program keeps one.
// `stillNeeded` says whether the work is still to be done, judged by the report table.
StructureWorkAccess HoldCashTables(OldTables &tables, const ConversionPaths &paths,
                                   const std::function<bool(const TableDefinition &)> &stillNeeded)
{
    const QList<Table *> all = tables.all();
    for (int i = 0; i < all.size(); ++i) {
        all[i]->setTableName(paths.inCash(kTableFiles[i]));
        const auto needed = [&](const TableDefinition &definition) {
            return i != 1 || stillNeeded(definition);
        };
        const StructureWorkAccess access = TakeTableForStructureWork(*all[i], needed);
        if (access != StructureWorkAccess::Taken) {
            tables.close();
            return access;
        }
    }
    return StructureWorkAccess::Taken;
}

} // namespace

ConversionOutcome ConvertOldVersionTables(TableHelperContext &context)
{
    ConversionOutcome outcome;
    // The conversion keeps its work and the old tables in folders beside the tables: a tree on a
    // server is converted on files and moved back.
    if (const std::optional<ServerTableAddress> server = ParseServerTablePath(context.state.DataRoot)) {
        context.prompt.error(
            QStringLiteral("Tabele kasy na serwerze bazy danych %1 są w starej wersji programu.\r"
                           "Konwersję starej wersji wykonuje się na danych zapisanych w plikach: przenieś dane do "
                           "folderu (kasa migrate --to FOLDER), uruchom program na tym folderze, a potem przenieś "
                           "dane z powrotem na serwer.\rNic nie zostało zmienione.")
                .arg(server->server));
        return outcome;
    }
    const ConversionPaths paths = PathsOf(context.state);
    OldTables old(context.session);
    QStringList failureNotes;
    try {
        switch (HoldCashTables(old, paths, IsOldReportTable)) {
        case StructureWorkAccess::Taken:
            break;
        case StructureWorkAccess::NotNeeded:
            context.prompt.information(QStringLiteral("Tabele kasy zostały już przekonwertowane na innym stanowisku."));
            return outcome;
        case StructureWorkAccess::HeldElsewhere:
            context.prompt.error(TableHeldElsewhereMessage(paths.inCash(kTableFiles[1])));
            return outcome;
        }
    } catch (const EngineError &) {
        old.close();
        context.prompt.error(QStringLiteral("Nie mozna otworzyć tabeli"));
        return outcome;
    }
    // A conversion built completely but not copied into place is finished, never built again.
    if (ReadState(paths) == kBuilt) {
        outcome.completed = InstallConversion(paths, old);
        old.close();
        if (!outcome.completed)
            context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli"));
        return outcome;
    }

    if (!QDir().mkpath(paths.conversionFolder)) {
        old.close();
        context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli"));
        return outcome;
    }
    QFile::remove(paths.stateFile());
    CutTexts cut;
    CopiedRows copied;
    QStringList renumbered;
    {
        NewTables converted(context.session);
        try {
            converted.create(paths);
        } catch (const EngineError &) {
            old.close();
            context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli"));
            return outcome;
        }
        try {
            TransactionScope scope;
            Copier copier(old, converted, cut);
            copied = copier.copyDesks();
            scope.commit();
            renumbered = copier.renumbered();
        } catch (const EngineError &error) {
            old.close();
            context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli") + u'\r' + error.message());
            return outcome;
        }
    }
    QStringList convertedFiles;
    for (const QString &fileName : kTableFiles)
        convertedFiles << paths.converted(fileName);
    // The converted tables get the engine's helper indexes before they take the old ones' place.
    for (const QString &file : convertedFiles)
        BuildProgramHelperIndexes(context.session, file);
    QStringList orphans;
    bool verified = false;
    try {
        orphans = RowsWithoutTheirMaster(context.session, paths);
        verified = WrittenRowsMatch(context.session, convertedFiles, copied);
        for (const QString &file : convertedFiles)
            verified = verified && SyncFileAndFolder(file);
    } catch (const EngineError &) {
        verified = false;
    }
    if (!verified || !WriteState(paths, kBuilt)) {
        old.close();
        context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli"));
        return outcome;
    }
    CrashPoint("conversion-built");
    outcome.completed = InstallConversion(paths, old);
    old.close();
    if (!outcome.completed) {
        context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli"));
        return outcome;
    }
    outcome.notes = NotesText(cut, orphans, renumbered);
    return outcome;
}

ConversionResumption ResumeInterruptedConversion(TableHelperContext &context)
{
    const ConversionPaths paths = PathsOf(context.state);
    if (ReadState(paths) != kBuilt)
        return ConversionResumption::Nothing;
    OldTables held(context.session);
    try {
        const StructureWorkAccess access =
            HoldCashTables(held, paths, [&](const TableDefinition &) { return ReadState(paths) == kBuilt; });
        if (access == StructureWorkAccess::NotNeeded)
            return ConversionResumption::Nothing;
        if (access == StructureWorkAccess::HeldElsewhere) {
            context.prompt.error(TableHeldElsewhereMessage(paths.inCash(kTableFiles[1])));
            return ConversionResumption::Held;
        }
    } catch (const EngineError &) {
        // A table that does not open (the old one may be gone): the copies in KONWERT still can.
        held.close();
    }
    const bool finished = InstallConversion(paths, held);
    held.close();
    if (finished) {
        context.prompt.information(QStringLiteral("Konwersja baz danych przerwana przy poprzednim uruchomieniu "
                                                  "programu została dokończona."));
        return ConversionResumption::Finished;
    }
    context.prompt.error(QStringLiteral("Konwersji baz danych przerwanej przy poprzednim uruchomieniu programu "
                                        "nie można dokończyć. Przywrócono tabele w starej wersji."));
    return ConversionResumption::RolledBack;
}
