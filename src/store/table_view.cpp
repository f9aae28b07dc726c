#include "store/table.h"

#include "store/field_value.h"
#include "store/polish_collation.h"
#include "store/table_connection.h"

#include <algorithm>

namespace {

bool IsEmpty(const QVariant &value)
{
    return IsEmptyStored(value);
}

// Key comparisons in which an empty field lies before every value, as in the indexes.
struct BoundTerms {
    const QByteArray &column;
    const QVariant &value;

    SqlCondition equal() const
    {
        return IsEmpty(value) ? SqlCondition{column + " IS NULL", {}} : SqlCondition{column + " = ?", {value}};
    }
    SqlCondition above(bool orEqual) const
    {
        if (IsEmpty(value))
            return orEqual ? SqlCondition{"1 = 1", {}} : SqlCondition{column + " IS NOT NULL", {}};
        return {column + (orEqual ? " >= ?" : " > ?"), {value}};
    }
    SqlCondition below(bool orEqual) const
    {
        if (IsEmpty(value))
            return orEqual ? SqlCondition{column + " IS NULL", {}} : SqlCondition{"1 = 0", {}};
        return {'(' + column + (orEqual ? " <= ?" : " < ?") + " OR " + column + " IS NULL)", {value}};
    }
};

SqlCondition Either(const SqlCondition &a, const SqlCondition &b)
{
    return {'(' + a.sql + " OR " + b.sql + ')', a.parameters + b.parameters};
}

SqlCondition Both(const SqlCondition &a, const SqlCondition &b)
{
    return {'(' + a.sql + " AND " + b.sql + ')', a.parameters + b.parameters};
}

} // namespace

QList<KeyColumn> Table::orderColumns() const
{
    const TableStructure &stored = structure();
    if (!indexFieldNames_.isEmpty()) {
        const QStringList wanted = indexFieldNames_.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        auto startsWithWanted = [&](const IndexDef &index) {
            if (index.fields.size() < wanted.size())
                return false;
            for (int i = 0; i < wanted.size(); ++i)
                if (index.fields[i].compare(wanted[i].trimmed(), Qt::CaseInsensitive) != 0)
                    return false;
            return true;
        };
        const int primary = stored.indexPosition(QString());
        if (primary >= 0 && startsWithWanted(stored.definition.indexes[primary]))
            return stored.indexColumns[primary];
        for (int i = 0; i < stored.definition.indexes.size(); ++i)
            if (startsWithWanted(stored.definition.indexes[i]))
                return stored.indexColumns[i];
        // No index begins with these fields: the rows are sorted by them all the same.
        QList<KeyColumn> columns;
        for (const QString &name : wanted) {
            const int field = stored.definition.fieldIndex(name.trimmed());
            if (field < 0)
                throw EngineError(EngineErrorKind::Other,
                                  QStringLiteral("Tabela %1 nie ma pola %2.").arg(tableName_, name));
            columns.append({field, IndexCollation(stored.definition.fields[field].type, false)});
        }
        return columns;
    }
    const int position = stored.indexPosition(indexName_);
    if (position >= 0)
        return stored.indexColumns[position];
    if (indexName_.isEmpty())
        return {}; // no primary index: the order of entry
    throw EngineError(EngineErrorKind::Missing,
                      QStringLiteral("Tabela %1 nie ma indeksu %2.").arg(tableName_, indexName_));
}

QStringList Table::indexFields() const
{
    if (!isOpen())
        return {};
    QStringList names;
    for (const KeyColumn &column : orderColumns())
        names.append(storedField(column.field).name);
    return names;
}

int Table::indexFieldCount() const
{
    return int(indexFields().size());
}

int Table::detailFieldPosition(int field) const
{
    const QString &name = storedField(field).name;
    for (int i = 0; i < detailFields_.size(); ++i)
        if (detailFields_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A link field compares as the current order compares it, so the index can serve the link.
QByteArray Table::masterLinkCollation(int field) const
{
    for (const KeyColumn &column : orderColumns())
        if (column.field == field)
            return column.collation;
    return {};
}

SqlCondition Table::filterSql(const FilterCondition &condition) const
{
    const FieldRef ref = fieldRef(condition.field);
    if (ref.calculated)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Pole wyliczane %1 nie może być warunkiem filtru.").arg(condition.field));
    const FieldDef &def = storedField(ref.position);
    const bool text = IsTextField(def.type);
    const QByteArray column = KeyColumnExpression(
        structure_->definition,
        {ref.position, condition.caseInsensitive && text ? QByteArray(kPolishCaseInsensitiveCollation) : QByteArray()});
    using Op = FilterCondition::Op;
    if (condition.op == Op::StartsWith) {
        const QString prefix = condition.value.toString();
        if (condition.caseInsensitive)
            return {QByteArray(kStartsWithIgnoringCaseFunction) + '(' + QuotedName(def.name) + ", ?)", {prefix}};
        return {"substr(" + QuotedName(def.name) + ", 1, ?) = ?", {prefix.size(), prefix}};
    }
    const QVariant value = StoredValue(def, condition.value);
    if (IsEmpty(value)) {
        switch (condition.op) {
        case Op::Equal:
            return {column + " IS NULL", {}};
        case Op::NotEqual:
            return {column + " IS NOT NULL", {}};
        default:
            return {"1 = 0", {}};
        }
    }
    // An empty field differs from every value.
    if (condition.op == Op::NotEqual)
        return {"(" + column + " IS NULL OR " + column + " <> ?)", {value}};
    static const QHash<Op, QByteArray> operators{
        {Op::Equal, " = ?"},   {Op::Less, " < ?"},
        {Op::LessOrEqual, " <= ?"}, {Op::Greater, " > ?"},   {Op::GreaterOrEqual, " >= ?"},
    };
    return {column + operators.value(condition.op), {value}};
}

// Rows whose leading key columns lie between the range's start and end, both included.
QList<SqlCondition> Table::rangeSql() const
{
    const QList<KeyColumn> order = orderColumns();
    const QVariantList start = storedKeyValues(rangeStart_);
    const QVariantList end = storedKeyValues(rangeEnd_);
    QList<QByteArray> columns;
    for (const KeyColumn &column : order)
        columns.append(KeyColumnExpression(structure_->definition, column));

    QList<SqlCondition> conditions;
    int equal = 0;
    while (equal < start.size() && equal < end.size() && start[equal] == end[equal]) {
        conditions.append(BoundTerms{columns[equal], start[equal]}.equal());
        ++equal;
    }
    // Built from the last column back: past the start at this column, or equal and past it further on.
    auto bound = [&](const QVariantList &values, bool lower) -> std::optional<SqlCondition> {
        if (equal >= values.size())
            return std::nullopt;
        std::optional<SqlCondition> tail;
        for (int i = int(values.size()) - 1; i >= equal; --i) {
            const BoundTerms terms{columns[i], values[i]};
            const bool last = i == values.size() - 1;
            const SqlCondition strict = lower ? terms.above(last) : terms.below(last);
            tail = last ? strict : Either(strict, Both(terms.equal(), *tail));
        }
        return tail;
    };
    if (auto lower = bound(start, true)) {
        if (!IsEmpty(start[equal]))
            conditions.append(BoundTerms{columns[equal], start[equal]}.above(true)); // the seek
        conditions.append(*lower);
    }
    if (auto upper = bound(end, false)) {
        if (equal < start.size() && !IsEmpty(start[equal]) && !IsEmpty(end[equal]))
            conditions.append({columns[equal] + " <= ?", {end[equal]}}); // the end of the seek
        conditions.append(*upper);
    }
    return conditions;
}

QList<SqlCondition> Table::viewConditions() const
{
    QList<SqlCondition> conditions;
    if (master_ && appliedMasterValues_) {
        for (int i = 0; i < detailFields_.size(); ++i) {
            const int field = structure_->definition.fieldIndex(detailFields_[i]);
            const QByteArray column = KeyColumnExpression(structure_->definition, {field, masterLinkCollation(field)});
            conditions.append(BoundTerms{column, appliedMasterValues_->value(i)}.equal());
        }
    }
    if (rangeActive_)
        conditions += rangeSql();
    if (filtered_)
        for (const FilterCondition &condition : filterConditions_)
            conditions.append(filterSql(condition));
    return conditions;
}

// The columns the view holds to one value, with that value: link fields, a range with equal
// ends, and filter conditions of equality.
QList<HeldColumn> Table::heldColumns() const
{
    QList<HeldColumn> held;
    auto add = [&](const KeyColumn &column, const QVariant &value) {
        for (const HeldColumn &known : held)
            if (known.column == column)
                return;
        held.append({column, value});
    };
    if (master_)
        for (int i = 0; i < detailFields_.size(); ++i) {
            const int field = structure_->definition.fieldIndex(detailFields_[i]);
            if (field >= 0 && appliedMasterValues_)
                add({field, masterLinkCollation(field)}, appliedMasterValues_->value(i));
        }
    if (rangeActive_) {
        const QList<KeyColumn> order = orderColumns();
        const QVariantList start = storedKeyValues(rangeStart_);
        const QVariantList end = storedKeyValues(rangeEnd_);
        for (int i = 0; i < start.size() && i < end.size(); ++i) {
            if (start[i] != end[i])
                break;
            add(order[i], start[i]);
        }
    }
    if (filtered_)
        for (const FilterCondition &condition : filterConditions_) {
            if (condition.op != FilterCondition::Op::Equal || IsEmpty(condition.value))
                continue;
            const int field = structure_->definition.fieldIndex(condition.field);
            if (field < 0)
                continue;
            const FieldDef &def = structure_->definition.fields[field];
            const bool text = IsTextField(def.type);
            add({field, condition.caseInsensitive && text ? QByteArray(kPolishCaseInsensitiveCollation) : QByteArray()},
                StoredValue(def, condition.value));
        }
    return held;
}

void Table::reapplyView(bool keepRow)
{
    const qint64 before = current_ >= 0 ? window_[current_].rowId : 0;
    if (keepRow && current_ >= 0)
        reloadAround(window_[current_]);
    else
        resetView();
    notify(TableChange::DataSet);
    notifyDetails();
    if ((current_ >= 0 ? window_[current_].rowId : 0) != before && events.afterScroll)
        events.afterScroll(*this);

}

void Table::setIndexName(const QString &name)
{
    if (isOpen())
        checkBrowseMode();
    const QString oldName = std::exchange(indexName_, name);
    const QString oldFields = std::exchange(indexFieldNames_, QString());
    if (!isOpen())
        return;
    try {
        orderColumns();
    } catch (...) {
        indexName_ = oldName;
        indexFieldNames_ = oldFields;
        throw;
    }
    reapplyView(true);
}

void Table::setIndexFieldNames(const QString &fields)
{
    if (isOpen())
        checkBrowseMode();
    const QString oldName = std::exchange(indexName_, QString());
    const QString oldFields = std::exchange(indexFieldNames_, fields);
    if (!isOpen())
        return;
    try {
        orderColumns();
    } catch (...) {
        indexName_ = oldName;
        indexFieldNames_ = oldFields;
        throw;
    }
    reapplyView(true);
}

void Table::setRange(const QVariantList &start, const QVariantList &end)
{
    requireOpen();
    checkBrowseMode();
    rangeActive_ = true;
    rangeStart_ = start;
    rangeEnd_ = end;
    reapplyView(false);
}

void Table::cancelRange()
{
    if (!rangeActive_)
        return;
    if (isOpen())
        checkBrowseMode();
    rangeActive_ = false;
    rangeStart_.clear();
    rangeEnd_.clear();
    if (isOpen())
        reapplyView(false);
}

void Table::setFilterPredicate(std::function<bool(const Table &)> predicate)
{
    filterPredicate_ = std::move(predicate);
}

void Table::setFilterConditions(const QList<FilterCondition> &conditions)
{
    if (isOpen())
        for (const FilterCondition &condition : conditions)
            filterSql(condition); // an unknown field fails here, not at the next move
    if (isOpen() && filtered_)
        checkBrowseMode();
    filterConditions_ = conditions;
    if (isOpen() && filtered_)
        reapplyView(false);
}

void Table::addFilterCondition(const FilterCondition &condition)
{
    setFilterConditions(filterConditions_ + QList<FilterCondition>{condition});
}

void Table::setFilterCondition(const QString &field, const QVariant &value)
{
    addFilterCondition({field, FilterCondition::Op::Equal, value, false});
}

void Table::clearFilterConditions()
{
    setFilterConditions({});
}

void Table::setFiltered(bool filtered)
{
    if (filtered == filtered_)
        return;
    if (isOpen())
        checkBrowseMode();
    filtered_ = filtered;
    if (isOpen())
        reapplyView(false);
}
