#include "app/commands/headless_tree.h"

#include "app/commands/command_tool.h"

#include "base/clock.h"
#include "base/date_state.h"
#include "base/global_state.h"
#include "base/process_environment.h"
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
}

HeadlessTree::~HeadlessTree() = default;

bool HeadlessTree::open()
{
    const QString folder = QFileInfo(arguments_.workingFolder).absoluteFilePath();
    if (!QFileInfo(folder).isDir()) {
        err_ << QStringLiteral("Folder roboczy %1 nie istnieje.").arg(QDir::toNativeSeparators(folder)) << Qt::endl;
        return false;
    }
    // Each command starts from the state a fresh start of the program has.
    state_ = GlobalState();
    InitDateState(state_, clock_);
    ProcessEnvironment environment = ProcessEnvironment::fromProcess();
    environment.workingFolder = folder;
    // The program reads "rok YYYY" as its first two arguments and "dr=" anywhere.
    environment.arguments.clear();
    if (!arguments_.year.isEmpty())
        environment.arguments << QStringLiteral("rok") << arguments_.year;
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
    data_->runOpenSequence();
    if (state_.StartupStop) {
        err_ << QStringLiteral("Nie można otworzyć danych w %1.").arg(QDir::toNativeSeparators(folder)) << Qt::endl;
        return false;
    }
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
