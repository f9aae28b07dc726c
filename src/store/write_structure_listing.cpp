#include "store/write_structure_listing.h"

#include "store/engine_error.h"
#include "store/structure_listing.h"
#include "store/table.h"
#include "store/table_files.h"

#include <QFile>

void WriteStructureListing(Session &session, const QString &path)
{
    const QString listingPath = ResolvePathIgnoringCase(path + QStringLiteral(".STR"));
    {
        QFile listing(listingPath);
        if (!listing.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
    }
    TableDefinition definition;
    try {
        Table table(session);
        table.setTableName(path + QStringLiteral(".DB"));
        table.open();
        definition = table.definition();
    } catch (const EngineError &) {
        return;
    }
    WriteStructureListingFile(listingPath, definition);
}
