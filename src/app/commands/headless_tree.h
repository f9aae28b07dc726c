#pragma once

#include "app/commands/command_arguments.h"
#include "app/commands/console_prompt.h"
#include "store/data_module.h"
#include "store/session.h"

#include <memory>
#include <optional>

class CashLedger;
class Clock;
class UserLogin;
struct GlobalState;

// The data tree opened for one command without a window: the working folder, "dr=" and the year
// as the program takes them, the same open sequence (its questions answered by the console
// prompt), the login without a dialog (a password login cannot be answered and stops the
// command), and the ledger's rules on the tables.
class HeadlessTree {
public:
    HeadlessTree(const CommandArguments &arguments, QTextStream &err, const Clock &clock);
    ~HeadlessTree();

    // Runs the open sequence; false (the reason already on standard error) when it stopped, when
    // the data folder given does not exist, when the year given has no folder, or when one of
    // the year's tables did not open (unless the command mends tables, as the repair and the
    // restore do).
    // The year's tables opened are those named (with the tables they are details of); all of
    // them without a list.
    enum class Tables { EveryOneOpen, SomeMayFail };
    using YearTables = std::optional<QList<Table TDANE::*>>;
    bool open(Tables tables = Tables::EveryOneOpen, const YearTables &yearTables = std::nullopt);

    TDANE &data() { return *data_; }
    CashLedger &ledger() { return *ledger_; }
    ConsolePrompt &prompt() { return prompt_; }
    GlobalState &state() { return state_; }
    Session &session() { return session_; }

private:
    const CommandArguments &arguments_;
    QTextStream &err_;
    const Clock &clock_;
    ConsolePrompt prompt_;
    Session session_;
    GlobalState &state_;
    std::unique_ptr<UserLogin> login_;
    std::unique_ptr<TDANE> data_;
    std::unique_ptr<CashLedger> ledger_;
};
