#include "app/commands/command_handlers.h"
#include "app/commands/command_installation.h"
#include "app/commands/console_progress.h"

#include "base/command_line.h"
#include "maintenance/paradox_migration.h"
#include "maintenance/paradox_migration_report.h"
#include "maintenance/tree_migration.h"


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

int RunMigrateCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &)
{
    const QString to = MigrationTargetRoot(arguments.option(QStringLiteral("--to")));
    if (to.isEmpty()) {
        err << QStringLiteral("Użycie: kasa migrate --to pg:USŁUGA|postgresql://...|FOLDER") << Qt::endl;
        return 2;
    }
    const std::optional<QString> folder = ExistingWorkingFolder(arguments, err);
    if (!folder)
        return 1;
    const QString from = DataRootOfCommand(arguments, *folder).path;
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    const TreeMigrationReport report = MigrateDataTree(from, to, progress);
    if (!report.refusal.isEmpty()) {
        err << QString(report.refusal).replace(u'\r', u'\n') << Qt::endl;
        return 1;
    }
    if (!report.differences.isEmpty()) {
        err << QStringLiteral("Kopia różni się od danych źródłowych; nic nie zostało przeniesione:") << Qt::endl;
        for (const QString &difference : report.differences)
            err << difference << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Przeniesiono dane (tabel: %1) do %2; każda tabela jest taka sama jak źródłowa.")
               .arg(report.tables)
               .arg(arguments.option(QStringLiteral("--to")))
        << Qt::endl
        << QStringLiteral("Aby pracować na przeniesionych danych, podaj dr=%1 albo wpisz tę ścieżkę jako katalog danych firmy.")
               .arg(arguments.option(QStringLiteral("--to")))
        << Qt::endl;
    return 0;
}
