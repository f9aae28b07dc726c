#include "app/commands/command_handlers.h"
#include "app/commands/console_progress.h"

#include "base/command_line.h"
#include "maintenance/paradox_migration.h"
#include "maintenance/paradox_migration_report.h"

#include <QTextStream>

#include <unistd.h>

int RunMigrateParadoxCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &)
{
    const QString from = arguments.option(QStringLiteral("--from"));
    const QString to = arguments.option(QStringLiteral("--to"));
    if (from.isEmpty() || to.isEmpty()) {
        err << QStringLiteral("Użycie: kasa migrate-paradox --from STARY_FOLDER_ROBOCZY [dr=STARY_FOLDER_DANYCH] --to NOWY_FOLDER")
            << Qt::endl;
        return 2;
    }
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    try {
        const ParadoxMigrationResult result = MigrateParadoxInstallation(
            {from, DataRootFromArguments({arguments.dataRootArgument}), to}, progress);
        out << ParadoxMigrationReport(result) << Qt::flush;
        return result.installed ? 0 : 1;
    } catch (const ParadoxMigrationError &error) {
        err << error.message() << Qt::endl << QStringLiteral("Nic nie zostało zapisane.") << Qt::endl;
        return 1;
    }
}
