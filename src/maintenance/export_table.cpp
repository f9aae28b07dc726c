#include "maintenance/export_table.h"

#include "base/progress.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"
#include "store/row.h"
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
    Bookmark after;
    for (;;) {
        const QList<Row> page = table.peekRows(after, kPageRows);
        for (const Row &row : page) {
            line.clear();
            starts.clear();
            for (const ExportColumn &column : columns) {
                starts.append(line.size());
                line += CleanExchangeValue(ExchangeText(column.def, row.values.value(column.position)));
                line += QLatin1Char('\t');
            }
            ++result.rows;
            WriteLine(file, line, result.rows + 1, columns, starts);
            progress.Postep();
        }
        if (page.size() < kPageRows)
            break;
        after = Bookmark{page.last().rowId};
    }
    if (!file.commit())
        throw ExchangeError(QStringLiteral("Błąd zapisu pliku : %1").arg(path));
    return result;
}
