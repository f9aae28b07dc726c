#include "store/table.h"

#include "store/field_value.h"
#include "store/table_connection.h"
#include "store/transaction_scope.h"

namespace {

constexpr int kCopyPage = 512;

} // namespace

void Table::copyRowsFrom(Table &source, bool updateExisting)
{
    requireOpen();
    source.requireOpen();
    checkBrowseMode();
    const QList<FieldDef> &targetFields = structure().definition.fields;
    const QList<FieldDef> sourceFields = source.structure().definition.fields;
    // Fields are matched by name; a field the source lacks stays empty.
    QList<int> sourceOf;
    for (const FieldDef &field : targetFields) {
        int match = -1;
        for (int i = 0; i < sourceFields.size() && match < 0; ++i)
            if (sourceFields[i].name.compare(field.name, Qt::CaseInsensitive) == 0)
                match = i;
        sourceOf.append(match);
    }
    const int primary = structure_->indexPosition(QString());
    const QList<KeyColumn> primaryColumns = primary >= 0 ? structure_->indexColumns[primary] : QList<KeyColumn>();
    const RowQuery keyLookup(*connection_, *structure_, primaryColumns, {});

    TransactionScope scope;
    {
        TableConnection::Write write(*connection_);
        const RowQuery sourceRows = source.query();
        std::optional<KeyBoundary> from;
        for (;;) {
            bool exhausted = false;
            const QList<Row> page = source.fetchVisible(FetchDirection::Forward, from, kCopyPage, &exhausted);
            for (const Row &sourceRow : page) {
                Row row;
                row.values = QVariantList(targetFields.size());
                for (int i = 0; i < targetFields.size(); ++i)
                    if (sourceOf[i] >= 0)
                        row.values[i] = StoredValue(targetFields[i], ProgramValue(sourceFields[sourceOf[i]],
                                                                                  sourceRow.values[sourceOf[i]]));
                std::optional<Row> existing;
                if (updateExisting && !primaryColumns.isEmpty()) {
                    QVariantList key;
                    for (const KeyColumn &column : primaryColumns)
                        key.append(row.values[column.field]);
                    const QList<Row> found = keyLookup.fetchEqual(key, 1);
                    if (!found.isEmpty())
                        existing = found.first();
                }
                if (existing) {
                    editRow_ = row;
                    editRow_.rowId = existing->rowId;
                    changedFields_.clear();
                    for (int i = 0; i < targetFields.size(); ++i)
                        if (sourceOf[i] >= 0 && targetFields[i].type != FieldType::AutoIncrement)
                            changedFields_.insert(i);
                    updateRow(*connection_);
                } else {
                    insertRow(*connection_, row);
                }
            }
            if (exhausted || page.isEmpty())
                break;
            from = sourceRows.boundaryOf(page.last(), false);
        }
        write.commit();
    }
    editRow_ = Row();
    changedFields_.clear();
    scope.commit();
    reapplyView(false);
}
