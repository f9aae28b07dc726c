#include "maintenance/import_table.h"

#include "base/progress.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"
#include "store/engine_error.h"
#include "store/field_value.h"
#include "store/row.h"
#include "store/table.h"
#include "store/bulk_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QScopeGuard>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct ImportColumn {
    int position = 0; // among the file's columns
    QString name;     // as the file calls it
    ExchangeField field;
    int keyPosition = -1; // among the primary key's fields, -1 for the others
    bool written = true;  // an automatic number is only looked up by
};

QList<ImportColumn> ColumnsOf(const ExchangeSource &source, const FieldMap &map)
{
    const QList<ExchangeField> fields = source.fields();
    const QStringList keys = source.keyFields();
    QList<ImportColumn> columns;
    for (int i = 0; i < map.fileColumnCount() && i < map.rows.size(); ++i) {
        const FieldMapRow &row = map.rows[i];
        if (!row.used())
            continue;
        for (const ExchangeField &field : fields)
            if (field.def.name.compare(row.fieldName, Qt::CaseInsensitive) == 0) {
                ImportColumn column{i, row.fileColumn.trimmed(), field};
                if (row.key)
                    column.keyPosition = int(keys.indexOf(field.def.name));
                column.written = field.def.type != FieldType::AutoIncrement;
                columns.append(column);
                break;
            }
    }
    return columns;
}

QString Shown(const QString &value)
{
    constexpr int kLongest = 60;
    return value.size() > kLongest ? value.left(kLongest) + QStringLiteral("...") : value;
}

ExchangeError ValueError(int line, const ImportColumn &column, const QString &value, const QString &problem)
{
    return ExchangeError(QStringLiteral("Wiersz %1, kolumna %2 (%3): wartość \"%4\" - %5.\rNic nie zostało zaimportowane.")
                             .arg(line).arg(column.position + 1).arg(column.name, Shown(value), problem),
                         line, column.position + 1);
}

ExchangeError RowError(int line, const QString &problem)
{
    return ExchangeError(QStringLiteral("Wiersz %1: %2\rNic nie zostało zaimportowane.").arg(line).arg(problem), line, 0);
}

// A key value the file gives is never empty (but a counted one) nor negative, and holds no invisible character (a byte-order mark
// pasted inside a desk symbol would make a key nobody can type or find).
void RequireKeyValue(int line, const ImportColumn &column, const QString &value)
{
    // A counted key (AUTO) is the table's to give: a row without it is a new one.
    if (value.trimmed().isEmpty() && column.field.def.type != FieldType::AutoIncrement)
        throw RowError(line, QStringLiteral("brak wartości klucza w kolumnie %1 (%2).").arg(column.position + 1).arg(column.name));
    // No key the program gives is below zero; such a number is a row of another tool's making.
    const FieldType type = column.field.def.type;
    if ((type == FieldType::Integer || type == FieldType::SmallInt || type == FieldType::AutoIncrement)
        && value.trimmed().startsWith(u'-'))
        throw RowError(line, QStringLiteral("ujemna wartość klucza w kolumnie %1 (%2).").arg(column.position + 1).arg(column.name));
    for (const QChar c : value)
        if (c.category() == QChar::Other_Format || c.category() == QChar::Other_Control)
            throw RowError(line, QStringLiteral("wartość klucza w kolumnie %1 (%2) zawiera niewidoczny znak.")
                                     .arg(column.position + 1)
                                     .arg(column.name));
}

// The table's view, once the import is over or abandoned, shows the file as it is now.
class ViewRefresh {
public:
    explicit ViewRefresh(Table &table) : table_(table) {}
    ~ViewRefresh()
    {
        try {
            table_.refresh();
        } catch (...) {
        }
    }

private:
    Table &table_;
};

// The rows the import has named by their identity: such a row may be named only once.
class NamedRows {
public:
    void insert(qint64 rowId)
    {
        if (rowId > 0 && rowId < kBitsUpTo) {
            if (size_t(rowId) >= bits_.size())
                bits_.resize(std::max(size_t(rowId) + 1, bits_.size() * 2));
            bits_[size_t(rowId)] = true;
        } else {
            far_.insert(rowId);
        }
    }
    bool contains(qint64 rowId) const
    {
        if (rowId > 0 && rowId < kBitsUpTo)
            return size_t(rowId) < bits_.size() && bits_[size_t(rowId)];
        return far_.contains(rowId);
    }

private:
    // Row ids are mostly small and dense: one bit each; any other id is kept in a set.
    static constexpr qint64 kBitsUpTo = qint64(1) << 26;
    std::vector<bool> bits_;
    QSet<qint64> far_;
};

// One line of the file read into the table's stored values.
class LineValues {
public:
    LineValues(const ExchangeSource &source, const QList<ImportColumn> &columns, const BulkWriter &writer)
        : columns_(columns), definition_(writer.definition())
    {
        const QList<int> &keyFields = writer.primaryKeyFields();
        for (const ImportColumn &column : columns) {
            const int field = definition_.fieldIndex(column.field.def.name);
            fieldOf_.append(field);
            keyPlaceOf_.append(column.keyPosition >= 0 ? int(keyFields.indexOf(field)) : -1);
        }
        // A row whose counted key the file leaves empty is found by the fields that name it.
        // Only a file that carries every one of those fields names its rows so.
        for (const QString &name : source.identityFields)
            identity_.append(definition_.fieldIndex(name));
        if (std::any_of(identity_.cbegin(), identity_.cend(), [this](int field) { return !fieldOf_.contains(field); }))
            identity_.clear();
        for (int i = 0; i < keyFields.size(); ++i)
            if (definition_.fields[keyFields[i]].type == FieldType::AutoIncrement)
                countedKeyPlaces_.append(i);
        row.resize(definition_.fields.size());
        key.resize(keyFields.size());
        isWritten.resize(definition_.fields.size());
    }

    // Reads the line's values; a value a field cannot take throws naming the line and column.
    void read(const QStringList &values, int line)
    {
        for (QVariant &value : row)
            value = QVariant();
        for (QVariant &part : key)
            part = QVariant();
        written.clear();
        std::fill(isWritten.begin(), isWritten.end(), false);
        for (int c = 0; c < columns_.size(); ++c) {
            const ImportColumn &column = columns_[c];
            if (keyPlaceOf_[c] >= 0)
                RequireKeyValue(line, column, column.position < values.size() ? values[column.position] : QString());
            if (column.position >= values.size())
                continue;
            QString problem;
            const QVariant parsed = ParseExchangeValue(column.field, values[column.position], problem);
            if (!problem.isEmpty())
                throw ValueError(line, column, values[column.position], problem);
            QVariant stored;
            try {
                stored = StoredValue(definition_.fields[fieldOf_[c]], parsed);
            } catch (const EngineError &error) {
                QString reason = error.message();
                if (reason.endsWith(QLatin1Char('.')))
                    reason.chop(1);
                throw ValueError(line, column, values[column.position], reason);
            }
            if (keyPlaceOf_[c] >= 0)
                key[keyPlaceOf_[c]] = stored;
            if (column.written) {
                row[fieldOf_[c]] = stored;
                if (!isWritten[fieldOf_[c]]) {
                    isWritten[fieldOf_[c]] = true;
                    written.append(fieldOf_[c]);
                }
            }
        }
    }

    // The fields that name the row when its counted key is empty; empty when the key names it.
    const QList<int> &namingFields() const
    {
        static const QList<int> none;
        const bool countedKeyEmpty =
            !countedKeyPlaces_.isEmpty()
            && std::all_of(countedKeyPlaces_.cbegin(), countedKeyPlaces_.cend(), [this](int i) { return key[i].isNull(); });
        return countedKeyEmpty ? identity_ : none;
    }
    QStringList namingTexts() const
    {
        QStringList parts;
        for (const int field : identity_)
            parts.append(row[field].toString());
        return parts;
    }

    QVariantList row;
    QVariantList key;
    QList<int> written;
    QList<bool> isWritten;

private:
    const QList<ImportColumn> &columns_;
    const TableDefinition &definition_;
    QList<int> fieldOf_;    // where each column's value goes in the row
    QList<int> keyPlaceOf_; // which place of the key it takes
    QList<int> identity_;
    QList<int> countedKeyPlaces_;
};

// The first line of the file, before the given one, that names the same row by its identity.
int EarlierLineNaming(const QString &path, LineValues &line, const QStringList &naming, int before)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    ExchangeReader reader(file);
    QStringList values;
    reader.next(values); // the header
    while (reader.next(values) && reader.line() < before) {
        line.read(values, reader.line());
        if (!line.namingFields().isEmpty() && line.namingTexts() == naming)
            return reader.line();
    }
    return 0;
}

} // namespace

QString ImportedFileMarkerPath(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QLatin1Char('z') + info.fileName());
}

ImportResult ImportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress,
                         const std::function<void(const QVariantList &row)> &afterRow)
{
    Table &table = source.table;
    const QStringList missing = map.missingKeyColumns(source);
    if (!missing.isEmpty() || map.fileColumnCount() == 0)
        throw ExchangeError(QStringLiteral("W pliku brak kolumny klucza: %1.").arg(missing.join(QStringLiteral(", "))));
    const QList<ImportColumn> columns = ColumnsOf(source, map);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ExchangeError(QStringLiteral("Nie można odczytać pliku : %1").arg(path));
    ExchangeReader reader(file);
    QStringList values;
    reader.next(values); // the header
    const qsizetype headerColumns = values.size();

    ImportResult result;
    {
        ViewRefresh refresh(table);
        if (table.state() == TableState::Edit || table.state() == TableState::Insert)
            table.cancel();

        progress.Start(QStringLiteral("Import danych"), qMax(0, reader.lineCount() - 1));
        const auto stop = qScopeGuard([&] { progress.Stop(); });
        std::optional<BulkWriter> writer;
        try {
            writer.emplace(table);
        } catch (const EngineError &error) {
            throw ExchangeError(QStringLiteral("%1\rNic nie zostało zaimportowane.").arg(error.message()));
        }
        const QList<int> &keyFields = writer->primaryKeyFields();
        LineValues line(source, columns, *writer);
        NamedRows named;
        while (reader.next(values)) {
            const int lineNumber = reader.line();
            progress.Postep();
            // A file cut off in its last line would give a cut value (a town "Rad", a year "202"):
            // such a line is refused. A last line with all its columns is read as it is.
            if (!reader.recordEnded() && values.size() < headerColumns)
                throw RowError(lineNumber, QStringLiteral("wiersz jest ucięty (koniec pliku): ma %1 z %2 kolumn.")
                                               .arg(values.size()).arg(headerColumns));
            line.read(values, lineNumber);
            const QList<int> &naming = line.namingFields();
            try {
                const qint64 rowId = naming.isEmpty() ? writer->findPrimaryKey(line.key) : writer->findExact(naming, line.row);
                if (!naming.isEmpty() && rowId != 0 && named.contains(rowId)) {
                    const QStringList parts = line.namingTexts();
                    LineValues earlier(source, columns, *writer);
                    throw RowError(lineNumber, QStringLiteral("ten sam dokument (%1: %2) jest już w wierszu %3 pliku.")
                                                   .arg(source.identityFields.join(u','), parts.join(u','))
                                                   .arg(EarlierLineNaming(path, earlier, parts, lineNumber)));
                }
                qint64 written = rowId;
                if (rowId != 0) {
                    std::sort(line.written.begin(), line.written.end());
                    writer->update(rowId, line.row, line.written);
                    for (int i = 0; i < keyFields.size(); ++i)
                        if (!line.isWritten[keyFields[i]])
                            line.row[keyFields[i]] = line.key[i];
                    ++result.updated;
                } else {
                    written = writer->insert(line.row);
                    ++result.inserted;
                }
                if (!naming.isEmpty())
                    named.insert(written);
            } catch (const EngineError &error) {
                throw RowError(lineNumber, error.message());
            }
            ++result.rows;
            if (afterRow)
                afterRow(line.row);
        }
        try {
            writer->commit();
        } catch (const EngineError &error) {
            throw ExchangeError(QStringLiteral("Błąd zapisu: %1\rNic nie zostało zaimportowane.").arg(error.message()));
        }
    }

    file.close();
    result.markedPath = ImportedFileMarkerPath(path);
    QFile::remove(result.markedPath);
    result.markFailed = !QFile::rename(path, result.markedPath);
    return result;
}
