#include "store/cursor_cache.h"

SqlStatement CursorCache::take(TableBackend &backend, const QByteArray &sql, const std::function<SqlCursor *()> &make)
{
    SqlCursor *cached = cursors_.value(sql);
    if (cached && !inUse_.contains(cached)) {
        inUse_.insert(cached);
        return SqlStatement(backend, cached, true);
    }
    SqlCursor *cursor = make();
    const bool keep = cached == nullptr;
    if (keep) {
        cursors_.insert(sql, cursor);
        inUse_.insert(cursor);
    }
    return SqlStatement(backend, cursor, keep);
}

void CursorCache::give(SqlCursor *cursor, bool cached)
{
    if (!cached) {
        delete cursor;
        return;
    }
    cursor->reset();
    inUse_.remove(cursor);
}

void CursorCache::clear()
{
    qDeleteAll(cursors_);
    cursors_.clear();
    inUse_.clear();
}
