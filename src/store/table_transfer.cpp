#include "store/table_transfer.h"

#include "store/table_connection.h"
#include "store/table_storage.h"

#include <QDir>

namespace {

// The connection of an existing table, its open-lock given back when the work is done.
class OpenedTable {
public:
    explicit OpenedTable(const QString &path, bool exclusive = false)
        : connection_(TableConnection::acquire(path, exclusive)), exclusive_(exclusive)
    {
    }
    ~OpenedTable() { connection_->releaseOpenLock(exclusive_); }
    OpenedTable(const OpenedTable &) = delete;
    OpenedTable &operator=(const OpenedTable &) = delete;
    TableConnection &operator*() const { return *connection_; }
    TableConnection *operator->() const { return connection_.get(); }

private:
    std::shared_ptr<TableConnection> connection_;
    bool exclusive_;
};

QByteArrayList QuotedFieldNames(const TableDefinition &definition)
{
    QByteArrayList names;
    for (const FieldDef &field : definition.fields)
        names.append(QuotedName(field.name));
    return names;
}

QByteArray RowsInEntryOrderSql(TableConnection &connection, const TableDefinition &definition)
{
    const QByteArrayList fields = QuotedFieldNames(definition);
    return QByteArray("SELECT ") + kRowIdColumn + (fields.isEmpty() ? QByteArray() : ", " + fields.join(", "))
           + " FROM " + connection.dataTable() + " ORDER BY " + kRowIdColumn;
}

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString FieldText(const FieldDef &field)
{
    return QStringLiteral("%1 (%2, %3%4)")
        .arg(field.name)
        .arg(int(field.type))
        .arg(field.size)
        .arg(field.required ? QStringLiteral(", wymagane") : QString());
}

QString IndexText(const IndexDef &index)
{
    return QStringLiteral("%1: %2%3%4%5")
        .arg(index.name, index.fields.join(u';'), index.primary ? QStringLiteral(" główny") : QString(),
             index.unique ? QStringLiteral(" unikalny") : QString(),
             index.caseInsensitive ? QStringLiteral(" bez wielkości liter") : QString());
}

QStringList StructureTexts(const TableDefinition &definition)
{
    QStringList texts;
    for (const FieldDef &field : definition.fields)
        texts.append(FieldText(field));
    for (const IndexDef &index : definition.indexes)
        texts.append(IndexText(index));
    return texts;
}

// Values compare as stored: numbers by value, whichever way the store keeps them.
bool SameValue(const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull;
    const auto numeric = [](const QVariant &v) {
        return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
    };
    if (numeric(a) && numeric(b))
        return a.typeId() == QMetaType::LongLong && b.typeId() == QMetaType::LongLong ? a.toLongLong() == b.toLongLong()
                                                                                      : a.toDouble() == b.toDouble();
    if (a.typeId() == QMetaType::QByteArray || b.typeId() == QMetaType::QByteArray)
        return a.toByteArray() == b.toByteArray();
    return a.toString() == b.toString();
}

QString ValueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("puste");
    if (value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("%1 bajtów").arg(value.toByteArray().size());
    return u'"' + value.toString() + u'"';
}

} // namespace

TableDefinition TransferTable(const QString &sourcePath, const QString &targetPath)
{
    OpenedTable source(sourcePath);
    const TableDefinition definition = ReadTableStructure(*source).definition;
    // The indexes are made once the rows are in.
    TableDefinition withoutIndexes = definition;
    withoutIndexes.indexes.clear();
    CreateTableFile(targetPath, withoutIndexes);
    OpenedTable target(targetPath, true);
    TableConnection::Write write(*target);
    SqlStatement rows = source->prepareOnePass(RowsInEntryOrderSql(*source, definition));
    target->backend().appendRowsWithIds(QuotedFieldNames(definition), rows);
    BuildTableIndexes(*target, definition);
    write.commit();
    return definition;
}

QStringList TableDifferences(const QString &firstPath, const QString &secondPath)
{
    OpenedTable first(firstPath);
    OpenedTable second(secondPath);
    const TableDefinition definition = ReadTableStructure(*first).definition;
    const TableDefinition other = ReadTableStructure(*second).definition;
    const QString names = Shown(firstPath) + QStringLiteral(" / ") + Shown(secondPath);
    if (StructureTexts(definition) != StructureTexts(other))
        return {names + QStringLiteral(" : różna struktura tabeli")};
    SqlStatement a = first->prepareOnePass(RowsInEntryOrderSql(*first, definition));
    SqlStatement b = second->prepareOnePass(RowsInEntryOrderSql(*second, other));
    for (qint64 row = 1;; ++row) {
        const bool hasA = a.step();
        const bool hasB = b.step();
        if (!hasA && !hasB)
            return {};
        if (hasA != hasB)
            return {names + QStringLiteral(" : różna liczba wierszy")};
        for (int column = 0; column < a.columnCount(); ++column) {
            const QVariant left = a.value(column);
            const QVariant right = b.value(column);
            if (SameValue(left, right))
                continue;
            const QString field = column == 0 ? QStringLiteral("numer wiersza") : definition.fields[column - 1].name;
            return {names + QStringLiteral(" : wiersz %1, pole %2: %3 i %4").arg(row).arg(field, ValueText(left), ValueText(right))};
        }
    }
}
