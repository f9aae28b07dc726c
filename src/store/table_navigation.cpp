#include "store/table.h"

#include "store/field_value.h"
#include "store/polish_collation.h"
#include "store/table_connection.h"

#include <QScopeGuard>

namespace {

constexpr int kFirstPage = 32;
constexpr int kLargestPage = 512;

bool SameKeyValue(const QVariant &a, const QVariant &b, const QByteArray &collation)
{
    return CompareKeyValues(a, b, collation) == 0;
}

} // namespace

RowQuery Table::query(const QList<SqlCondition> &extra) const
{
    return RowQuery(*connection_, structure(), orderColumns(), viewConditions() + extra, heldColumns());
}

bool Table::passesFilter(Row &row) const
{
    if (!filtered_ || !filterPredicate_)
        return true;
    const Row *previous = std::exchange(evaluating_, &row);
    const auto restore = qScopeGuard([&] { evaluating_ = previous; });
    return filterPredicate_(*this);
}

void Table::computeCalculated(Row &row) const
{
    if (calculatedFields_.isEmpty())
        return;
    row.calculated = QVariantList(calculatedFields_.size());
    if (!events.onCalcFields)
        return;
    const Row *previousRead = std::exchange(evaluating_, &row);
    Row *previousCalc = std::exchange(calculating_, &row);
    const auto restore = qScopeGuard([&] {
        evaluating_ = previousRead;
        calculating_ = previousCalc;
    });
    events.onCalcFields(const_cast<Table &>(*this));
}

QList<Row> Table::fetchVisible(FetchDirection direction, std::optional<KeyBoundary> boundary, int wanted,
                               bool *exhausted, const QList<SqlCondition> &extra) const
{
    const RowQuery rows = query(extra);
    const bool filtering = filtered_ && filterPredicate_;
    const int batch = filtering ? std::max(wanted * 2, 64) : wanted;
    QList<Row> visible;
    *exhausted = false;
    for (;;) {
        QList<Row> page = rows.fetch(direction, boundary, batch);
        for (qsizetype i = 0; i < page.size(); ++i) {
            Row &row = page[i];
            computeCalculated(row);
            if (!passesFilter(row))
                continue;
            visible.append(std::move(row));
            if (visible.size() == wanted) {
                *exhausted = page.size() < batch && i == page.size() - 1;
                return visible;
            }
        }
        if (page.size() < batch) {
            *exhausted = true;
            return visible;
        }
        boundary = rows.boundaryOf(page.last(), false);
    }
}

void Table::showRows(QList<Row> rows, int current, bool atStart, bool atEnd)
{
    window_ = std::move(rows);
    current_ = window_.isEmpty() ? -1 : current;
    windowAtStart_ = atStart;
    windowAtEnd_ = atEnd;
    windowChangeCount_ = connection_->changeCount();
    bof_ = eof_ = window_.isEmpty();
}

void Table::showEmpty()
{
    showRows({}, -1, true, true);
}

bool Table::windowIsStale() const
{
    return windowChangeCount_ != connection_->changeCount();
}

void Table::resetView()
{
    pageSize_ = kFirstPage;
    bool exhausted = false;
    QList<Row> rows = fetchVisible(FetchDirection::Forward, std::nullopt, pageSize_, &exhausted);
    showRows(std::move(rows), 0, true, exhausted);
    bof_ = true;
}

// Shows the row (read afresh when it still exists) with its neighbours; when it is gone or no
// longer in the view, the row after it, else the last one.
void Table::reloadAround(const Row &row)
{
    pageSize_ = kFirstPage;
    bool exhausted = false;
    const RowQuery rows = query();
    QList<Row> after = fetchVisible(FetchDirection::Forward, rows.boundaryOf(row, true), pageSize_, &exhausted);
    if (!after.isEmpty()) {
        showRows(std::move(after), 0, false, exhausted);
        return;
    }
    QList<Row> before = fetchVisible(FetchDirection::Backward, rows.boundaryOf(row, false), pageSize_, &exhausted);
    std::reverse(before.begin(), before.end());
    const int last = int(before.size()) - 1;
    showRows(std::move(before), last, exhausted, true);
    eof_ = true;
}

void Table::afterMove()
{
    notify(TableChange::Row);
    notifyDetails(); // details follow first, so the handler sees them moved
    if (events.afterScroll)
        events.afterScroll(*this);

}

void Table::first()
{
    requireOpen();
    checkBrowseMode();
    const qint64 before = current_ >= 0 ? window_[current_].rowId : 0;
    pageSize_ = kFirstPage;
    bool exhausted = false;
    showRows(fetchVisible(FetchDirection::Forward, std::nullopt, pageSize_, &exhausted), 0, true, exhausted);
    bof_ = true;
    if (current_ < 0 || window_[current_].rowId != before)
        afterMove();
}

void Table::last()
{
    requireOpen();
    checkBrowseMode();
    const qint64 before = current_ >= 0 ? window_[current_].rowId : 0;
    pageSize_ = kFirstPage;
    bool exhausted = false;
    QList<Row> rows = fetchVisible(FetchDirection::Backward, std::nullopt, pageSize_, &exhausted);
    std::reverse(rows.begin(), rows.end());
    const int last = int(rows.size()) - 1;
    showRows(std::move(rows), last, exhausted, true);
    eof_ = true;
    if (current_ < 0 || window_[current_].rowId != before)
        afterMove();
}

void Table::next()
{
    if (moveBy(1) == 0)
        eof_ = true;
}

void Table::prior()
{
    if (moveBy(-1) == 0)
        bof_ = true;
}

int Table::moveBy(int count)
{
    requireOpen();
    checkBrowseMode();
    if (current_ < 0 || count == 0)
        return 0;
    if (windowIsStale()) {
        const Row here = window_[current_];
        window_ = {here};
        current_ = 0;
        windowAtStart_ = windowAtEnd_ = false;
        windowChangeCount_ = connection_->changeCount();
    }
    const bool forward = count > 0;
    int moved = 0;
    while (moved < std::abs(count)) {
        const int target = current_ + (forward ? 1 : -1);
        if (target >= 0 && target < window_.size()) {
            current_ = target;
            ++moved;
            continue;
        }
        if (forward ? windowAtEnd_ : windowAtStart_)
            break;
        pageSize_ = std::min(std::max(pageSize_, kFirstPage) * 2, kLargestPage);
        bool exhausted = false;
        const Row here = window_[current_];
        QList<Row> more = fetchVisible(forward ? FetchDirection::Forward : FetchDirection::Backward,
                                       query().boundaryOf(here, false), pageSize_, &exhausted);
        if (forward) {
            window_ = QList<Row>{here} + more;
            current_ = 0;
            windowAtStart_ = false;
            windowAtEnd_ = exhausted;
        } else {
            std::reverse(more.begin(), more.end());
            window_ = more + QList<Row>{here};
            current_ = int(window_.size()) - 1;
            windowAtEnd_ = false;
            windowAtStart_ = exhausted;
        }
        if (more.isEmpty())
            break;
    }
    bof_ = !forward && moved < std::abs(count);
    eof_ = forward && moved < std::abs(count);
    if (moved > 0)
        afterMove();
    return forward ? moved : -moved;
}

bool Table::isEmpty() const
{
    requireOpen();
    bool exhausted = false;
    return fetchVisible(FetchDirection::Forward, std::nullopt, 1, &exhausted).isEmpty();
}

int Table::recordCount() const
{
    if (!isOpen())
        return 0;
    if (!(filtered_ && filterPredicate_))
        return int(query().count());
    int count = 0;
    std::optional<KeyBoundary> boundary;
    const RowQuery rows = query();
    for (;;) {
        bool exhausted = false;
        const QList<Row> page = fetchVisible(FetchDirection::Forward, boundary, kLargestPage, &exhausted);
        count += int(page.size());
        if (exhausted || page.isEmpty())
            return count;
        boundary = rows.boundaryOf(page.last(), false);
    }
}

void Table::refresh()
{
    requireOpen();
    checkBrowseMode();
    const qint64 before = current_ >= 0 ? window_[current_].rowId : 0;
    if (current_ >= 0)
        reloadAround(window_[current_]);
    else
        resetView();
    notify(TableChange::DataSet);
    notifyDetails();
    if (current_ < 0 || window_[current_].rowId != before) {
        if (events.afterScroll)
            events.afterScroll(*this);
    }

}

Bookmark Table::bookmark() const
{
    if (state_ == TableState::Insert || current_ < 0)
        return {};
    return {window_[current_].rowId};
}

Bookmark Table::storedBookmark() const
{
    if (state_ == TableState::Insert)
        return beforeInsert_;
    return bookmark();
}

bool Table::gotoBookmark(const Bookmark &bookmark)
{
    requireOpen();
    checkBrowseMode();
    if (!bookmark.isValid())
        return false;
    std::optional<Row> row = query().rowById(bookmark.rowId);
    if (!row)
        return false;
    reloadAround(*row);
    afterMove();
    return current_ >= 0 && window_[current_].rowId == bookmark.rowId;
}

void Table::disableControls()
{
    ++disabledControls_;
}

void Table::enableControls()
{
    if (disabledControls_ == 0 || --disabledControls_ > 0)
        return;
    if (std::exchange(changedWhileDisabled_, false))
        notify(TableChange::DataSet);
    notifyDetails();
}

QVariantList Table::storedKeyValues(const QVariantList &values) const
{
    const QList<KeyColumn> order = orderColumns();
    QVariantList stored;
    for (int i = 0; i < values.size() && i < order.size(); ++i)
        stored.append(StoredValue(storedField(order[i].field), values[i]));
    return stored;
}

bool Table::findKey(const QVariantList &values)
{
    requireOpen();
    checkBrowseMode();
    const QVariantList key = storedKeyValues(values);
    bool exhausted = false;
    const QList<Row> found = fetchVisible(FetchDirection::Forward, KeyBoundary{key, std::nullopt, true}, 1, &exhausted);
    if (found.isEmpty())
        return false;
    const QList<KeyColumn> order = orderColumns();
    for (int i = 0; i < key.size(); ++i)
        if (!SameKeyValue(found.first().values[order[i].field], key[i], order[i].collation))
            return false;
    reloadAround(found.first());
    afterMove();
    return true;
}

void Table::findNearest(const QVariantList &values)
{
    requireOpen();
    checkBrowseMode();
    bool exhausted = false;
    const QList<Row> found = fetchVisible(FetchDirection::Forward,
                                          KeyBoundary{storedKeyValues(values), std::nullopt, true}, 1, &exhausted);
    if (found.isEmpty()) {
        last();
        return;
    }
    reloadAround(found.first());
    afterMove();
}

bool Table::locate(const QString &field, const QString &textPrefix)
{
    requireOpen();
    checkBrowseMode();
    const FieldRef ref = fieldRef(field);
    const FieldDef &def = fieldDefOf(ref);
    const auto startsWith = [&](const Row &row) {
        const QVariant value = ref.calculated ? row.calculated.value(ref.position - structure_->definition.fields.size())
                                              : row.values.value(ref.position);
        return StoredAsString(def, value).startsWith(textPrefix, Qt::CaseInsensitive);
    };
    const auto show = [&](const Row &row) {
        reloadAround(row);
        afterMove();
        return true;
    };
    bool exhausted = false;
    // In an order that compares texts without regard to case, the rows beginning with the
    // text start at the text itself: one seek finds the first of them.
    if (const std::optional<KeyBoundary> seek = prefixSeek(ref.calculated ? -1 : ref.position, textPrefix)) {
        const QList<Row> found = fetchVisible(FetchDirection::Forward, seek, 1, &exhausted);
        return !found.isEmpty() && startsWith(found.first()) && show(found.first());
    }
    QList<SqlCondition> extra;
    if (!ref.calculated && IsTextField(def.type))
        extra.append({QByteArray(kStartsWithIgnoringCaseFunction) + '(' + QuotedName(def.name) + ", ?)", {textPrefix}});
    std::optional<KeyBoundary> from;
    const RowQuery rows = query(extra);
    for (;;) {
        const QList<Row> page = fetchVisible(FetchDirection::Forward, from, kLargestPage, &exhausted, extra);
        for (const Row &row : page)
            if (startsWith(row))
                return show(row);
        if (exhausted || page.isEmpty())
            return false;
        from = rows.boundaryOf(page.last(), false);
    }
}

// The boundary where rows whose field begins with the text start, when the order allows one
// seek: the field is compared without regard to case and every order column before it is held
// by the master link.
std::optional<KeyBoundary> Table::prefixSeek(int field, const QString &textPrefix) const
{
    if (field < 0)
        return std::nullopt;
    const QList<KeyColumn> order = orderColumns();
    QVariantList leading;
    for (const KeyColumn &column : order) {
        if (column.field == field) {
            if (column.collation != kPolishCaseInsensitiveCollation)
                return std::nullopt;
            return KeyBoundary{leading + QVariantList{textPrefix}, std::nullopt, true};
        }
        const int link = detailFieldPosition(column.field);
        if (link < 0 || !appliedMasterValues_ || column.collation != masterLinkCollation(column.field))
            return std::nullopt;
        leading.append(appliedMasterValues_->value(link));
    }
    return std::nullopt;
}
