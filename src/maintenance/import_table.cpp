#include "maintenance/import_table.h"

#include "base/progress.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"
#include "store/engine_error.h"
#include "store/field_value.h"
#include "store/row.h"
#include "store/table.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>

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

// A key as the primary index compares it: the stored values, exactly.
QString KeyText(const QVariantList &stored)
{
    QString text;
    text.reserve(64);
    for (const QVariant &part : stored) {
        if (IsEmptyStored(part)) {
            text += QChar(1);
        } else if (part.typeId() == QMetaType::QString) {
            text += QLatin1Char('s');
            text += part.toString();
        } else {
            text += QLatin1Char('n');
            text += QString::number(part.toLongLong());
        }
        text += QChar(0);
    }
    return text;
}

// The keys of the rows the table shows, read a page at a time.
QSet<QString> KeysOf(Table &table, const QList<int> &keyPositions)
{
    QSet<QString> keys;
    Bookmark after;
    QVariantList parts(keyPositions.size());
    for (;;) {
        const QList<Row> page = table.peekRows(after, 2000);
        for (const Row &row : page) {
            for (int i = 0; i < keyPositions.size(); ++i)
                parts[i] = row.values.value(keyPositions[i]);
            keys.insert(KeyText(parts));
        }
        if (page.size() < 2000)
            return keys;
        after = Bookmark{page.last().rowId};
    }
}

// The table's view as it was, once the import is over or abandoned.
class ViewRestore {
public:
    explicit ViewRestore(Table &table) : table_(table), index_(table.indexName()) {}
    ~ViewRestore()
    {
        try {
            if (table_.state() == TableState::Edit || table_.state() == TableState::Insert)
                table_.cancel();
            if (table_.indexName() != index_)
                table_.setIndexName(index_);
            else
                table_.refresh();
        } catch (...) {
        }
    }

private:
    Table &table_;
    QString index_;
};

} // namespace

QString ImportedFileMarkerPath(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QLatin1Char('z') + info.fileName());
}

ImportResult ImportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress,
                         const std::function<void(Table &)> &afterRow)
{
    Table &table = source.table;
    const QStringList missing = map.missingKeyColumns(source);
    if (!missing.isEmpty() || map.fileColumnCount() == 0)
        throw ExchangeError(QStringLiteral("W pliku brak kolumny klucza: %1.").arg(missing.join(QStringLiteral(", "))));
    const QList<ImportColumn> columns = ColumnsOf(source, map);
    const QStringList keys = source.keyFields();

    const QByteArray bytes = ReadExchangeFile(path);
    ExchangeReader reader(bytes);
    QStringList values;
    reader.next(values); // the header

    ImportResult result;
    {
        ViewRestore restore(table);
        if (table.state() == TableState::Edit || table.state() == TableState::Insert)
            table.cancel();
        table.setIndexName(QString());
        table.cancelRange();

        progress.Start(QStringLiteral("Import danych"), qMax(0, reader.lineCount() - 1));
        const auto stop = qScopeGuard([&] { progress.Stop(); });
        TransactionScope scope;
        // The keys already there, kept up to date as rows go in: a key that is not among them
        // needs no search in the table.
        const TableDefinition definition = table.definition();
        QList<int> keyPositions;
        QList<FieldDef> keyDefs;
        for (const QString &field : keys) {
            keyPositions.append(definition.fieldIndex(field));
            keyDefs.append(definition.fields.value(keyPositions.last()));
        }
        QSet<QString> known = KeysOf(table, keyPositions);
        QVariantList storedKey(keys.size());
        QVariantList key(keys.size());
        QList<QVariant> parsed(columns.size());
        while (reader.next(values)) {
            const int line = reader.line();
            progress.Postep();
            for (QVariant &part : key)
                part = QVariant();
            for (int c = 0; c < columns.size(); ++c) {
                const ImportColumn &column = columns[c];
                if (column.position >= values.size()) {
                    parsed[c] = QVariant();
                    continue;
                }
                QString problem;
                parsed[c] = ParseExchangeValue(column.field, values[column.position], problem);
                if (!problem.isEmpty())
                    throw ValueError(line, column, values[column.position], problem);
                if (column.keyPosition >= 0)
                    key[column.keyPosition] = parsed[c];
            }
            try {
                for (int i = 0; i < key.size(); ++i)
                    storedKey[i] = StoredValue(keyDefs[i], key[i]);
                const bool exists = known.contains(KeyText(storedKey)) && table.findKey(key);
                if (exists)
                    table.edit();
                else
                    table.append();
                // A new row without defaults of its own is empty: its empty values need no setting.
                const bool blankRow = !exists && !table.events.onNewRow;
                for (int c = 0; c < columns.size(); ++c) {
                    const ImportColumn &column = columns[c];
                    if (column.written && column.position < values.size() && !(blankRow && !parsed[c].isValid()))
                        table.setValue(column.field.def.name, parsed[c]);
                }
                table.post();
                ++(exists ? result.updated : result.inserted);
                for (int i = 0; i < keyDefs.size(); ++i)
                    storedKey[i] = StoredValue(keyDefs[i], table.value(keyDefs[i].name));
                known.insert(KeyText(storedKey));
            } catch (const EngineError &error) {
                throw RowError(line, error.message());
            } catch (const Abort &) {
                throw RowError(line, QStringLiteral("wiersz odrzucony."));
            }
            ++result.rows;
            if (afterRow)
                afterRow(table);
        }
        try {
            scope.commit();
        } catch (const EngineError &error) {
            throw ExchangeError(QStringLiteral("Błąd zapisu: %1\rNic nie zostało zaimportowane.").arg(error.message()));
        }
    }

    result.markedPath = ImportedFileMarkerPath(path);
    QFile::remove(result.markedPath);
    result.markFailed = !QFile::rename(path, result.markedPath);
    return result;
}
