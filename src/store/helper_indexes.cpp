#include "store/helper_indexes.h"

#include "base/progress.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_schemas.h"

namespace {

const QString kTitle = QStringLiteral("Indeksy pomocnicze");

bool IsCashDocumentTable(const TableDefinition &stored)
{
    for (const FieldDef &field : CashDocumentTableDefinition().fields)
        if (!stored.hasField(field.name))
            return false;
    return true;
}

// Table files are opened ignoring the case of their names.
QString WithDbExtension(const QString &path)
{
    return WithoutDbExtension(path) + QStringLiteral(".DB");
}

} // namespace

QList<QStringList> ProgramHelperIndexes(const TableDefinition &stored)
{
    if (!IsCashDocumentTable(stored))
        return {};
    return {{QStringLiteral("SYMBOL"), QStringLiteral("RD"), QStringLiteral("NRD")},
            {QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("POZ")}};
}

bool BuildProgramHelperIndexes(Session &session, const QString &tablePath)
{
    Table table(session);
    table.setTableName(WithDbExtension(tablePath));
    if (!table.exists())
        return false;
    try {
        table.buildHelperIndexes(ProgramHelperIndexes(table.definition()));
        return true;
    } catch (const EngineError &) {
        return false; // damaged, held by another program: it is read without them
    }
}

void BuildHelperIndexesOf(Session &session, const QStringList &tablePaths, Progress &progress)
{
    progress.Start(kTitle, int(tablePaths.size()));
    for (const QString &path : tablePaths) {
        BuildProgramHelperIndexes(session, path);
        progress.Postep();
    }
    progress.Stop();
}

void BuildYearHelperIndexes(Session &session, const QString &dataRoot, const QString &year, Progress &progress)
{
    QStringList paths;
    for (const TableObjectEntry &entry : TableObjectRegistry()) {
        if (entry.location.base != TableBase::YearFolder)
            continue;
        const QString path = WithDbExtension(YearTablePath(dataRoot, year, entry.location.relativeName()));
        if (!paths.contains(path, Qt::CaseInsensitive))
            paths.append(path);
    }
    BuildHelperIndexesOf(session, paths, progress);
}
