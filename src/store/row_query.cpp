#include "store/row_query.h"

#include "store/polish_collation.h"
#include "store/sql_statement.h"
#include "store/table_connection.h"


namespace {

constexpr const char *kRowId = kRowIdColumn;

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

template <typename Each>
void RowQuery::step(const Segment &segment, FetchDirection direction, int limit, Each each) const
{
    QByteArrayList where;
    QVariantList parameters;
    for (const SqlCondition &condition : conditions_) {
        where.append('(' + condition.sql + ')');
        parameters += condition.parameters;
    }
    where += segment.terms;
    parameters += segment.parameters;

    const QByteArray way = connection_.backend().orderDirection(direction == FetchDirection::Forward);
    QByteArrayList orderBy;
    for (int i = 0; i <= order_.size(); ++i)
        orderBy.append(columnExpression(i) + way);

    QByteArray sql = "SELECT " + selectList_ + " FROM " + connection_.dataTable();
    if (!where.isEmpty())
        sql += " WHERE " + where.join(" AND ");
    sql += " ORDER BY " + orderBy.join(", ") + " LIMIT ?";

    SqlStatement statement = connection_.prepare(sql);
    statement.bindAll(parameters);
    statement.bind(int(parameters.size()) + 1, limit);
    while (statement.step())
        each(statement);
}

QList<Row> RowQuery::run(const Segment &segment, FetchDirection direction, int limit) const
{
    QList<Row> rows;
    step(segment, direction, limit, [&](const SqlStatement &statement) { rows.append(readRow(statement)); });
    return rows;
}

namespace {

// The row a statement stands on, its fields at the columns the select list gave them.
class StatementValues final : public StoredValues {
public:
    StatementValues(const SqlStatement &statement, const QList<int> &columnOfField)
        : statement_(statement), columnOfField_(columnOfField)
    {
    }
    qint64 rowId() const override { return statement_.integer(0); }
    QVariant value(int field) const override
    {
        const int column = columnOfField_.value(field, -1);
        return column < 0 ? QVariant() : statement_.value(column);
    }
    std::optional<QString> storedText(int field) const override
    {
        const int column = columnOfField_.value(field, -1);
        if (column < 0 || statement_.type(column) != StoredKind::Text)
            return std::nullopt;
        return statement_.text(column);
    }
    std::optional<qint64> storedInteger(int field) const override
    {
        const int column = columnOfField_.value(field, -1);
        if (column < 0 || statement_.type(column) != StoredKind::Integer)
            return std::nullopt;
        return statement_.integer(column);
    }

private:
    const SqlStatement &statement_;
    const QList<int> &columnOfField_;
};

} // namespace

std::optional<QString> RowStoredValues::storedText(int field) const
{
    const QVariant stored = row_.values.value(field);
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return stored.toString();
}

std::optional<qint64> RowStoredValues::storedInteger(int field) const
{
    const QVariant stored = row_.values.value(field);
    if (stored.typeId() != QMetaType::LongLong)
        return std::nullopt;
    return stored.toLongLong();
}

qint64 RowQuery::visit(const std::optional<KeyBoundary> &boundary, int limit,
                       const std::function<void(const StoredValues &)> &visit, int *visited) const
{
    const int fieldCount = int(structure_.definition.fields.size());
    QList<int> columnOfField(fieldCount, -1);
    if (readFields_.isEmpty())
        for (int field = 0; field < fieldCount; ++field)
            columnOfField[field] = field + 1;
    else
        for (int i = 0; i < readFields_.size(); ++i)
            columnOfField[readFields_[i]] = i + 1;
    int count = 0;
    qint64 last = 0;
    for (const Segment &segment : segmentsFrom(FetchDirection::Forward, boundary)) {
        if (count >= limit)
            break;
        step(segment, FetchDirection::Forward, limit - count, [&](const SqlStatement &statement) {
            const StatementValues values(statement, columnOfField);
            ++count;
            last = values.rowId();
            visit(values);
        });
    }
    *visited = count;
    return last;
}

void RowQuery::readOnly(const QList<int> &fields)
{
    const int fieldCount = int(structure_.definition.fields.size());
    QList<bool> wanted(fieldCount, false);
    for (int field : fields)
        if (field >= 0 && field < fieldCount)
            wanted[field] = true;
    for (const KeyColumn &column : order_)
        if (column.field >= 0 && column.field < fieldCount)
            wanted[column.field] = true;
    readFields_.clear();
    selectList_ = kRowId;
    for (int field = 0; field < fieldCount; ++field) {
        if (!wanted[field])
            continue;
        readFields_.append(field);
        selectList_ += ", " + QuotedName(structure_.definition.fields[field].name);
    }
}

Row RowQuery::readRow(const SqlStatement &statement) const
{
    const int fieldCount = int(structure_.definition.fields.size());
    if (readFields_.isEmpty())
        return ReadRow(statement, fieldCount);
    Row row;
    row.rowId = statement.integer(0);
    row.values.resize(fieldCount);
    for (int i = 0; i < readFields_.size(); ++i)
        row.values[readFields_[i]] = statement.value(i + 1);
    return row;
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

// The segments that together give the rows past the boundary in order: every row without a
// boundary, else level by level from the last column back.
QList<RowQuery::Segment> RowQuery::segmentsFrom(FetchDirection direction, const std::optional<KeyBoundary> &boundary) const
{
    if (!boundary)
        return {Segment{}};
    QList<Segment> segments;
    const int columns = int(boundary->values.size()) + (boundary->rowId ? 1 : 0);
    for (int level = columns - 1; level >= 0; --level)
        segments += levelSegments(direction, *boundary, level);
    return segments;
}

QList<Row> RowQuery::fetch(FetchDirection direction, const std::optional<KeyBoundary> &boundary, int limit) const
{
    QList<Row> rows;
    for (const Segment &segment : segmentsFrom(direction, boundary)) {
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
    SqlStatement statement = connection_.prepare("SELECT " + selectList_ + " FROM " + connection_.dataTable() + " WHERE "
                                                  + kRowId + " = ?");
    statement.bind(1, rowId);
    if (!statement.step())
        return std::nullopt;
    return readRow(statement);
}

qint64 RowQuery::count() const
{
    QByteArrayList where;
    QVariantList parameters;
    for (const SqlCondition &condition : conditions_) {
        where.append('(' + condition.sql + ')');
        parameters += condition.parameters;
    }
    QByteArray sql = "SELECT count(*) FROM " + connection_.dataTable();
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
