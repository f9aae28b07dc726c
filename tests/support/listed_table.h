#pragma once

#include "store/session.h"
#include "store/structure_listing.h"
#include "store/table.h"

#include <QString>

// A table file with its structure listing beside it, as the open sequence leaves every table it
// opens with a display name. The path is given without extension.
inline void CreateListedTable(Session &session, const QString &pathWithoutExtension, const TableDefinition &definition)
{
    Table table(session);
    table.setTableName(pathWithoutExtension + QStringLiteral(".DB"));
    table.create(definition);
    WriteStructureListingFile(pathWithoutExtension + QStringLiteral(".STR"), definition);
}
