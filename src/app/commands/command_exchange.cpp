#include "app/commands/command_handlers.h"
#include "app/commands/console_progress.h"
#include "app/commands/headless_tree.h"

#include "maintenance/exchange_documents.h"
#include "maintenance/exchange_file.h"
#include "store/table_helper_context.h"
#include "store/data_module.h"

#include <QFileInfo>
#include <QTextStream>

#include <functional>

#include <unistd.h>

namespace {

struct ExchangeCommand {
    bool documents = false;
    QString path;
};

std::optional<ExchangeCommand> ReadExchangeCommand(const CommandArguments &arguments, const QString &verb, QTextStream &err)
{
    const QString what = arguments.words.value(0);
    const QString file = arguments.words.value(1);
    if ((what != QLatin1String("documents") && what != QLatin1String("contractors")) || file.isEmpty()) {
        err << QStringLiteral("Użycie: kasa %1 documents|contractors PLIK").arg(verb) << Qt::endl;
        return std::nullopt;
    }
    return ExchangeCommand{what == QLatin1String("documents"), QFileInfo(file).absoluteFilePath()};
}

// Reads the command line, opens the tree and runs the exchange; an ExchangeError (which line,
// which column, which value) ends it with its message.
using Exchange = std::function<QString(HeadlessTree &, TableHelperContext &, Progress &, const ExchangeCommand &)>;

int RunExchange(const CommandArguments &arguments, const QString &verb, QTextStream &out, QTextStream &err,
                const Clock &clock, const Exchange &exchange)
{
    const std::optional<ExchangeCommand> command = ReadExchangeCommand(arguments, verb, err);
    if (!command)
        return 2;
    HeadlessTree tree(arguments, err, clock);
    // The contractors' exchange works on the catalogue; the documents' on the year's document
    // table, which it opens itself (an import after the open sequence has brought the table's
    // structure up to date).
    HeadlessTree::YearTables tables = QList<Table TDANE::*>{};
    if (!command->documents)
        tables = {&TDANE::TKontrah};
    else if (verb == QLatin1String("import"))
        tables = {&TDANE::TNAG};
    if (!tree.open(HeadlessTree::Tables::EveryOneOpen, tables))
        return 1;
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    TableHelperContext helpers{tree.session(), tree.prompt(), tree.state()};
    try {
        out << exchange(tree, helpers, progress, *command).replace(u'\r', u'\n') << Qt::endl;
        return 0;
    } catch (const ExchangeError &error) {
        err << QString(error.message()).replace(u'\r', u'\n') << Qt::endl;
        return 1;
    }
}

} // namespace

int RunExportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    return RunExchange(arguments, QStringLiteral("export"), out, err, clock,
                       [](HeadlessTree &tree, TableHelperContext &helpers, Progress &progress, const ExchangeCommand &command) {
                           const ExportResult result =
                               command.documents
                                   ? ExportDocuments(helpers, command.path, progress)
                                   : ExportFile(ContractorExchangeSource(tree.data().TKontrah), command.path, progress);
                           return ExportSummary(result, command.path);
                       });
}

int RunImportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    return RunExchange(arguments, QStringLiteral("import"), out, err, clock,
                       [](HeadlessTree &tree, TableHelperContext &helpers, Progress &progress, const ExchangeCommand &command) {
                           ImportResult import;
                           RuleBreaches breaches;
                           if (command.documents) {
                               DocumentImportResult result = ImportDocuments(helpers, command.path, progress);
                               import = result.import;
                               breaches = result.breaches;
                           } else {
                               import = ImportFile(ContractorExchangeSource(tree.data().TKontrah), command.path, progress);
                           }
                           // A file that keeps its name would be imported again at the next run.
                           if (import.markFailed)
                               throw ExchangeError(ImportSummary(import, breaches));
                           return ImportSummary(import, breaches);
                       });
}
