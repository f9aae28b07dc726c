#include "print/listing_sheet.h"


namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsRuler(const QString &line)
{
    for (const QChar c : line)
        if (c != u'|' && c != u'-' && c != u'=' && c != u'+' && !c.isSpace())
            return false;
    return true;
}

// An amount as the listings print it: thousands apart by single spaces, a point or a comma (with
// spaces around it on the cash-state listing) before the two decimals, a currency code after.
// Read by hand: a long listing has millions of cells.
bool ReadAmount(QStringView text, SheetCell &cell)
{
    qsizetype at = 0;
    const qsizetype size = text.size();
    const bool negative = at < size && text[at] == u'-';
    if (negative) {
        ++at;
        while (at < size && text[at] == u' ')
            ++at;
    }
    qint64 whole = 0;
    int digits = 0;
    int group = 0; // digits since the last space
    while (at < size) {
        if (IsDigit(text[at])) {
            if (++digits > 15)
                return false;
            whole = whole * 10 + (text[at].unicode() - u'0');
            ++group;
            ++at;
        } else if (text[at] == u' ' && at + 1 < size && IsDigit(text[at + 1])) {
            if (group > 3 || digits == 0)
                return false;
            // The group after a space has exactly three digits.
            if (at + 4 > size || !IsDigit(text[at + 2]) || !IsDigit(text[at + 3]) || (at + 4 < size && IsDigit(text[at + 4])))
                return false;
            group = 0;
            ++at;
        } else {
            break;
        }
    }
    if (digits == 0)
        return false;
    while (at < size && text[at] == u' ')
        ++at;
    if (at >= size || (text[at] != u'.' && text[at] != u','))
        return false;
    ++at;
    while (at < size && text[at] == u' ')
        ++at;
    if (at + 2 > size || !IsDigit(text[at]) || !IsDigit(text[at + 1]))
        return false;
    const int cents = (text[at].unicode() - u'0') * 10 + (text[at + 1].unicode() - u'0');
    at += 2;
    QString currency;
    if (at < size) {
        if (text[at] != u' ')
            return false;
        while (at < size && text[at] == u' ')
            ++at;
        const QStringView code = text.mid(at);
        if (code.size() < 2 || code.size() > 3)
            return false;
        for (const QChar c : code)
            if (!c.isLetter())
                return false;
        currency = code.toString();
    }
    const qint64 units = (whole * 100 + cents) * 100;
    cell.kind = SheetCell::Kind::Amount;
    cell.amount = Money::fromUnits(negative ? -units : units);
    cell.currency = currency;
    return true;
}

bool ReadDay(QStringView text, SheetCell &cell)
{
    if (text.size() != 10 || text[4] != u'.' || text[7] != u'.')
        return false;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!IsDigit(text[i]))
            return false;
    const QDate date(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    if (!date.isValid())
        return false;
    cell.kind = SheetCell::Kind::Date;
    cell.date = date;
    return true;
}

// A whole number of at most 15 characters, a minus sign included: a spreadsheet keeps it exact.
bool ReadWholeNumber(QStringView text, SheetCell &cell)
{
    const bool negative = text.front() == u'-';
    if (text.size() > 15 || text.size() == qsizetype(negative))
        return false;
    qint64 value = 0;
    for (const QChar c : text.mid(negative ? 1 : 0)) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    cell.kind = SheetCell::Kind::Integer;
    cell.integer = negative ? -value : value;
    return true;
}

} // namespace

SheetCell ReadSheetCell(QStringView printed)
{
    SheetCell cell;
    const QStringView text = printed.trimmed();
    if (text.isEmpty())
        return cell;
    const QChar first = text.front();
    if (IsDigit(first) || first == u'-') {
        if (ReadAmount(text, cell) || ReadDay(text, cell) || ReadWholeNumber(text, cell))
            return cell;
    }
    cell.kind = SheetCell::Kind::Text;
    cell.text = text.toString();
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
        row_.cells.resize(columns_.size());
        return;
    }
    const QStringView whole(line);
    for (int i = 0; i + 1 < bars_.size(); ++i)
        row_.cells[i] = ReadSheetCell(whole.mid(bars_[i] + 1, bars_[i + 1] - bars_[i] - 1));
    row_.total = !row_.cells.isEmpty() && row_.cells.first().text.startsWith(QStringLiteral("RAZEM"));
    visit(row_);
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
