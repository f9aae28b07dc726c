#include "maintenance/import_table.h"

#include "base/progress.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

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
                const bool exists = table.findKey(key);
                if (exists)
                    table.edit();
                else
                    table.append();
                for (int c = 0; c < columns.size(); ++c) {
                    const ImportColumn &column = columns[c];
                    if (column.written && column.position < values.size())
                        table.setValue(column.field.def.name, parsed[c]);
                }
                table.post();
                ++(exists ? result.updated : result.inserted);
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
