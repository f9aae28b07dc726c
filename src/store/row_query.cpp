#include "store/row_query.h"

#include "store/polish_collation.h"
#include "store/sql_statement.h"
#include "store/table_connection.h"

namespace {

constexpr const char *kRowId = "_rowid_";

bool IsEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

} // namespace

int CompareKeyValues(const QVariant &a, const QVariant &b, const QByteArray &collation)
{
    const bool aEmpty = IsEmptyValue(a);
    const bool bEmpty = IsEmptyValue(b);
    if (aEmpty || bEmpty)
        return int(bEmpty) - int(aEmpty);
    const bool aText = a.typeId() == QMetaType::QString;
    const bool bText = b.typeId() == QMetaType::QString;
    if (aText != bText)
        return aText ? 1 : -1; // numbers before texts, as SQLite orders them
    if (!aText) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        if (a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double)
            return a.toLongLong() < b.toLongLong() ? -1 : a.toLongLong() > b.toLongLong() ? 1 : 0;
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const QString x = a.toString();
    const QString y = b.toString();
    if (collation == kPolishCaseInsensitiveCollation)
        return ComparePolish(x, y, true);
    if (collation == kPolishCollation) {
        const int polish = ComparePolish(x, y, false);
        if (polish != 0)
            return polish;
    }
    return x.toUtf8().compare(y.toUtf8());
}

QByteArray KeyColumnExpression(const TableDefinition &definition, const KeyColumn &column)
{
    QByteArray expression = QuotedName(definition.fields[column.field].name);
    if (!column.collation.isEmpty())
        expression += " COLLATE " + column.collation;
    return expression;
}

Row ReadRow(const SqlStatement &statement, int fieldCount)
{
    Row row;
    row.rowId = statement.integer(0);
    row.values.reserve(fieldCount);
    for (int i = 0; i < fieldCount; ++i)
        row.values.append(statement.value(i + 1));
    return row;
}

namespace {

// The row id and every field, built once for a run of queries on tables of one structure.
QByteArray SelectListFor(const QList<FieldDef> &fields)
{
    static QList<FieldDef> cachedFields;
    static QByteArray cached;
    if (!cached.isEmpty() && cachedFields == fields)
        return cached;
    QByteArray list = kRowId;
    for (const FieldDef &field : fields)
        list += ", " + QuotedName(field.name);
    // A list of its own, so the table's list is not shared and copied on its next change.
    cachedFields = QList<FieldDef>(fields.cbegin(), fields.cend());
    cached = list;
    return cached;
}

} // namespace

RowQuery::RowQuery(TableConnection &connection, const TableStructure &structure, QList<KeyColumn> order,
                   QList<SqlCondition> conditions, QList<HeldColumn> held)
    : connection_(connection), structure_(structure), order_(std::move(order)), conditions_(std::move(conditions)),
      held_(std::move(held))
{
    selectList_ = SelectListFor(structure_.definition.fields);
}

QByteArray RowQuery::columnExpression(int orderPosition) const
{
    if (orderPosition >= order_.size())
        return kRowId;
    return KeyColumnExpression(structure_.definition, order_[orderPosition]);
}

QList<Row> RowQuery::run(const Segment &segment, FetchDirection direction, int limit) const
{
    QByteArrayList where;
    QVariantList parameters;
    for (const SqlCondition &condition : conditions_) {
        where.append('(' + condition.sql + ')');
        parameters += condition.parameters;
    }
    where += segment.terms;
    parameters += segment.parameters;

    const char *way = direction == FetchDirection::Forward ? " ASC" : " DESC";
    QByteArrayList orderBy;
    for (int i = 0; i <= order_.size(); ++i)
        orderBy.append(columnExpression(i) + way);

    QByteArray sql = "SELECT " + selectList_ + " FROM " + kDataTable;
    if (!where.isEmpty())
        sql += " WHERE " + where.join(" AND ");
    sql += " ORDER BY " + orderBy.join(", ") + " LIMIT ?";

    SqlStatement statement = connection_.prepare(sql);
    statement.bindAll(parameters);
    statement.bind(int(parameters.size()) + 1, limit);
    QList<Row> rows;
    const int fieldCount = int(structure_.definition.fields.size());
    while (statement.step())
        rows.append(ReadRow(statement, fieldCount));
    return rows;
}

// Level j: the first j columns equal to the boundary, column j past it. Going backward an
// empty field lies before every value, so "before v" is read as "below v", then "empty".
QList<RowQuery::Segment> RowQuery::levelSegments(FetchDirection direction, const KeyBoundary &boundary,
                                                 int level) const
{
    const int columns = int(boundary.values.size()) + (boundary.rowId ? 1 : 0);
    auto valueAt = [&](int i) -> QVariant {
        return i < boundary.values.size() ? boundary.values[i] : QVariant(*boundary.rowId);
    };
    auto expressionAt = [&](int i) {
        return i < boundary.values.size() ? columnExpression(i) : QByteArray(kRowId);
    };

    Segment equal;
    for (int i = 0; i < level; ++i) {
        const QVariant value = valueAt(i);
        if (IsEmptyValue(value)) {
            equal.terms.append(expressionAt(i) + " IS NULL");
        } else {
            equal.terms.append(expressionAt(i) + " = ?");
            equal.parameters.append(value);
        }
    }

    const bool inclusive = boundary.inclusive && level == columns - 1;
    const QVariant value = valueAt(level);
    const QByteArray column = expressionAt(level);
    const bool empty = IsEmptyValue(value);
    auto with = [&](const QByteArray &term, bool bindValue) {
        Segment segment = equal;
        if (!term.isEmpty())
            segment.terms.append(term);
        if (bindValue)
            segment.parameters.append(value);
        return segment;
    };

    // A column the view holds to one value is past the boundary for every row or for none:
    // decided here, so SQLite never sees a range that contradicts the held value.
    if (level < boundary.values.size()) {
        for (const HeldColumn &held : held_) {
            if (!(held.column == order_[level]))
                continue;
            const int order = CompareKeyValues(held.value, value, held.column.collation);
            const bool past = direction == FetchDirection::Forward ? (inclusive ? order >= 0 : order > 0)
                                                                   : (inclusive ? order <= 0 : order < 0);
            return past ? QList<Segment>{equal} : QList<Segment>{};
        }
    }

    if (direction == FetchDirection::Forward) {
        if (inclusive)
            return {empty ? with({}, false) : with(column + " >= ?", true)};
        return {empty ? with(column + " IS NOT NULL", false) : with(column + " > ?", true)};
    }
    if (empty)
        return inclusive ? QList<Segment>{with(column + " IS NULL", false)} : QList<Segment>{};
    return {with(column + (inclusive ? " <= ?" : " < ?"), true), with(column + " IS NULL", false)};
}

QList<Row> RowQuery::fetch(FetchDirection direction, const std::optional<KeyBoundary> &boundary, int limit) const
{
    if (!boundary)
        return run(Segment{}, direction, limit);
    QList<Row> rows;
    const int columns = int(boundary->values.size()) + (boundary->rowId ? 1 : 0);
    for (int level = columns - 1; level >= 0 && rows.size() < limit; --level)
        for (const Segment &segment : levelSegments(direction, *boundary, level)) {
            if (rows.size() >= limit)
                break;
            rows += run(segment, direction, limit - int(rows.size()));
        }
    return rows;
}

QList<Row> RowQuery::fetchEqual(const QVariantList &values, int limit) const
{
    Segment equal;
    for (int i = 0; i < values.size(); ++i) {
        if (IsEmptyValue(values[i])) {
            equal.terms.append(columnExpression(i) + " IS NULL");
        } else {
            equal.terms.append(columnExpression(i) + " = ?");
            equal.parameters.append(values[i]);
        }
    }
    return run(equal, FetchDirection::Forward, limit);
}

std::optional<Row> RowQuery::rowById(qint64 rowId) const
{
    SqlStatement statement = connection_.prepare("SELECT " + selectList_ + " FROM " + kDataTable + " WHERE "
                                                  + kRowId + " = ?");
    statement.bind(1, rowId);
    if (!statement.step())
        return std::nullopt;
    return ReadRow(statement, int(structure_.definition.fields.size()));
}

qint64 RowQuery::count() const
{
    QByteArrayList where;
    QVariantList parameters;
    for (const SqlCondition &condition : conditions_) {
        where.append('(' + condition.sql + ')');
        parameters += condition.parameters;
    }
    QByteArray sql = QByteArray("SELECT count(*) FROM ") + kDataTable;
    if (!where.isEmpty())
        sql += " WHERE " + where.join(" AND ");
    SqlStatement statement = connection_.prepare(sql);
    statement.bindAll(parameters);
    return statement.step() ? statement.integer(0) : 0;
}

KeyBoundary RowQuery::boundaryOf(const Row &row, bool inclusive) const
{
    KeyBoundary boundary;
    for (const KeyColumn &column : order_)
        boundary.values.append(row.values.value(column.field));
    boundary.rowId = row.rowId;
    boundary.inclusive = inclusive;
    return boundary;
}
