#include "ledger/follow_master.h"

#include "store/table.h"

void FollowMasterNow(Table &detail, const QStringList &linkFields)
{
    Table *master = detail.masterSource();
    if (!master || !detail.isOpen() || !master->isOpen())
        return;
    detail.setMasterSource(master, linkFields, linkFields);
}
