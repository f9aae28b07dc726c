#include "store/table_replacement.h"

#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/table.h"

#include <QFileInfo>

namespace {

const QString kSetAsideSuffix = QStringLiteral("_STARY");

bool RenameQuietly(Session &session, const QString &from, const QString &toFileName)
{
    try {
        Table table(session);
        table.setTableName(from);
        table.renameTable(toFileName);
        return true;
    } catch (const EngineError &) {
        return false;
    }
}

void DeleteQuietly(Session &session, const QString &path)
{
    Table table(session);
    table.setTableName(path);
    DeleteTableQuietly(table);
}

} // namespace

QString ScratchTablePath(const QString &tablePathWithoutExtension, const QString &suffix)
{
    return WithoutDbExtension(tablePathWithoutExtension) + suffix;
}

bool ReplaceTableFile(Session &session, const QString &tablePath, const QString &replacementPath)
{
    Table table(session);
    table.setTableName(tablePath);
    const QString path = table.filePath();
    const QString fileName = QFileInfo(path).fileName();
    const QString setAside = ScratchTablePath(path, kSetAsideSuffix) + QStringLiteral(".DB");
    const QString setAsideName = QFileInfo(setAside).fileName();

    if (!table.exists())
        return false;
    // Left by an earlier replacement cut short after the new table had taken the name.
    DeleteQuietly(session, setAside);
    if (!RenameQuietly(session, path, setAsideName))
        return false;
    if (!RenameQuietly(session, replacementPath, path)) {
        RenameQuietly(session, setAside, fileName);
        return false;
    }
    DeleteQuietly(session, setAside);
    return true;
}

void DeleteTableQuietly(Table &table)
{
    table.close();
    try {
        table.deleteTable();
    } catch (const EngineError &) {
    }
}
