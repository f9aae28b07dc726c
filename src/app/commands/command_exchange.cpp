#include "app/commands/command_handlers.h"
#include "app/commands/console_progress.h"
#include "app/commands/headless_tree.h"

#include "maintenance/exchange_documents.h"
#include "maintenance/exchange_file.h"
#include "store/table_helper_context.h"
#include "store/tdane.h"

#include <QFileInfo>
#include <QTextStream>

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

} // namespace

int RunExportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const std::optional<ExchangeCommand> command = ReadExchangeCommand(arguments, QStringLiteral("export"), err);
    if (!command)
        return 2;
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    TableHelperContext helpers{tree.session(), tree.prompt(), tree.state()};
    try {
        const ExportResult result =
            command->documents ? ExportDocuments(helpers, command->path, progress)
                               : ExportFile(ContractorExchangeSource(tree.data().TKontrah), command->path, progress);
        out << ExportSummary(result, command->path).replace(u'\r', u'\n') << Qt::endl;
        return 0;
    } catch (const ExchangeError &error) {
        err << QString(error.message()).replace(u'\r', u'\n') << Qt::endl;
        return 1;
    }
}

int RunImportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const std::optional<ExchangeCommand> command = ReadExchangeCommand(arguments, QStringLiteral("import"), err);
    if (!command)
        return 2;
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    TableHelperContext helpers{tree.session(), tree.prompt(), tree.state()};
    try {
        if (command->documents) {
            const DocumentImportResult result = ImportDocuments(helpers, command->path, progress);
            out << ImportSummary(result.import, result.breaches).replace(u'\r', u'\n') << Qt::endl;
        } else {
            const ImportResult result = ImportFile(ContractorExchangeSource(tree.data().TKontrah), command->path, progress);
            out << ImportSummary(result).replace(u'\r', u'\n') << Qt::endl;
        }
        return 0;
    } catch (const ExchangeError &error) {
        err << QString(error.message()).replace(u'\r', u'\n') << Qt::endl;
        return 1;
    }
}
