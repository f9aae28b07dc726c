#include "maintenance/archive_commands.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "base/server_location.h"
#include "maintenance/archive_tree.h"
#include "maintenance/restore_tree.h"
#include "store/data_change_permission.h"
#include "store/data_tree.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"

#include <QDir>

QString DefaultArchiveFolder(const QString &dataRoot, const QString &workingFolder)
{
    if (IsServerPath(dataRoot))
        return QDir(workingFolder).filePath(QStringLiteral("ARCHIWUM"));
    return dataRoot + QStringLiteral("ARCHIWUM");
}

QString RestoreQuestion()
{
    return QStringLiteral("Uwaga odtworzenie spowoduje utratę wszystkich zapisów od daty ostatniego "
                          "archiwowania.\rCzy odtwarzać zbiory ?");
}

bool Archiwizuj(const ArchiveCommandContext &context, const QString &archiveFolder)
{
    // The archive date is company data.
    if (!CheckDataChangePermission(context.state, context.prompt))
        return false;
    const TreeCopyReport report =
        ArchiveDataTree(context.state.DataRoot, context.state.YearFolders, archiveFolder, context.progress);
    if (!report.succeeded()) {
        context.prompt.show(PromptIcon::Error,
                            report.message() + QStringLiteral("\rData archiwum nie została zmieniona."), Ok);
        return false;
    }
    // The archive is whole; the reminder's date must be stored too, or the archive is not done.
    if (!context.company.isOpen()) {
        context.prompt.show(PromptIcon::Error, QStringLiteral("Dane zostały zarchiwizowane, ale tabela firmy nie jest otwarta:"
                                                              "\rdata archiwum nie została zapisana."), Ok);
        return false;
    }
    EnsureEditing(context.company);
    context.company.setString(QStringLiteral("ARCHDATA"), context.state.TodayText);
    if (!PostAndFlush(context.company, context.prompt)) {
        context.prompt.show(PromptIcon::Error, QStringLiteral("Dane zostały zarchiwizowane, ale data archiwum nie została zapisana."), Ok);
        return false;
    }
    return true;
}

bool Odtwarzaj(const ArchiveCommandContext &context, const QString &archiveFolder,
               const std::function<void()> &closeTables, const std::function<void()> &reopenTables)
{
    if (!CheckDataChangePermission(context.state, context.prompt))
        return false;
    if (context.prompt.show(PromptIcon::Warning, RestoreQuestion(), Yes | No) != Yes)
        return false;
    if (closeTables)
        closeTables();
    const TreeCopyReport report =
        RestoreDataTree(archiveFolder, context.state.DataRoot, context.state.YearFolders, context.progress);
    if (reopenTables)
        reopenTables();
    if (!report.succeeded()) {
        context.prompt.show(PromptIcon::Error, report.message(), Ok);
        return false;
    }
    return true;
}
