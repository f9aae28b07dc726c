#include "app/commands/headless_tree.h"

#include "app/commands/command_installation.h"
#include "app/commands/command_tool.h"

#include "base/clock.h"
#include "base/command_line.h"
#include "base/date_state.h"
#include "base/global_state.h"
#include "base/process_environment.h"
#include "base/server_location.h"
#include "ledger/cash_ledger.h"
#include "store/data_change_permission.h"
#include "store/data_module.h"
#include "users/login_dialog.h"
#include "users/login_user.h"

#include <QDir>
#include <QFileInfo>

HeadlessTree::HeadlessTree(const CommandArguments &arguments, QTextStream &err, const Clock &clock)
    : arguments_(arguments), err_(err), clock_(clock), prompt_(err), state_(globalState())
{
    // A command writes files; it never needs a printer.
    prompt_.ignore(QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki"));
}

HeadlessTree::~HeadlessTree() = default;

bool HeadlessTree::open(Tables tables, const YearTables &yearTables)
{
    const std::optional<QString> workingFolder = ExistingWorkingFolder(arguments_, err_);
    if (!workingFolder)
        return false;
    const QString &folder = *workingFolder;
    const QString givenRoot = DataRootFromArguments({arguments_.dataRootArgument});
    // A server's data root is no folder: whether its database holds a firm, the opening says.
    if (!givenRoot.isEmpty() && !IsServerPath(givenRoot) && !QFileInfo(givenRoot).isDir()) {
        err_ << QStringLiteral("Folder danych %1 nie istnieje.").arg(QDir::toNativeSeparators(givenRoot)) << Qt::endl;
        return false;
    }
    // Each command starts from the state a fresh start of the program has.
    state_ = GlobalState();
    InitDateState(state_, clock_);
    ProcessEnvironment environment = ProcessEnvironment::fromProcess();
    environment.workingFolder = folder;
    // The program reads "rok YYYY" as its first two arguments and "dr=" anywhere.
    environment.arguments.clear();
    if (!arguments_.year.isEmpty()) {
        environment.arguments << QStringLiteral("rok") << arguments_.year;
        // The window moves to another year; a command works on the year it was given or fails.
        prompt_.ignore(QStringLiteral("Brak otwartego roku : ") + arguments_.year);
    }
    if (!arguments_.dataRootArgument.isEmpty())
        environment.arguments << arguments_.dataRootArgument;
    session_.setWorkingFolder(folder);
    login_ = std::make_unique<UserLogin>(UserLoginContext{session_, prompt_, state_, environment.userName, [] {
        return std::unique_ptr<LoginDialog>();
    }});
    const auto login = [this](Table &parameters) {
        if (parameters.hasField(QStringLiteral("L4")) && parameters.asInteger(QStringLiteral("L4")) >= 2) {
            err_ << QStringLiteral("Program jest ustawiony na logowanie hasłem; polecenia bez okna wymagają "
                                   "logowania bez identyfikacji lub na podstawie sieci.")
                 << Qt::endl;
            return false;
        }
        return login_->LoginUser(parameters);
    };
    data_ = std::make_unique<TDANE>(DataModuleContext{session_, prompt_, state_, environment, login});
    if (yearTables)
        data_->limitYearTables(*yearTables);
    const int errorsBeforeOpening = prompt_.errorCount();
    data_->runOpenSequence();
    if (state_.StartupStop) {
        err_ << QStringLiteral("Nie można otworzyć danych w %1.").arg(QDir::toNativeSeparators(folder)) << Qt::endl;
        return false;
    }
    if (!arguments_.year.isEmpty() && state_.CurrentYear != arguments_.year) {
        err_ << QStringLiteral("Nie ma roku %1 w folderze danych %2.")
                    .arg(arguments_.year, QDir::toNativeSeparators(state_.DataRoot))
             << Qt::endl;
        return false;
    }
    if (tables == Tables::EveryOneOpen) {
        TDANE &d = *data_;
        QStringList closed;
        for (Table TDANE::*member : {&TDANE::TFIRMA, &TDANE::TPARA, &TDANE::TKASA, &TDANE::TRKASA, &TDANE::TNAG,
                                     &TDANE::TSLO, &TDANE::TKONTA, &TDANE::TWALUTA, &TDANE::TKontrah}) {
            const Table &table = d.*member;
            const bool required = member == &TDANE::TFIRMA || member == &TDANE::TPARA || d.opensYearTable(table);
            if (required && !table.isOpen())
                closed << (table.tableName().isEmpty() ? table.objectName() : table.tableName());
        }
        if (!closed.isEmpty()) {
            // A server that could not be reached has said so, naming itself; the table files'
            // check and repair would not help there.
            if (!IsServerPath(state_.DataRoot))
                err_ << QStringLiteral("Nie otwarto tabel roku %1: %2. Sprawdź je poleceniem kasa check, naprawa: kasa repair.")
                            .arg(state_.CurrentYear, closed.join(QStringLiteral(", ")))
                     << Qt::endl;
            else if (prompt_.errorCount() == errorsBeforeOpening)
                err_ << QStringLiteral("Nie otwarto tabel roku %1: %2.")
                            .arg(state_.CurrentYear, closed.join(QStringLiteral(", ")))
                     << Qt::endl;
            return false;
        }
    }
    // A copy of an installation keeps the data root of the original: say whose data this is.
    if (const QString notice = DataRootOutsideNotice(state_.DataRoot, folder);
        arguments_.dataRootArgument.isEmpty() && !notice.isEmpty())
        err_ << notice << Qt::endl;
    // The command runs with the level of the login it runs under, as the program's windows do.
    if (IsDataChangingCommand(arguments_.command) && !MayChangeData(state_)) {
        err_ << QString::fromUtf8(kNoDataChangePermissionMessage) << Qt::endl;
        return false;
    }
    TDANE &d = *data_;
    ledger_ = std::make_unique<CashLedger>(
        LedgerTables{d.TPARA, d.TKASA, d.TRKASA, d.TNAG, d.TPOZ, d.KNAG, d.TSLO, d.TKONTA, d.TWALUTA}, prompt_, state_,
        clock_);
    return true;
}
