#pragma once

#include "store/sql_statement.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <functional>

class TableBackend;

// A back end's prepared statements by their text: a statement run again is not prepared again.
// A text in use (a cursor stepping while another query runs) gets a cursor of its own.
class CursorCache {
public:
    CursorCache() = default;
    CursorCache(const CursorCache &) = delete;
    CursorCache &operator=(const CursorCache &) = delete;
    ~CursorCache() { clear(); }

    SqlStatement take(TableBackend &backend, const QByteArray &sql, const std::function<SqlCursor *()> &make);
    void give(SqlCursor *cursor, bool cached);
    void clear();

private:
    QHash<QByteArray, SqlCursor *> cursors_;
    QSet<SqlCursor *> inUse_;
};
