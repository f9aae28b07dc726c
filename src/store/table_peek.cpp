#include "store/table.h"

#include "store/field_value.h"
#include "store/polish_collation.h"
#include "store/table_connection.h"

#include <QScopeGuard>

QList<Row> Table::peekRows(const Bookmark &after, int count, bool backward) const
{
    requireOpen();
    if (count <= 0)
        return {};
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

namespace {

// Where the rows after the bookmarked one begin in the query's order (no bound without a
// bookmark); false when that row is no longer stored.
bool BoundaryAfter(RowQuery &rows, const Bookmark &after, std::optional<KeyBoundary> &boundary)
{
    if (!after.isValid())
        return true;
    const std::optional<Row> anchor = rows.rowById(after.rowId);
    if (!anchor)
        return false;
    boundary = rows.boundaryOf(*anchor, false);
    return true;
}

} // namespace

QList<Row> Table::peekRows(const Bookmark &after, int count, const QList<int> &fields) const
{
    if ((filtered_ && filterPredicate_) || !calculatedFields_.isEmpty())
        return peekRows(after, count);
    requireOpen();
    if (count <= 0)
        return {};
    RowQuery rows = query();
    rows.readOnly(fields);
    std::optional<KeyBoundary> boundary;
    if (!BoundaryAfter(rows, after, boundary))
        return {};
    return rows.fetch(FetchDirection::Forward, boundary, count);
}

int Table::visitRows(const Bookmark &after, int count, const QList<int> &fields,
                     const std::function<void(const StoredValues &)> &visit) const
{
    if ((filtered_ && filterPredicate_) || !calculatedFields_.isEmpty()) {
        const QList<Row> rows = peekRows(after, count);
        for (const Row &row : rows)
            visit(RowStoredValues(row));
        return int(rows.size());
    }
    requireOpen();
    if (count <= 0)
        return 0;
    RowQuery rows = query();
    rows.readOnly(fields);
    std::optional<KeyBoundary> boundary;
    if (!BoundaryAfter(rows, after, boundary))
        return 0;
    int visited = 0;
    rows.visit(boundary, count, visit, &visited);
    return visited;
}

void Table::readingRow(const Row &row, const std::function<void()> &read) const
{
    const Row *previous = std::exchange(evaluating_, &row);
    const auto restore = qScopeGuard([&] { evaluating_ = previous; });
    read();
}

void Table::lockForWrite()
{
    requireOpen();
    connection_->joinScopeTransaction();
}

namespace {

int FieldPosition(const TableDefinition &definition, const QString &name)
{
    for (int i = 0; i < definition.fields.size(); ++i)
        if (definition.fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw EngineError(EngineErrorKind::Other, QStringLiteral("Pole %1 nie istnieje.").arg(name));
}

// The collations of the index whose key begins with the most of the fields, field by field.
QList<QByteArray> ServingCollations(const TableStructure &structure, const QList<int> &fields)
{
    QList<QByteArray> best(fields.size());
    int bestLength = 0;
    for (const QList<KeyColumn> &columns : structure.indexColumns) {
        int length = 0;
        while (length < fields.size() && length < columns.size() && columns[length].field == fields[length])
            ++length;
        if (length > bestLength) {
            bestLength = length;
            for (int i = 0; i < length; ++i)
                best[i] = columns[i].collation;
        }
    }
    return best;
}

QVariantList ReadValues(const SqlStatement &statement, const TableDefinition &definition, const QList<int> &positions)
{
    QVariantList values;
    for (int i = 0; i < positions.size(); ++i)
        values.append(ProgramValue(definition.fields[positions[i]], statement.value(i)));
    return values;
}

QByteArray SelectList(const TableDefinition &definition, const QList<int> &positions)
{
    QByteArrayList columns;
    for (int position : positions)
        columns.append(QuotedName(definition.fields[position].name));
    return columns.isEmpty() ? QByteArray("1") : columns.join(", ");
}

} // namespace

std::optional<QVariantList> Table::storedValues(const QStringList &keyFields, const QVariantList &key,
                                                const QStringList &fields, bool ignoringCase, bool otherRowsOnly) const
{
    requireOpen();
    const TableDefinition &definition = structure().definition;
    QList<int> keyPositions;
    for (const QString &name : keyFields)
        keyPositions.append(FieldPosition(definition, name));
    const QList<QByteArray> collations = ServingCollations(structure(), keyPositions);
    QByteArrayList where;
    QVariantList parameters;
    for (qsizetype i = 0; i < keyPositions.size(); ++i) {
        const FieldDef &field = definition.fields[keyPositions[i]];
        const QVariant stored = StoredValue(field, i < key.size() ? key[i] : QVariant());
        if (IsEmptyStored(stored)) {
            where.append(QuotedName(field.name) + " IS NULL");
            continue;
        }
        QByteArray term = QuotedName(field.name);
        if (IsTextField(field.type) && (ignoringCase || !collations[i].isEmpty()))
            term += " COLLATE " + (ignoringCase ? QByteArray(kPolishCaseInsensitiveCollation) : collations[i]);
        where.append(term + " = ?");
        parameters.append(stored);
    }
    if (otherRowsOnly && currentRowId() != 0) {
        where.append(QByteArray(kRowIdColumn) + " <> ?");
        parameters.append(currentRowId());
    }
    QList<int> positions;
    for (const QString &name : fields)
        positions.append(FieldPosition(definition, name));
    QByteArray sql = "SELECT " + SelectList(definition, positions) + " FROM " + connection_->dataTable();
    if (!where.isEmpty())
        sql += " WHERE " + where.join(" AND ");
    sql += connection_->backend().firstInEntryOrder();
    SqlStatement statement = connection_->prepare(sql);
    statement.bindAll(parameters);
    if (!statement.step())
        return std::nullopt;
    return ReadValues(statement, definition, positions);
}

std::optional<QVariantList> Table::storedValuesOfCurrentRow(const QStringList &fields) const
{
    requireOpen();
    const qint64 rowId = currentRowId();
    if (rowId == 0)
        return std::nullopt;
    const TableDefinition &definition = structure().definition;
    QList<int> positions;
    for (const QString &name : fields)
        positions.append(FieldPosition(definition, name));
    SqlStatement statement = connection_->prepare("SELECT " + SelectList(definition, positions) + " FROM "
                                                  + connection_->dataTable() + " WHERE " + kRowIdColumn + " = ?");
    statement.bind(1, rowId);
    if (!statement.step())
        return std::nullopt;
    return ReadValues(statement, definition, positions);
}

qint64 Table::currentRowId() const
{
    if (state_ == TableState::Edit)
        return editRow_.rowId;
    if (state_ == TableState::Insert || current_ < 0)
        return 0;
    return window_[current_].rowId;
}
