#include "maintenance/new_year_opening.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "maintenance/archive_files.h"
#include "store/data_change_permission.h"
#include "store/copy_table_structure.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/helper_indexes.h"
#include "store/select_year.h"
#include "store/server_tree_transaction.h"
#include "store/table_connection.h"
#include "base/server_location.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_helper_context.h"
#include "store/unfinished_years.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <unistd.h>

namespace {

// A new table is built here, beside its folder's tables, and takes its name when complete.
const QString kScratchFolder = QStringLiteral(".kasa-nowy-rok");

const QString kContinueQuestion =
    QStringLiteral("Błąd otwarcia roku. Kontynuacja może doprowadzić do utarty danych.\rCzy kontynuować ?");

QString UpperAscii(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - ('a' - 'A'));
    return upper;
}

QString Joined(const QString &folder, const QString &name)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

bool IsYearText(const QString &text)
{
    static const QRegularExpression year(QStringLiteral("^[12][0-9]{3}$"));
    return year.match(text).hasMatch();
}

// Gives the finished table its name unless a table of that name appeared meanwhile.
bool LinkWithoutReplacing(const QString &scratch, const QString &target)
{
    const bool linked = ::link(QFile::encodeName(scratch).constData(), QFile::encodeName(target).constData()) == 0;
    QFile::remove(scratch);
    return linked;
}

// Builds the new year's table at the target from the open source table; false when it could not
// be made. Files: built beside its folder's tables and given its name only when complete, never
// over a table that appeared meanwhile. On a server the opening's one transaction keeps it from
// being seen before the whole year is.
bool BuildTable(Table &source, const YearOpeningRule &rule, const QString &target, TableHelperContext &tables)
{
    if (IsServerPath(target)) {
        const bool built = CopyTableStructure(source, target, rule.carryRows, rule.clearedFields, tables);
        source.close();
        return built && (BuildProgramHelperIndexes(tables.session, target), true);
    }
    const QFileInfo targetFile(target);
    const QString scratchFolder = QDir(targetFile.path()).filePath(kScratchFolder);
    QDir().mkpath(scratchFolder);
    const QString scratch = QDir(scratchFolder).filePath(targetFile.fileName());
    QFile::remove(scratch);
    const bool built = CopyTableStructure(source, scratch, rule.carryRows, rule.clearedFields, tables);
    source.close();
    // The new year's table gets the engine's helper indexes before it gets its name.
    if (built)
        BuildProgramHelperIndexes(tables.session, scratch);
    const bool linked = built && LinkWithoutReplacing(scratch, target);
    QFile::remove(scratch);
    QDir(scratchFolder).rmdir(QStringLiteral("."));
    QDir(targetFile.path()).rmdir(kScratchFolder);
    return linked;
}

void CopyOneTable(const QString &sourcePath, const QString &target, TableHelperContext &tables, NewYearLog &log,
                  NewYearReport &report)
{
    Table source(tables.session);
    try {
        source.setTableName(sourcePath);
        source.open();
    } catch (const EngineError &) {
        log.addLine(QStringLiteral("Bląd bazy :") + target);
        report.failedTables.append(target);
        return;
    }
    const YearOpeningRule rule = YearOpeningRuleFor(sourcePath);
    log.addLine(QStringLiteral("Tworzenie bazy :") + target);
    if (IsServerPath(target) ? TableExists(target) : QFileInfo::exists(ResolvePathIgnoringCase(target)))
        return; // a repeated opening keeps the table it made before
    if (BuildTable(source, rule, target, tables)) {
        ++report.createdTables;
    } else {
        log.addLine(QStringLiteral("Bląd bazy :") + target);
        report.failedTables.append(target);
    }
}

// The log of a year built aside names every folder and table by the year's own path.
class LogUnderYearName : public NewYearLog {
public:
    LogUnderYearName(NewYearLog &log, const QString &unfinished, const QString &target)
        : log_(log)
        , unfinished_(QDir::toNativeSeparators(unfinished))
        , target_(QDir::toNativeSeparators(target))
    {
    }
    void addLine(const QString &line) override { log_.addLine(shown(line)); }
    QString shown(QString text) const { return text.replace(unfinished_, target_); }

private:
    NewYearLog &log_;
    QString unfinished_;
    QString target_;
};

// Builds the whole year in the unfinished folder and gives it the year's name in one rename, so
// an interrupted opening leaves no year behind. A source table that cannot be read is logged and
// the rest goes over, as into an existing year.
void BuildYearAside(const QString &source, const QString &target, const QString &unfinished,
                    TableHelperContext &tables, NewYearLog &log, NewYearReport &report)
{
    QDir(unfinished).removeRecursively();
    if (!QDir().mkpath(unfinished)) {
        log.addLine(QStringLiteral("Bląd tworzenia katalogu :") + QDir::toNativeSeparators(target));
        report.failedTables.append(QDir::toNativeSeparators(target));
        return;
    }
    log.addLine(QStringLiteral("Tworzenie katalogu :") + target);
    LogUnderYearName shownLog(log, unfinished, target);
    Kopiuj(source, unfinished, tables, shownLog, report);
    for (QString &failed : report.failedTables)
        failed = shownLog.shown(failed);
    SyncToDisk(unfinished);
    if (::rename(QFile::encodeName(unfinished).constData(), QFile::encodeName(target).constData()) != 0) {
        report.failedTables.append(QDir::toNativeSeparators(target));
        QDir(unfinished).removeRecursively();
        report.createdTables = 0;
        log.addLine(QStringLiteral("Nowy rok nie został utworzony."));
        return;
    }
    SyncToDisk(QFileInfo(target).absolutePath());
}

// On a server the year is a schema: the opening makes it and copies every table of the source
// year into it in one transaction, so a kill or a lost connection leaves no year (or, into a year
// that is there, none of the missing tables). Two programs opening the same year wait in turn.
void OpenYearOnServer(const QString &source, const QString &target, const QString &newYear,
                      TableHelperContext &tables, NewYearLog &log, NewYearReport &report)
{
    try {
        ServerTreeTransaction transaction(report.folder);
        transaction.waitForOthersDoing(QStringLiteral("nowy rok ") + newYear);
        transaction.makeYear(newYear);
        log.addLine(QStringLiteral("Tworzenie katalogu :") + target);
        QString folder;
        for (const QString &table : ServerTablesOf(report.folder, QFileInfo(source).fileName())) {
            const QString relative = table.mid(source.size() + 1);
            const QString tableFolder = QFileInfo(relative).path();
            if (tableFolder != QLatin1String(".") && tableFolder != folder) {
                folder = tableFolder;
                log.addLine(QStringLiteral("Tworzenie katalogu :") + target + u'/' + folder);
            }
            CopyOneTable(table, target + u'/' + relative, tables, log, report);
        }
        transaction.commit();
    } catch (const EngineError &error) {
        report.createdTables = 0;
        report.failedTables.append(target);
        log.addLine(QStringLiteral("Nowy rok nie został utworzony."));
        tables.prompt.show(PromptIcon::Error, error.message(), Ok);
    }
}

} // namespace

const QList<YearOpeningRule> &TROKF()
{
    // The tables of this program. The other modules' tables that share the year folder go over
    // whole, as every table missing from the list does.
    static const QList<YearOpeningRule> rules = {
        {QStringLiteral("KASA\\KASA.DB"), true, QString()},
        {QStringLiteral("KASA\\NAGKASA.DB"), false, QString()},
        {QStringLiteral("KASA\\OPISKASA.DB"), true, QString()},
        {QStringLiteral("KASA\\RKASA.DB"), false, QString()},
        {QStringLiteral("FIN\\KONTRAHI.DB"), true, QString()},
        {QStringLiteral("FIN\\KONTRAHO.DB"), true, QString()},
        {QStringLiteral("FIN\\WALUTA.DB"), true, QString()},
        {QStringLiteral("KSIEGA\\USER.DB"), true, QString()},
        {QStringLiteral("SLOWNIKI\\KONTAK.DB"), true, QString()},
    };
    return rules;
}

YearOpeningRule YearOpeningRuleFor(const QString &tablePath)
{
    const QString path = UpperAscii(QDir::fromNativeSeparators(tablePath));
    YearOpeningRule found{path, true, QString()};
    for (const YearOpeningRule &rule : TROKF())
        if (path.endsWith(u'/' + QString(rule.path).replace(u'\\', u'/')))
            found = rule;
    return found;
}

void Kopiuj(const QString &sourceFolder, const QString &targetFolder, TableHelperContext &tables, NewYearLog &log,
            NewYearReport &report)
{
    const QFileInfoList entries = QDir(sourceFolder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            if (name == kScratchFolder)
                continue;
            const QString target = Joined(targetFolder, name);
            QDir().mkdir(ResolvePathIgnoringCase(target));
            log.addLine(QStringLiteral("Tworzenie katalogu :") + target);
            Kopiuj(entry.filePath(), ResolvePathIgnoringCase(target), tables, log, report);
        } else if (UpperAscii(name.right(2)) == QLatin1String("DB")) {
            CopyOneTable(entry.filePath(), Joined(targetFolder, name), tables, log, report);
        }
    }
}

NewYearReport OpenNewYear(const NewYearRequest &request, TableHelperContext &tables, NewYearLog &log)
{
    NewYearReport report;
    Prompt &prompt = tables.prompt;
    if (!CheckDataChangePermission(tables.state, prompt))
        return report;
    if (!IsYearText(request.newYear) || !IsYearText(request.sourceYear)) {
        prompt.show(PromptIcon::Warning, QStringLiteral("Rok musi mieć cztery cyfry, np. 2020."), Ok);
        return report;
    }
    report.folder = request.folder.isEmpty() ? QString() : WithTrailingSeparator(request.folder);
    const QString source = report.folder + request.sourceYear;
    const QString target = report.folder + request.newYear;
    log.addLine(QStringLiteral("Generowanie nowego roku."));
    log.addLine(QStringLiteral("Baza danych w katalogu : ") + source);
    const bool onServer = IsServerPath(report.folder);
    const QStringList years = onServer ? ListYearFolders(report.folder) : QStringList();
    if (onServer ? !years.contains(request.sourceYear) : !QFileInfo(source).isDir())
        log.addLine(QStringLiteral("Brak katalogu : ") + source);
    if (onServer) {
        if (years.contains(request.newYear) && prompt.show(PromptIcon::Warning, kContinueQuestion, Yes | No) != Yes)
            return report;
        report.started = true;
        OpenYearOnServer(source, target, request.newYear, tables, log, report);
        if (ListYearFolders(report.folder).contains(request.newYear) && !tables.state.YearFolders.contains(request.newYear))
            tables.state.YearFolders.append(request.newYear);
        log.addLine(QStringLiteral("KONIEC."));
        return report;
    }
    RemoveUnfinishedYears(report.folder);
    if (!QFileInfo::exists(target)) {
        report.started = true;
        BuildYearAside(source, target, UnfinishedYearFolder(report.folder, request.newYear), tables, log, report);
        if (QFileInfo::exists(target) && !tables.state.YearFolders.contains(request.newYear))
            tables.state.YearFolders.append(request.newYear);
        log.addLine(QStringLiteral("KONIEC."));
        return report;
    }
    if (!QDir().mkdir(target)) {
        if (prompt.show(PromptIcon::Warning, kContinueQuestion, Yes | No) != Yes)
            return report;
    }
    report.started = true;
    log.addLine(QStringLiteral("Tworzenie katalogu :") + target);
    Kopiuj(source, target, tables, log, report);
    // The year-change window offers the new year at once; a repeated opening adds it once.
    if (!tables.state.YearFolders.contains(request.newYear))
        tables.state.YearFolders.append(request.newYear);
    log.addLine(QStringLiteral("KONIEC."));
    return report;
}
