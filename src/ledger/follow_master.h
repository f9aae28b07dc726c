#pragma once

#include <QStringList>

class Table;

// A table's after-scroll handler runs before the table's details have followed the move. The
// rules that read a detail there (has the new desk reports? has the new report documents?) make
// it follow first; its own following afterwards then finds nothing to do.
void FollowMasterNow(Table &detail, const QStringList &linkFields);
