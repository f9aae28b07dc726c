#include "store/table.h"

#include <QScopeGuard>

QList<Row> Table::peekRows(const Bookmark &after, int count, bool backward) const
{
    requireOpen();
    if (count <= 0)
        return {};
    ensureServingIndex();
    const RowQuery rows = query();
    std::optional<KeyBoundary> boundary;
    if (after.isValid()) {
        const std::optional<Row> anchor = rows.rowById(after.rowId);
        if (!anchor)
            return {};
        boundary = rows.boundaryOf(*anchor, false);
    }
    bool exhausted = false;
    return fetchVisible(backward ? FetchDirection::Backward : FetchDirection::Forward, boundary, count, &exhausted);
}

QList<Row> Table::peekRows(const Bookmark &after, int count, const QList<int> &fields) const
{
    if ((filtered_ && filterPredicate_) || !calculatedFields_.isEmpty())
        return peekRows(after, count);
    requireOpen();
    if (count <= 0)
        return {};
    ensureServingIndex();
    RowQuery rows = query();
    rows.readOnly(fields);
    std::optional<KeyBoundary> boundary;
    if (after.isValid()) {
        const std::optional<Row> anchor = rows.rowById(after.rowId);
        if (!anchor)
            return {};
        boundary = rows.boundaryOf(*anchor, false);
    }
    return rows.fetch(FetchDirection::Forward, boundary, count);
}

void Table::readingRow(const Row &row, const std::function<void()> &read) const
{
    const Row *previous = std::exchange(evaluating_, &row);
    const auto restore = qScopeGuard([&] { evaluating_ = previous; });
    read();
}
