#include "print/listing_sheet_files.h"

#include "print/listing_file.h"
#include "print/listing_sheet.h"
#include "print/listing_sheet_workbook.h"
#include "print/preview_lines.h"
#include "base/prompt.h"
#include "print/save_file_dialog.h"
#include "print/text_print_module.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringEncoder>
#include <QTextStream>

#include <xlsxwriter.h>

namespace {

const QString kNoTable = QStringLiteral("Wykaz nie ma tabeli do zapisania.");
const QDate kDayNaught(1899, 12, 30);

QString CsvField(const SheetCell &cell)
{
    switch (cell.kind) {
    case SheetCell::Kind::Empty:
        return {};
    case SheetCell::Kind::Amount:
        // An amount in a currency keeps its code: a figure without it would say another sum.
        return cell.currency.isEmpty() ? cell.amount.toString() : cell.amount.toString() + u' ' + cell.currency;
    case SheetCell::Kind::Date:
        return cell.date.toString(Qt::ISODate);
    case SheetCell::Kind::Integer:
        return QString::number(cell.integer);
    case SheetCell::Kind::Text:
        break;
    }
    if (!cell.text.contains(u';') && !cell.text.contains(u'"') && !cell.text.contains(u'\n'))
        return cell.text;
    return u'"' + QString(cell.text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

// The text as UTF-8 with its closing zero, in a buffer that serves every cell in turn.
const char *Utf8(const QString &text, QByteArray &buffer)
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    buffer.resize(encoder.requiredSpace(text.size()) + 1);
    char *end = encoder.appendToBuffer(buffer.data(), text);
    *end = '\0';
    return buffer.constData();
}

} // namespace

QString WriteListingCsv(const PreviewLines &lines, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out.setGenerateByteOrderMark(true);
    ListingSheetReader reader;
    bool headed = false;
    const std::function<void(const SheetRow &)> writeRow = [&](const SheetRow &row) {
        for (qsizetype c = 0; c < row.cells.size(); ++c) {
            if (c > 0)
                out << u';';
            out << CsvField(row.cells[c]);
        }
        out << "\r\n";
    };
    for (qsizetype at = 0; at < lines.lineCount(); ++at) {
        reader.read(lines.row(at), writeRow);
        if (!headed && reader.hasHeading()) {
            headed = true;
            QStringList headings;
            for (const SheetColumn &column : reader.columns())
                headings.append(CsvField(ReadSheetCell(column.heading)));
            out << headings.join(u';') << "\r\n";
        }
    }
    out.flush();
    if (!reader.hasHeading())
        return kNoTable;
    if (out.status() != QTextStream::Ok || !file.flush())
        return file.errorString();
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

QString WriteListingXlsx(const PreviewLines &lines, const QString &path)
{
    lxw_workbook *book = OpenListingWorkbook(path);
    if (!book)
        return QStringLiteral("Nie można utworzyć pliku %1.").arg(path);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Wykaz");
    lxw_format *heading = workbook_add_format(book);
    format_set_bold(heading);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "#,##0.00");
    lxw_format *moneyTotal = workbook_add_format(book);
    format_set_num_format(moneyTotal, "#,##0.00");
    format_set_bold(moneyTotal);
    lxw_format *day = workbook_add_format(book);
    format_set_num_format(day, "yyyy-mm-dd");
    lxw_format *total = workbook_add_format(book);
    format_set_bold(total);

    // An amount in a currency shows its code after the figure, as the listing prints it.
    QHash<QString, lxw_format *> currencyFormats;
    const auto moneyFormat = [&](const QString &currency, bool inTotal) {
        if (currency.isEmpty())
            return inTotal ? moneyTotal : money;
        const QString key = currency + (inTotal ? QStringLiteral("+") : QString());
        lxw_format *&format = currencyFormats[key];
        if (!format) {
            format = workbook_add_format(book);
            format_set_num_format(format, QStringLiteral("#,##0.00 \"%1\"").arg(currency).toUtf8().constData());
            if (inTotal)
                format_set_bold(format);
        }
        return format;
    };
    ListingSheetReader reader;
    lxw_row_t next = 0;
    lxw_error failed = LXW_NO_ERROR;
    const auto check = [&](lxw_error error) {
        if (failed == LXW_NO_ERROR)
            failed = error;
    };
    QByteArray utf8;
    const std::function<void(const SheetRow &)> writeRow = [&](const SheetRow &row) {
        for (int c = 0; c < row.cells.size(); ++c) {
            const SheetCell &cell = row.cells[c];
            const auto column = lxw_col_t(c);
            switch (cell.kind) {
            case SheetCell::Kind::Empty:
                if (row.total)
                    check(worksheet_write_blank(sheet, next, column, total));
                break;
            case SheetCell::Kind::Amount:
                check(worksheet_write_number(sheet, next, column, cell.amount.toDouble(),
                                             moneyFormat(cell.currency, row.total)));
                break;
            case SheetCell::Kind::Integer:
                check(worksheet_write_number(sheet, next, column, double(cell.integer), row.total ? total : nullptr));
                break;
            case SheetCell::Kind::Date:
                // A day is the count of days since the spreadsheets' day naught, 1899-12-30.
                check(worksheet_write_number(sheet, next, column, double(kDayNaught.daysTo(cell.date)), day));
                break;
            case SheetCell::Kind::Text:
                check(worksheet_write_string(sheet, next, column, Utf8(cell.text, utf8),
                                             row.total ? total : nullptr));
                break;
            }
        }
        ++next;
    };
    for (qsizetype at = 0; at < lines.lineCount(); ++at) {
        reader.read(lines.row(at), writeRow);
        if (next == 0 && reader.hasHeading()) {
            const QList<SheetColumn> &columns = reader.columns();
            for (int c = 0; c < columns.size(); ++c) {
                check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::max(columns[c].width, 6) + 1.0, nullptr));
                check(worksheet_write_string(sheet, 0, lxw_col_t(c), columns[c].heading.toUtf8().constData(), heading));
            }
            worksheet_freeze_panes(sheet, 1, 0);
            next = 1;
        }
    }
    const lxw_error closed = workbook_close(book);
    if (!reader.hasHeading())
        return kNoTable;
    if (failed != LXW_NO_ERROR)
        return QString::fromUtf8(lxw_strerror(failed));
    if (closed != LXW_NO_ERROR)
        return QString::fromUtf8(lxw_strerror(closed));
    return {};
}

bool SavePreviewAsSheet(TDRUK &druk)
{
    const QString title = druk.Tytul.trimmed().isEmpty() ? QStringLiteral("wykaz") : druk.Tytul.trimmed();
    const std::optional<QString> chosen = druk.saveDialog().askSaveFileName(title + QStringLiteral(".xlsx"), QStringLiteral(".xlsx"));
    if (!chosen)
        return false;
    const QFileInfo target(*chosen);
    const ListingFile file(target.absoluteFilePath());
    const bool csv = target.suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
    const QString failed = csv ? WriteListingCsv(druk.preview(), file.scratch()) : WriteListingXlsx(druk.preview(), file.scratch());
    if (failed.isEmpty() && file.putInPlace())
        return true;
    druk.prompt().error(QStringLiteral("Nie zapisano arkusza %1.\r%2").arg(target.absoluteFilePath(), failed));
    return false;
}
