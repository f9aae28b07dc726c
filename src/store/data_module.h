#pragma once

#include "base/process_environment.h"
#include "store/table.h"
#include "store/table_helper_context.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class Prompt;
class Session;
struct GlobalState;

// What the data module is given.
struct DataModuleContext {
    Session &session;
    Prompt &prompt;
    GlobalState &state;
    // Arguments (dr=, rok), the working and program folders, the program file.
    ProcessEnvironment environment;
    // Logs the user in on the open parameter table; sets LoginName and AccessLevel and returns
    // whether the user may work. Empty: LoginWithoutIdentification.
    std::function<bool(Table &parameters)> loginUser = {};
};

// The data module: one table object per table for the whole run, linked master to detail
// (TKASA -> TRKASA -> TNAG -> TPOZ, TKontrah -> TKONTRAHo), so the current desk, report and
// document are the current rows of these objects. Every window and printout works on them, and
// the ledger's rules live in their events.
//
// runOpenSequence() opens them: the company and parameter tables, the login, the working year and
// every table of the year, repairing and converting older structures on the way, and fills the
// global state. It runs at start-up and again after a year change, a restore or an index repair.
class TDANE {
public:
    explicit TDANE(const DataModuleContext &context);
    TDANE(const TDANE &) = delete;
    TDANE &operator=(const TDANE &) = delete;
    ~TDANE();

    // Closes every table object, empties OpenedTableList and opens everything again for the
    // year then chosen. Sets StartupStop when the program cannot go on.
    void runOpenSequence();

    // The year's tables the open sequence opens from now on: these and the tables they are
    // details of (a command without a window opens only what it works on). Every one unless
    // limited; the company and parameter tables always open.
    using TableMember = Table TDANE::*;
    void limitYearTables(const QList<TableMember> &tables);
    // Whether the open sequence opens this table of the year.
    bool opensYearTable(const Table &table) const;

    // The old tables of the year were converted: the program must end and be started again
    // (StartupStop is set as well).
    bool restartRequired() const { return restartRequired_; }

    // The table objects in the order they are declared below.
    const QList<Table *> &tableObjects() const { return tables_; }
    // By the program's name ("TNAG"); nullptr when unknown.
    Table *tableObject(const QString &objectName) const;

    Session &session() const { return context_.session; }
    Prompt &prompt() const { return context_.prompt; }
    GlobalState &state() const { return context_.state; }
    const ProcessEnvironment &environment() const { return context_.environment; }
    // For OpenTableGuarded, PostAndFlush, CopyTableStructure and the other table helpers.
    TableHelperContext &helpers() { return helpers_; }

    // DataRoot + CurrentYear + separator + relative ("KASA\NAGKASA.DB").
    QString yearPath(const QString &relative) const;

    Table TFIRMA;    // company, DataRoot FIRMA.DB
    Table TPARA;     // program parameters, KASA.DB in the working folder
    Table TKASA;     // cash desks
    Table TRKASA;    // cash reports of the current desk
    Table TNAG;      // document headers of the current report, order Pinx
    Table TPOZ;      // lines of the current document, order Rinx
    Table KNAG;      // all documents, order Ainx (numbering)
    Table TSLO;      // payment descriptions
    Table TKONTA;    // accounts
    Table TWALUTA;   // currencies
    Table TKontrah;  // contractors
    Table TKONTRAHo; // contractor details of the current contractor (opened by the catalogue)
    Table TUSER;     // operator list of the year
    Table TRAZEM;    // per-account totals (created by the cash report printout)
    Table TRKASAS;   // the report table seen in the oldest structure, to recognise it

private:
    void configureFromRegistry();
    void closeAll();
    bool openCompanyAndParameters();
    bool logIn();
    void selectYear();
    void openYearTables();
    bool openCashReportsOrConvert();
    void openDocuments();
    void upgradeDocumentIndexes(const QList<IndexDef> &missing);
    void openOperators();
    void openDescriptions();
    bool openPlain(Table &table, const QString &relative, const QString &failureText);
    bool openNamed(Table &table, const QString &relative, const QString &displayName);
    void nameUnopened(Table &table, const QString &relative);

    DataModuleContext context_;
    TableHelperContext helpers_;
    QList<Table *> tables_;
    std::optional<QList<const Table *>> wantedYearTables_; // every table when empty
    bool openedBefore_ = false;
    bool restartRequired_ = false;
};

// TZAMKNIETY of the current report row: "Zamknięty" or "Otwarty". Set in TRKASA's calculated
// fields event; a handler that replaces that event calls it too.
void SetReportClosedText(Table &reports);

// The text of the error shown when neither the company nor the parameter table opens.
QString TableDriverErrorMessage(const ProcessEnvironment &environment, const QString &dataRoot);
// The text shown when the parameter table does not open.
QString ParameterTableErrorMessage(const QString &pathWithoutExtension);
// The text shown when the document table cannot be opened exclusively for its index upgrade.
QString IndexUpgradeErrorMessage(const QString &programPath);
