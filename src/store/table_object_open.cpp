#include "store/table_object_open.h"

#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_schemas.h"

#include <QDir>

namespace {

void AddMissing(QStringList &names, const QStringList &more)
{
    for (const QString &name : more)
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
}

// The field the object needs and the file lacks; empty when none.
QString MissingField(const Table &table, const TableObjectEntry &entry)
{
    for (const QString &field : FieldsTheObjectNeeds(entry))
        if (!table.hasField(field))
            return field;
    return QString();
}

} // namespace

QStringList FieldsTheObjectNeeds(const TableObjectEntry &entry)
{
    QStringList names;
    const TableDefinition definition = entry.definition ? entry.definition() : TableDefinition();
    for (const IndexDef &index : definition.indexes)
        if (index.primary || (!entry.indexName.isEmpty()
                              && index.name.compare(entry.indexName, Qt::CaseInsensitive) == 0))
            AddMissing(names, index.fields);
    AddMissing(names, entry.linkFields);
    return names;
}

void OpenTableObject(Table &table, bool exclusive)
{
    if (exclusive)
        table.openExclusive();
    else
        table.open();
    const TableObjectEntry *entry = FindTableObject(table.objectName());
    if (!entry)
        return;
    const QString missing = MissingField(table, *entry);
    if (missing.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(table.filePath());
    table.close();
    throw EngineError(EngineErrorKind::Damaged,
                      QStringLiteral("Tabela %1 nie ma pola %2.").arg(path, missing));
}
