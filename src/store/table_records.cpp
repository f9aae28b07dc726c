#include "store/table_records.h"

#include "store/table.h"
#include "store/transaction_scope.h"

void AppendRecords(Session &session, const QString &tablePath, const QList<TableRecord> &records)
{
    Table table(session);
    table.setTableName(tablePath);
    table.open();
    TransactionScope scope;
    for (const TableRecord &record : records) {
        table.append();
        for (const auto &[field, value] : record)
            table.setValue(field, value);
        table.post();
    }
    scope.commit();
}

int CountRows(Session &session, const QString &tablePath)
{
    Table table(session);
    table.setTableName(tablePath);
    table.open();
    return table.recordCount();
}
