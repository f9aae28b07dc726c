#include "store/structure_upgrades.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/session.h"
#include "store/table.h"
#include "store/structure_work_lock.h"
#include "store/table_edit_helpers.h"
#include "store/table_files.h"
#include "store/table_helper_context.h"
#include "store/table_object_open.h"
#include "store/table_replacement.h"

#include <QDir>

namespace {

const QString kScratchTableName = QStringLiteral("TEMP.DB");

// The parameter table's own fields and indexes, none required, followed by the fields the login
// and the update settings need.
TableDefinition UpgradedDefinition(TableDefinition definition)
{
    for (FieldDef &field : definition.fields)
        field.required = false;
    const QList<FieldDef> added{
        {QStringLiteral("L4"), FieldType::Integer, 0, false},
        {QStringLiteral("L5"), FieldType::Integer, 0, false},
        {QStringLiteral("ADATA"), FieldType::Text, 10, false},
        {QStringLiteral("ACYKL"), FieldType::Integer, 0, false},
    };
    for (const FieldDef &field : added)
        if (!definition.hasField(field.name))
            definition.fields.append(field);
    return definition;
}

void CopyCurrentRow(const Table &parameters, Table &upgraded)
{
    for (const FieldDef &field : parameters.definition().fields)
        if (field.type != FieldType::AutoIncrement)
            upgraded.setString(field.name, parameters.asString(field.name));
}

// Login stays off until it is set again; ADATA is this month's day "00".
void SetNewFields(Table &upgraded, const QString &todayText)
{
    upgraded.setString(QStringLiteral("ADATA"), todayText.left(8) + QStringLiteral("00"));
    upgraded.setInteger(QStringLiteral("ACYKL"), 0);
    upgraded.setInteger(QStringLiteral("L4"), 0);
    upgraded.setInteger(QStringLiteral("L5"), 0);
}

// Fills the scratch table with the upgraded row; false (and the scratch table removed) on failure.
bool BuildUpgradedTable(Table &parameters, Table &upgraded, TableHelperContext &context)
{
    try {
        upgraded.create(UpgradedDefinition(parameters.definition()));
        upgraded.open();
        upgraded.append();
        CopyCurrentRow(parameters, upgraded);
        SetNewFields(upgraded, context.state.TodayText);
    } catch (const EngineError &error) {
        // Said at once: the start goes on with the old table, whose missing login fields would
        // otherwise be the only sign (a full disk, most often).
        context.prompt.error(QStringLiteral("Nie można uaktualnić tabeli parametrów %1 :\r%2")
                                 .arg(QDir::toNativeSeparators(parameters.filePath()), error.message()));
        DeleteTableQuietly(upgraded);
        return false;
    }
    if (!PostAndFlush(upgraded, context.prompt)) {
        DeleteTableQuietly(upgraded);
        return false;
    }
    upgraded.close();
    return true;
}

bool LacksLoginFields(const TableDefinition &definition)
{
    return !definition.hasField(QStringLiteral("L5"));
}

} // namespace

void UpgradeParameterTable(Table &parameters, TableHelperContext &context)
{
    if (!parameters.isOpen() || parameters.hasField(QStringLiteral("L5")))
        return;
    const QString path = parameters.filePath();
    // A table the user keeps read-only stays as it is.
    if (IsReadOnlyFile(path))
        return;
    if (!BeginStructureWork(parameters, LacksLoginFields, context.prompt))
        return;
    Table upgraded(context.session);
    upgraded.setTableName(kScratchTableName);
    const bool built = BuildUpgradedTable(parameters, upgraded, context);
    const QString tableName = parameters.tableName();
    if (built)
        ReplaceTableFile(parameters, upgraded.filePath());
    parameters.close();
    parameters.setTableName(tableName);
    OpenSharedWaiting(parameters);
}
