#include "store/data_module.h"

#include "base/command_line.h"
#include "base/global_state.h"
#include "base/prompt.h"
#include "base/server_location.h"
#include "store/select_year.h"
#include "base/text_format.h"
#include "store/data_tree.h"
#include "store/description_table_conversion.h"
#include "store/engine_error.h"
#include "store/no_identification_login.h"
#include "store/old_version_conversion.h"
#include "store/open_table_guarded.h"
#include "store/session.h"
#include "store/structure_upgrades.h"
#include "store/table_object_open.h"
#include "store/table_schemas.h"
#include "store/file_move_journal.h"
#include "store/unfinished_years.h"

#include <QDir>

#include <algorithm>

namespace {

// The table password of the session: a fixed text the tables are given.
const QString kTablePassword = QStringLiteral("kp");
const QString kDocumentDateIndex = QStringLiteral("Dinx");
// Older document tables keep their date index over three fields.
constexpr int kOldDateIndexFieldCount = 3;

IndexDef DocumentDateIndex()
{
    for (const IndexDef &index : CashDocumentTableDefinition().indexes)
        if (index.name == kDocumentDateIndex)
            return index;
    return {};
}

// The indexes of the current document structure that the table file lacks (the date index is
// checked apart, for its key).
QList<IndexDef> MissingDocumentIndexes(const TableDefinition &definition)
{
    QList<IndexDef> missing;
    for (const IndexDef &index : CashDocumentTableDefinition().indexes) {
        const bool present = std::any_of(definition.indexes.cbegin(), definition.indexes.cend(),
                                         [&](const IndexDef &existing) {
                                             return existing.primary == index.primary
                                                    && existing.name.compare(index.name, Qt::CaseInsensitive) == 0;
                                         });
        if (!present && index.name != kDocumentDateIndex)
            missing << index;
    }
    return missing;
}

QString FieldText(const Table &table, const QString &field)
{
    return table.isOpen() && table.hasField(field) ? table.asString(field) : QString();
}

} // namespace

void TDANE::runOpenSequence()
{
    GlobalState &state = context_.state;
    closeAll();
    context_.session.setPassword(kTablePassword);
    state.OpenedTableList.clear();
    try {
        const QString dataRoot = DataRootFromArguments(context_.environment.arguments);
        if (!dataRoot.isEmpty())
            state.DataRoot = WithTrailingSeparator(dataRoot);
        // A restore cut short during its switch is finished before any table of the tree opens.
        const QString finishedIn = state.DataRoot.isEmpty() ? context_.session.workingFolder() : state.DataRoot;
        FinishInterruptedMoves(finishedIn);
        if (openCompanyAndParameters() && !state.StartupStop) {
            state.CompanyShortName = FieldText(TFIRMA, QStringLiteral("SKROT"));
            if (logIn()) {
                // The company table may name another data root than the one known before.
                if (QDir(state.DataRoot) != QDir(finishedIn))
                    FinishInterruptedMoves(state.DataRoot);
                RemoveUnfinishedYears(state.DataRoot);
                selectYear();
                openYearTables();
            }
        }
    } catch (const EngineError &error) {
        // What is open stays open; the program goes on with it. A server that could not be
        // reached for the company table has said so already.
        const bool saidAlready = error.kind() == EngineErrorKind::Unreachable && !TFIRMA.isOpen()
                                 && IsServerPath(state.DataRoot);
        if (!saidAlready)
            context_.prompt.error(error.message());
    } catch (const Abort &) {
        // A refusal (the login abandoned) has said why.
    }
    openedBefore_ = true;
}

// The company table gives the data root when no argument did; the parameter table is needed to
// go on at all.
bool TDANE::openCompanyAndParameters()
{
    GlobalState &state = context_.state;
    OpenTableGuarded(TFIRMA, CompanyTablePath(state.DataRoot), QStringLiteral("Brak danych o firmie"), helpers_);
    if (TFIRMA.isOpen() && state.DataRoot.isEmpty())
        state.DataRoot = WithTrailingSeparator(FieldText(TFIRMA, QStringLiteral("DR")));
    OpenTableGuarded(TPARA, QStringLiteral("KASA"), QString(), helpers_);

    if (!TFIRMA.isOpen() && !TPARA.isOpen()) {
        context_.prompt.error(TableDriverErrorMessage(context_.environment, state.DataRoot));
        state.StartupStop = true;
        return false;
    }
    if (!TPARA.isOpen()) {
        context_.prompt.error(ParameterTableErrorMessage(QDir(context_.session.workingFolder()).filePath(QStringLiteral("KASA"))));
        state.StartupStop = true;
        return false;
    }
    return true;
}

bool TDANE::logIn()
{
    GlobalState &state = context_.state;
    try {
        UpgradeParameterTable(TPARA, helpers_);
    } catch (const EngineError &) {
        // Reported below when the table did not open again.
    }
    if (!TPARA.isOpen()) {
        context_.prompt.error(ParameterTableErrorMessage(QDir(context_.session.workingFolder()).filePath(QStringLiteral("KASA"))));
        state.StartupStop = true;
        return false;
    }
    const bool allowed = context_.loginUser ? context_.loginUser(TPARA)
                                            : LoginWithoutIdentification(TPARA, state, context_.prompt);
    state.StartupStop = !allowed;
    return allowed;
}

void TDANE::selectYear()
{
    std::optional<QString> fiscalYearStart;
    if (TFIRMA.isOpen() && TFIRMA.hasField(QStringLiteral("OBRDATA")))
        fiscalYearStart = TFIRMA.asString(QStringLiteral("OBRDATA"));
    SelectYear(context_.state, context_.environment.arguments,
               WithTrailingSeparator(context_.environment.programFolder), fiscalYearStart, context_.prompt,
               openedBefore_ ? YearSelectionRun::Reopen : YearSelectionRun::FirstOpen);
}

void TDANE::limitYearTables(const QList<TableMember> &tables)
{
    QList<const Table *> wanted;
    for (const TableMember member : tables)
        for (const Table *table = &(this->*member); table && !wanted.contains(table); table = table->masterSource())
            wanted.append(table);
    wantedYearTables_ = wanted;
}

bool TDANE::opensYearTable(const Table &table) const
{
    return !wantedYearTables_ || wantedYearTables_->contains(&table);
}

// A table the sequence is not to open only gets its name.
void TDANE::openYearTables()
{
    const auto plain = [this](Table &table, const QString &relative, const QString &failureText) {
        if (opensYearTable(table))
            openPlain(table, relative, failureText);
        else
            nameUnopened(table, relative);
    };
    const auto named = [this](Table &table, const QString &relative, const QString &displayName) {
        if (opensYearTable(table))
            openNamed(table, relative, displayName);
        else
            nameUnopened(table, relative + QStringLiteral(".DB"));
    };
    plain(TKontrah, QStringLiteral("FIN\\KONTRAHI.DB"), QStringLiteral("Baza kontrahentów "));
    nameUnopened(TKONTRAHo, QStringLiteral("FIN\\KONTRAHO.DB"));
    nameUnopened(TRAZEM, QStringLiteral("KASA\\RAZEM.DB"));
    named(TWALUTA, QStringLiteral("\\FIN\\WALUTA"), QStringLiteral("Baza walut"));
    // A conversion that a power cut stopped half-way is finished (or undone) before anything
    // reads the cash tables.
    if (ResumeInterruptedConversion(helpers_) == ConversionResumption::Held) {
        context_.state.StartupStop = true;
        return;
    }
    named(TKASA, QStringLiteral("KASA\\KASA"), QStringLiteral("Baza Kasy"));
    named(TRKASA, QStringLiteral("KASA\\RKASA"), QStringLiteral("Baza Raport Kasowy"));
    if (opensYearTable(TRKASA) && !openCashReportsOrConvert())
        return;
    if (opensYearTable(TNAG)) {
        openDocuments();
    } else {
        nameUnopened(TNAG, QStringLiteral("KASA\\NAGKASA.DB"));
        nameUnopened(KNAG, QStringLiteral("KASA\\NAGKASA.DB"));
    }
    plain(TPOZ, QStringLiteral("KASA\\NAGKASA.DB"), QStringLiteral("Pozycje :"));
    if (opensYearTable(TUSER))
        openOperators();
    else
        nameUnopened(TUSER, QStringLiteral("KSIEGA\\USER.DB"));
    if (opensYearTable(TSLO))
        openDescriptions();
    else
        nameUnopened(TSLO, QStringLiteral("KASA\\OPISKASA.DB"));
    context_.state.BiezacyRD = QStringLiteral("KP");
    plain(TKONTA, QStringLiteral("SLOWNIKI\\KONTAK.DB"), QStringLiteral("Baza Slownika KONT "));
}

// A report table that did not open may be one of the oldest version; with the user's consent it
// is converted and the program ends, to be started again on the new tables. False when the
// program must end.
bool TDANE::openCashReportsOrConvert()
{
    if (TRKASA.isOpen())
        return true;
    TRKASAS.close();
    TRKASAS.setTableName(yearPath(QStringLiteral("KASA\\RKASA.DB")));
    try {
        OpenTableObject(TRKASAS);
    } catch (const EngineError &) {
        return true;
    }
    const bool convert = context_.prompt.show(PromptIcon::Warning,
                                              QStringLiteral("Uwaga !! Stara wersja baz danych\rCzy zacząć konwersję baz danych ?"),
                                              Yes | No) == Yes;
    TRKASAS.close();
    if (!convert)
        return true;
    TKASA.close();
    // When the conversion could not be completed it has said why and the old tables are as they
    // were; the program ends all the same, and the next start asks again.
    const ConversionOutcome outcome = ConvertOldVersionTables(helpers_);
    if (outcome.completed)
        context_.prompt.information(QStringLiteral("Konwersja zakończona. Proszę uruchomić program jeszcze raz.")
                                    + outcome.notes);
    restartRequired_ = true;
    context_.state.StartupStop = true;
    return false;
}

void TDANE::openDocuments()
{
    openNamed(TNAG, QStringLiteral("KASA\\NAGKASA"), QStringLiteral("Dokumenty kasowe"));
    if (!TNAG.isOpen())
        return;
    KNAG.close();
    KNAG.setTableName(yearPath(QStringLiteral("KASA\\NAGKASA.DB")));
    try {
        OpenTableObject(KNAG);
    } catch (const EngineError &) {
        // Numbering works on what it has; the documents themselves are open.
    }
    bool hasDateIndex = true;
    try {
        TNAG.setIndexName(kDocumentDateIndex);
    } catch (const EngineError &) {
        hasDateIndex = false;
    }
    QList<IndexDef> missing = MissingDocumentIndexes(TNAG.definition());
    if (!hasDateIndex || TNAG.indexFieldCount() == kOldDateIndexFieldCount)
        missing << DocumentDateIndex();
    if (!missing.isEmpty())
        upgradeDocumentIndexes(missing);
    if (TNAG.isOpen())
        TNAG.setIndexName(QStringLiteral("Pinx"));
}

// The date index gets the key of the current structure, and an index of the program's that is
// gone is made again. Rebuilding an index needs the table to itself; when another program has it
// open the user is asked to close everything. The old date index is replaced in the same step
// that builds the new one, so no moment leaves the documents without it.
void TDANE::upgradeDocumentIndexes(const QList<IndexDef> &missing)
{
    TNAG.close();
    try {
        OpenTableObject(TNAG, true);
    } catch (const EngineError &) {
        context_.prompt.error(IndexUpgradeErrorMessage(context_.environment.programPath));
    }
    if (TNAG.isOpen()) {
        TNAG.setIndexName(QString());
        for (const IndexDef &index : missing)
            TNAG.addIndex(index);
    }
    TNAG.close();
    OpenTableObject(TNAG);
}

void TDANE::openOperators()
{
    if (openNamed(TUSER, QStringLiteral("KSIEGA\\USER"), QStringLiteral("Użytkownicy"))) {
        TUSER.first();
        context_.state.OperatorName = FieldText(TUSER, QStringLiteral("NAZWISKO"));
    } else {
        context_.state.OperatorName = QStringLiteral("Brak użytkownika");
    }
}

void TDANE::openDescriptions()
{
    const QString relative = QStringLiteral("KASA\\OPISKASA.DB");
    const QString failureText = QStringLiteral("Słownik opisu ");
    if (!openPlain(TSLO, relative, failureText) || !DescriptionTableNeedsConversion(TSLO))
        return;
    ConvertDescriptionTable(TSLO, helpers_);
    openPlain(TSLO, relative, failureText);
}

// Opens a year table without a display name; a failure gets the short message with the path.
bool TDANE::openPlain(Table &table, const QString &relative, const QString &failureText)
{
    const QString path = yearPath(relative);
    table.close();
    table.setTableName(path);
    try {
        OpenTableObject(table);
        return true;
    } catch (const EngineError &) {
        ShowOpenError(context_.prompt, failureText + path);
        return false;
    }
}

bool TDANE::openNamed(Table &table, const QString &relative, const QString &displayName)
{
    return OpenTableGuarded(table, yearPath(relative), displayName, helpers_);
}

// Tables the sequence does not open get the year's name, so whoever opens them later finds them.
void TDANE::nameUnopened(Table &table, const QString &relative)
{
    table.close();
    table.setTableName(yearPath(relative));
}
