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

// The file's bytes, built a line at a time and written in large pieces.
class ExportLines {
public:
    ExportLines(QSaveFile &file, const QList<ExportColumn> &columns) : file_(file), columns_(columns)
    {
        bytes_.reserve(kWriteBytes + 4096);
    }

    // The column's value, cleaned and in Windows-1250, and its tab; a character the code page
    // cannot hold stops the export naming the line, the column and the character.
    void text(int column, QStringView value)
    {
        qsizetype badAt = -1;
        if (!AppendCleanWindows1250(bytes_, value, badAt)) {
            const QString name = column < columns_.size() ? columns_[column].name : QString();
            throw ExchangeError(QStringLiteral("Wiersz %1 pliku, kolumna %2 (%3): znaku \"%4\" nie da się zapisać w "
                                               "kodzie Windows-1250.\rPlik nie został zapisany.")
                                    .arg(line_).arg(column + 1).arg(name, value.mid(badAt, 1).toString()),
                                line_, column + 1);
        }
        bytes_.append('\t');
    }
    // A value of letters and digits only, and its tab.
    void plain(const char *value, int length)
    {
        bytes_.append(value, length);
        bytes_.append('\t');
    }
    void endLine()
    {
        bytes_.append("\r\n", 2);
        ++line_;
        if (bytes_.size() >= kWriteBytes)
            flush();
    }
    void flush()
    {
        if (file_.write(bytes_) != bytes_.size())
            throw ExchangeError(QStringLiteral("Błąd zapisu pliku : %1").arg(file_.fileName()));
        bytes_.clear();
    }
    // The line being built, counting the header as 1.
    int line() const { return line_; }

private:
    static constexpr qsizetype kWriteBytes = 1 << 16;
    QSaveFile &file_;
    const QList<ExportColumn> &columns_;
    QByteArray bytes_;
    int line_ = 1;
};

// A stored value as the file holds it, taken straight from the engine where it is stored as the
// field's type says; any other value is built first (and refused when it cannot be the field's).
void WriteValue(ExportLines &lines, int column, const Table &table, const FieldDef &field, const StoredValues &row,
                int position, int rowNumber)
{
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Date:
    case FieldType::Memo:
        if (const std::optional<QString> text = row.storedText(position)) {
            lines.text(column, *text);
            return;
        }
        break;
    case FieldType::Currency:
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoIncrement:
    case FieldType::Boolean:
        if (const std::optional<qint64> number = row.storedInteger(position)) {
            char text[kExchangeNumberRoom];
            lines.plain(text, ExchangeNumberText(field.type, *number, text));
            return;
        }
        break;
    default:
        break;
    }
    const QVariant value = row.value(position);
    RefuseTextInANumberField(table, field, value, rowNumber);
    lines.text(column, ExchangeText(field, value));
}

} // namespace

ExportResult ExportTable(const ExchangeSource &source, const FieldMap &map, const QString &path, Progress &progress)
{
    Table &table = source.table;
    const QList<ExportColumn> columns = ColumnsOf(source, map);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExchangeError(QStringLiteral("Błąd otwarcia pliku : %1").arg(path));

    ExportLines lines(file, columns);
    for (int c = 0; c < columns.size(); ++c)
        lines.text(c, columns[c].name);
    lines.endLine();

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
            ++result.rows;
            for (int c = 0; c < columns.size(); ++c)
                WriteValue(lines, c, table, columns[c].def, row, columns[c].position, result.rows);
            lines.endLine();
            progress.Postep();
            after = Bookmark{row.rowId()};
        });
        if (read < kPageRows)
            break;
    }
    lines.flush();
    if (!file.commit())
        throw ExchangeError(QStringLiteral("Błąd zapisu pliku : %1").arg(path));
    return result;
}
