#include "app/commands/command_handlers.h"
#include "app/commands/command_installation.h"
#include "app/commands/headless_tree.h"

#include "base/command_line.h"
#include "base/global_state.h"
#include "store/data_tree.h"
#include "store/index_repair.h"
#include "store/table_file_check.h"
#include "store/data_module.h"

#include <QTextStream>

namespace {

// The repair's log, line by line on standard output.
class PrintedRepairLog final : public IndexRepairLog {
public:
    explicit PrintedRepairLog(QTextStream &out) : out_(out) {}
    void clear() override {}
    int addLine(const QString &line) override
    {
        out_ << line << Qt::endl;
        return lines_++;
    }
    void replaceLine(int, const QString &line) override { out_ << line << Qt::endl; }

private:
    QTextStream &out_;
    int lines_ = 0;
};

} // namespace

int RunCheckCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err)
{
    const std::optional<QString> workingFolder = ExistingWorkingFolder(arguments, err);
    if (!workingFolder)
        return 1;
    const QString &folder = *workingFolder;
    const CommandDataRoot root = DataRootOfCommand(arguments, folder);
    const QString &dataRoot = root.path;
    if (const QString notice = DataRootOutsideNotice(dataRoot, folder); !root.fromCommandLine && !notice.isEmpty())
        err << notice << Qt::endl;
    QStringList notices;
    const QList<TableFileCheck> checks = CheckInstallation(folder, dataRoot, &notices);
    int damaged = 0;
    for (const TableFileCheck &check : checks) {
        if (check.sound()) {
            out << QStringLiteral("w porządku  %1").arg(check.path) << Qt::endl;
            continue;
        }
        ++damaged;
        out << QStringLiteral("BŁĄD        %1").arg(check.path) << Qt::endl;
        for (const QString &problem : check.problems)
            out << QStringLiteral("            %1").arg(problem) << Qt::endl;
        err << QStringLiteral("Tabela %1: %2").arg(check.path, check.problems.join(QStringLiteral("; "))) << Qt::endl;
    }
    for (const QString &notice : std::as_const(notices))
        out << notice << Qt::endl;
    out << QStringLiteral("Sprawdzono tabel: %1, uszkodzonych: %2").arg(checks.size()).arg(damaged) << Qt::endl;
    return damaged == 0 ? 0 : 1;
}

int RunRepairCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open(HeadlessTree::Tables::SomeMayFail))
        return 1;
    tree.prompt().agreeTo(IndexRepairQuestion());
    PrintedRepairLog log(out);
    QStringList notRepaired;
    const IndexRepairResult result = RunIndexRepair(
        {tree.session(), tree.prompt(), tree.state().OpenedTableList, [&] { tree.data().runOpenSequence(); }, &notRepaired},
        log);
    for (const QString &line : std::as_const(notRepaired))
        err << QStringLiteral("Nie naprawiono %1").arg(line) << Qt::endl;
    if (result != IndexRepairResult::Finished || !notRepaired.isEmpty()) {
        err << QStringLiteral("Naprawa nie została dokończona.") << Qt::endl;
        return 1;
    }
    if (tree.state().StartupStop) {
        err << QStringLiteral("Po naprawie nie można otworzyć danych.") << Qt::endl;
        return 1;
    }
    return 0;
}
