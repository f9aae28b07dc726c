#include "store/copy_table_structure.h"

#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_helper_context.h"
#include "store/table_replacement.h"
#include "store/transaction_scope.h"

#include <QFileInfo>

namespace {

TableDefinition WithoutRequiredFields(TableDefinition definition)
{
    for (FieldDef &field : definition.fields)
        field.required = false;
    return definition;
}

// Every row of the source file, seen through a plain table object: no order, range, filter or
// master link of the source object gets in the way, and the source object does not move.
void CopyAllRows(Session &session, const Table &source, Table &target)
{
    Table allRows(session);
    allRows.setTableName(source.filePath());
    allRows.open();
    target.copyRowsFrom(allRows, true);
}

void ClearFieldsInEveryRow(Table &target, const QStringList &fields)
{
    TransactionScope scope;
    for (target.first(); !target.eof(); target.next()) {
        target.edit();
        for (const QString &field : fields)
            target.clear(field);
        target.post();
    }
    scope.commit();
}

} // namespace

bool CopyTableStructure(Table &source, const QString &targetPath, bool copyRows, const QString &clearFields,
                        TableHelperContext &context)
{
    if (QFileInfo(ResolvePathIgnoringCase(targetPath)).exists())
        return false;

    Table target(context.session);
    target.setTableName(targetPath);
    try {
        target.create(WithoutRequiredFields(source.definition()));
    } catch (const EngineError &) {
        context.prompt.show(PromptIcon::None, QStringLiteral("Nie mozna utworzyć tabeli"), Ok, QStringLiteral("Błąd"));
        return false;
    }
    if (!copyRows)
        return true;

    const QStringList fieldsToClear = clearFields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    try {
        target.open();
        CopyAllRows(context.session, source, target);
        if (!fieldsToClear.isEmpty())
            ClearFieldsInEveryRow(target, fieldsToClear);
    } catch (const EngineError &) {
        DeleteTableQuietly(target);
        return false;
    }
    target.close();
    return true;
}
