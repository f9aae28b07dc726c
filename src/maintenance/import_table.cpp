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
#include <QHash>
#include <QScopeGuard>
#include <algorithm>
#include <optional>

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

    const QByteArray bytes = ReadExchangeFile(path);
    ExchangeReader reader(bytes);
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
        const TableDefinition &definition = writer->definition();
        const QList<int> &keyFields = writer->primaryKeyFields();
        // Where each column's value goes in the row, and which place of the key it takes.
        QList<int> fieldOf;
        QList<int> keyPlaceOf;
        for (const ImportColumn &column : columns) {
            const int field = definition.fieldIndex(column.field.def.name);
            fieldOf.append(field);
            keyPlaceOf.append(column.keyPosition >= 0 ? int(keyFields.indexOf(field)) : -1);
        }
        // A row whose counted key the file leaves empty is found by the fields that name it.
        // Only a file that carries every one of those fields names its rows so.
        QList<int> identity;
        for (const QString &name : source.identityFields)
            identity.append(definition.fieldIndex(name));
        if (std::any_of(identity.cbegin(), identity.cend(), [&fieldOf](int field) { return !fieldOf.contains(field); }))
            identity.clear();
        QList<int> countedKeyPlaces;
        for (int i = 0; i < keyFields.size(); ++i)
            if (definition.fields[keyFields[i]].type == FieldType::AutoIncrement)
                countedKeyPlaces.append(i);
        std::optional<QHash<QString, qint64>> storedByIdentity;
        QHash<QString, int> lineOfIdentity;
        const int fieldCount = int(definition.fields.size());
        QVariantList row(fieldCount);
        QVariantList key(keyFields.size());
        QList<int> written;
        QList<bool> isWritten(fieldCount);
        while (reader.next(values)) {
            const int line = reader.line();
            progress.Postep();
            // A file cut off in its last line would give a cut value (a town "Rad", a year "202"):
            // such a line is refused. A last line with all its columns is read as it is.
            if (!reader.recordEnded() && values.size() < headerColumns)
                throw RowError(line, QStringLiteral("wiersz jest ucięty (koniec pliku): ma %1 z %2 kolumn.")
                                         .arg(values.size()).arg(headerColumns));
            for (QVariant &value : row)
                value = QVariant();
            for (QVariant &part : key)
                part = QVariant();
            written.clear();
            std::fill(isWritten.begin(), isWritten.end(), false);
            for (int c = 0; c < columns.size(); ++c) {
                const ImportColumn &column = columns[c];
                if (keyPlaceOf[c] >= 0)
                    RequireKeyValue(line, column, column.position < values.size() ? values[column.position] : QString());
                if (column.position >= values.size())
                    continue;
                QString problem;
                const QVariant parsed = ParseExchangeValue(column.field, values[column.position], problem);
                if (!problem.isEmpty())
                    throw ValueError(line, column, values[column.position], problem);
                QVariant stored;
                try {
                    stored = StoredValue(definition.fields[fieldOf[c]], parsed);
                } catch (const EngineError &error) {
                    QString reason = error.message();
                    if (reason.endsWith(QLatin1Char('.')))
                        reason.chop(1);
                    throw ValueError(line, column, values[column.position], reason);
                }
                if (keyPlaceOf[c] >= 0)
                    key[keyPlaceOf[c]] = stored;
                if (column.written) {
                    row[fieldOf[c]] = stored;
                    if (!isWritten[fieldOf[c]]) {
                        isWritten[fieldOf[c]] = true;
                        written.append(fieldOf[c]);
                    }
                }
            }
            const bool countedKeyEmpty =
                !countedKeyPlaces.isEmpty()
                && std::all_of(countedKeyPlaces.cbegin(), countedKeyPlaces.cend(), [&key](int i) { return key[i].isNull(); });
            QString identityText;
            if (countedKeyEmpty && !identity.isEmpty()) {
                QStringList parts;
                for (const int field : std::as_const(identity))
                    parts.append(row[field].toString());
                identityText = parts.join(u'\t');
                if (const int earlier = lineOfIdentity.value(identityText, 0))
                    throw RowError(line, QStringLiteral("ten sam dokument (%1: %2) jest już w wierszu %3 pliku.")
                                             .arg(source.identityFields.join(u','), parts.join(u','))
                                             .arg(earlier));
                lineOfIdentity.insert(identityText, line);
            }
            try {
                qint64 rowId = 0;
                if (!identityText.isEmpty()) {
                    if (!storedByIdentity)
                        storedByIdentity = writer->rowsByFields(identity);
                    rowId = storedByIdentity->value(identityText, 0);
                } else {
                    rowId = writer->findPrimaryKey(key);
                }
                if (rowId != 0) {
                    std::sort(written.begin(), written.end());
                    writer->update(rowId, row, written);
                    for (int i = 0; i < keyFields.size(); ++i)
                        if (!isWritten[keyFields[i]])
                            row[keyFields[i]] = key[i];
                    ++result.updated;
                } else {
                    writer->insert(row);
                    ++result.inserted;
                }
            } catch (const EngineError &error) {
                throw RowError(line, error.message());
            }
            ++result.rows;
            if (afterRow)
                afterRow(row);
        }
        try {
            writer->commit();
        } catch (const EngineError &error) {
            throw ExchangeError(QStringLiteral("Błąd zapisu: %1\rNic nie zostało zaimportowane.").arg(error.message()));
        }
    }

    result.markedPath = ImportedFileMarkerPath(path);
    QFile::remove(result.markedPath);
    result.markFailed = !QFile::rename(path, result.markedPath);
    return result;
}
