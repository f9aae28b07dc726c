#include "base/server_location.h"
#include "store/open_table_guarded.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/structure_upgrades.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_helper_context.h"
#include "store/table_object_open.h"
#include "store/write_structure_listing.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

const QString kReadOnlyFixFailed =
    QStringLiteral("Próba automatycznej zmiany atrybutu niepowiodła się.\rProszę atrybuty bazy zmienic ręcznie.");

// The failure of the open, or nullopt when the table opened.
std::optional<EngineError> TryOpen(Table &table, const QString &path)
{
    table.close();
    table.setTableName(path + QStringLiteral(".DB"));
    try {
        OpenTableObject(table);
        return std::nullopt;
    } catch (const EngineError &error) {
        return error;
    }
}

// Clears the read-only attribute of every file of the table; says so once per file that stays
// read-only.
void MakeTableWritable(const QString &path, Prompt &prompt)
{
    for (const QString &file : TableCompanionFiles(path))
        if (!ClearReadOnly(file))
            prompt.message(kReadOnlyFixFailed);
}

void OfferToClearReadOnly(Table &table, const QString &path, Prompt &prompt)
{
    if (!table.isReadOnly())
        return;
    if (prompt.show(PromptIcon::Warning, ReadOnlyQuestion(path), Yes | No) != Yes)
        return;
    table.close();
    MakeTableWritable(path, prompt);
    OpenTableObject(table);
}

bool EndsWithCompanyTableName(const QString &path)
{
    return path.right(5) == QLatin1String("FIRMA");
}

bool HasStructureListing(const QString &path)
{
    return QFileInfo(ResolvePathIgnoringCase(path + QStringLiteral(".STR"))).isFile();
}

} // namespace

void RecordOpenedTable(GlobalState &state, const QString &pathWithoutExtension)
{
    if (state.OpenedTableList.size() < kMaxOpenedTables)
        state.OpenedTableList.append(pathWithoutExtension);
}

QString OpenFailureMessage(const QString &displayName, const QString &pathWithoutExtension)
{
    return QStringLiteral("Błąd otwarcia bazy : ") + displayName + u'\r' + QStringLiteral("Baza : ")
           + pathWithoutExtension + QStringLiteral(".DB") + u'\r'
           + QStringLiteral("Użyj polecenia Narzędzia/Naprawa indeksów.") + u'\r'
           + QStringLiteral("Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM");
}

QString ReadOnlyQuestion(const QString &pathWithoutExtension)
{
    return QStringLiteral("Uwaga baza: ") + pathWithoutExtension + QStringLiteral(".DB") + u'\r'
           + QStringLiteral("jest w trybie Tylko Do Odczytu") + u'\r'
           + QStringLiteral("Czy zmienić automatycznie atrybut Bazy?");
}

bool OpenTableGuarded(Table &table, const QString &path, const QString &displayName, TableHelperContext &context)
{
    const bool named = !displayName.isEmpty();
    // The listing lies beside the table, in the working folder when the path is relative to it.
    // A table on a server keeps its structure there; it has no listing file beside it.
    const bool onServer = IsServerPath(path);
    const QString beside = onServer ? path : QDir(context.session.workingFolder()).absoluteFilePath(path);
    if (named)
        RecordOpenedTable(context.state, beside);
    for (std::optional<EngineError> failure = TryOpen(table, path); failure; failure = TryOpen(table, path)) {
        if (!named)
            return false;
        // A table another program holds exclusively is neither damaged nor a matter for index
        // repair: the engine's message says so, and the user may try again once it is free.
        if (failure->kind() == EngineErrorKind::Locked) {
            if (context.prompt.show(PromptIcon::Warning, failure->message(), Retry | Cancel) == Retry)
                continue;
            return false;
        }
        // A server that cannot be reached names itself; repairing indexes would not help there.
        if (failure->kind() == EngineErrorKind::Unreachable)
            context.prompt.error(failure->message());
        else
            context.prompt.message(OpenFailureMessage(displayName, path));
        return false;
    }
    OfferToClearReadOnly(table, path, context.prompt);

    if (EndsWithCompanyTableName(path)) {
        try {
            UpgradeCompanyTable(table, context);
        } catch (...) {
            // The company table keeps working in the structure it has.
        }
    }
    if (named && !onServer && !HasStructureListing(beside))
        WriteStructureListing(context.session, beside);
    return true;
}
