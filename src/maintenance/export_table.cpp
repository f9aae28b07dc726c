#include "maintenance/export_table.h"

#include "base/progress.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"
#include "store/row.h"
#include "store/row_query.h"
#include "store/table.h"

#include <QSaveFile>
#include <QScopeGuard>

namespace {

constexpr int kPageRows = 2000;

struct ExportColumn {
    QString name;
    int position = 0; // among the stored fields
    FieldDef def;
};

QList<ExportColumn> ColumnsOf(const ExchangeSource &source, const FieldMap &map)
{
    const QList<ExchangeField> fields = source.fields();
    QList<ExportColumn> columns;
    for (const FieldMapRow &row : map.rows) {
        if (!row.used())
            continue;
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].def.name.compare(row.fieldName, Qt::CaseInsensitive) == 0) {
                columns.append({CleanExchangeValue(row.fileColumn.trimmed()), i, fields[i].def});
                break;
            }
    }
    return columns;
}

// A number or money field holding text (written by another tool) would be exported as 0 and
// imported back as 0: the export stops naming the table, the row and the field.
void RefuseTextInANumberField(const Table &table, const FieldDef &field, const QVariant &value, int rowNumber)
{
    switch (field.type) {
    case FieldType::Currency:
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoIncrement:
    case FieldType::Boolean:
    case FieldType::Float:
        break;
    default:
        return;
    }
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
        return;
    throw ExchangeError(QStringLiteral("Tabela %1, wiersz %2, pole %3: wartość \"%4\" nie jest %5.\rPlik nie został zapisany.")
                            .arg(table.tableName())
                            .arg(rowNumber)
                            .arg(field.name, value.toString(),
                                 field.type == FieldType::Currency ? QStringLiteral("kwotą") : QStringLiteral("liczbą")));
}

// A stored value as the file holds it, taken straight from the engine where it is stored as the
// field's type says; any other value is built first (and refused when it cannot be the field's).
QString ExchangeTextOf(const Table &table, const FieldDef &field, const StoredValues &row, int position, int rowNumber)
{
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Date:
    case FieldType::Memo:
        if (std::optional<QString> text = row.storedText(position))
            return *text;
        break;
    case FieldType::Currency:
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoIncrement:
    case FieldType::Boolean:
        if (const std::optional<qint64> number = row.storedInteger(position))
            return ExchangeText(field, *number);
        break;
    default:
        break;
    }
    const QVariant value = row.value(position);
    RefuseTextInANumberField(table, field, value, rowNumber);
    return ExchangeText(field, value);
}

void WriteLine(QSaveFile &file, const QString &line, int lineNumber, const QList<ExportColumn> &columns,
               const QList<qsizetype> &starts)
{
    qsizetype badAt = -1;
    QByteArray bytes = EncodeWindows1250(line, badAt);
    if (badAt >= 0) {
        int column = 0;
        while (column + 1 < starts.size() && starts[column + 1] <= badAt)
            ++column;
        const QString name = column < columns.size() ? columns[column].name : QString();
        throw ExchangeError(QStringLiteral("Wiersz %1 pliku, kolumna %2 (%3): znaku \"%4\" nie da się zapisać w "
                                           "kodzie Windows-1250.\rPlik nie został zapisany.")
                                .arg(lineNumber).arg(column + 1).arg(name, line.mid(badAt, 1)),
                            lineNumber, column + 1);
    }
    bytes.append("\r\n");
    if (file.write(bytes) != bytes.size())
        throw ExchangeError(QStringLiteral("Błąd zapisu pliku : %1").arg(file.fileName()));
}

} // namespace

ExportResult ExportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress)
{
    Table &table = source.table;
    const QList<ExportColumn> columns = ColumnsOf(source, map);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExchangeError(QStringLiteral("Błąd otwarcia pliku : %1").arg(path));

    QList<qsizetype> starts;
    QString line;
    for (const ExportColumn &column : columns) {
        starts.append(line.size());
        line += column.name + QLatin1Char('\t');
    }
    WriteLine(file, line, 1, columns, starts);

    progress.Start(QStringLiteral("Export danych"), table.recordCount());
    const auto stop = qScopeGuard([&] { progress.Stop(); });
    ExportResult result;
    QList<int> positions;
    for (const ExportColumn &column : columns)
        positions.append(column.position);
    Bookmark after;
    for (;;) {
        // The rows are read a page at a time and written as they are read, without being built.
        const int read = table.visitRows(after, kPageRows, positions, [&](const StoredValues &row) {
            line.clear();
            starts.clear();
            for (const ExportColumn &column : columns) {
                starts.append(line.size());
                line += CleanExchangeValue(ExchangeTextOf(table, column.def, row, column.position, result.rows + 1));
                line += QLatin1Char('\t');
            }
            ++result.rows;
            WriteLine(file, line, result.rows + 1, columns, starts);
            progress.Postep();
            after = Bookmark{row.rowId()};
        });
        if (read < kPageRows)
            break;
    }
    if (!file.commit())
        throw ExchangeError(QStringLiteral("Błąd zapisu pliku : %1").arg(path));
    return result;
}
