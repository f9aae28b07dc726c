#include "print/listing_sheet.h"

#include <QRegularExpression>

namespace {

// An amount as the listings print it: thousands apart by spaces, a point or a comma (with spaces
// around it on the cash-state listing) before the two decimals, a currency code after.
const QRegularExpression &AmountPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(-?)\s*(\d{1,3}(?: \d{3})*|\d+)\s*[.,]\s*(\d{2})(?:\s+([A-Za-zŁł]{2,3}))?$)"));
    return pattern;
}

const QRegularExpression &DayPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{4})\.(\d{2})\.(\d{2})$)"));
    return pattern;
}

bool IsRuler(const QString &line)
{
    for (const QChar c : line)
        if (c != u'|' && c != u'-' && c != u'=' && c != u'+' && !c.isSpace())
            return false;
    return true;
}

} // namespace

SheetCell ReadSheetCell(const QString &printed)
{
    SheetCell cell;
    cell.text = printed.trimmed();
    if (cell.text.isEmpty())
        return cell;
    cell.kind = SheetCell::Kind::Text;
    if (const QRegularExpressionMatch amount = AmountPattern().match(cell.text); amount.hasMatch()) {
        const QString digits = amount.captured(1) + QString(amount.captured(2)).remove(u' ') + u',' + amount.captured(3);
        if (const std::optional<Money> value = Money::parse(digits)) {
            cell.kind = SheetCell::Kind::Amount;
            cell.amount = *value;
            cell.currency = amount.captured(4);
            return cell;
        }
    }
    if (const QRegularExpressionMatch day = DayPattern().match(cell.text); day.hasMatch()) {
        const QDate date(day.captured(1).toInt(), day.captured(2).toInt(), day.captured(3).toInt());
        if (date.isValid()) {
            cell.kind = SheetCell::Kind::Date;
            cell.date = date;
            return cell;
        }
    }
    bool number = false;
    const qint64 integer = cell.text.toLongLong(&number);
    if (number && cell.text.size() <= 15) {
        cell.kind = SheetCell::Kind::Integer;
        cell.integer = integer;
    }
    return cell;
}

void ListingSheetReader::read(const QString &line, const std::function<void(const SheetRow &)> &visit)
{
    if (!line.startsWith(u'|') || IsRuler(line))
        return;
    if (columns_.isEmpty()) {
        for (int i = 0; i < line.size(); ++i)
            if (line.at(i) == u'|')
                bars_.append(i);
        for (int i = 0; i + 1 < bars_.size(); ++i)
            columns_.append({line.mid(bars_[i] + 1, bars_[i + 1] - bars_[i] - 1).trimmed(), bars_[i + 1] - bars_[i] - 1});
        return;
    }
    SheetRow row;
    for (int i = 0; i + 1 < bars_.size(); ++i)
        row.cells.append(ReadSheetCell(line.mid(bars_[i] + 1, bars_[i + 1] - bars_[i] - 1)));
    row.total = !row.cells.isEmpty() && row.cells.first().text.startsWith(QStringLiteral("RAZEM"));
    visit(row);
}

ListingSheet ReadListingSheet(const QStringList &lines)
{
    ListingSheetReader reader;
    ListingSheet sheet;
    for (const QString &line : lines)
        reader.read(line, [&](const SheetRow &row) { sheet.rows.append(row); });
    sheet.columns = reader.columns();
    return sheet;
}
