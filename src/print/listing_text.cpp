#include "print/listing_text.h"

#include "base/clock.h"
#include "base/global_state.h"
#include "base/text_format.h"

#include <QDate>

namespace {

const QString kAmountPicture = QStringLiteral("# ### ##9.99");
constexpr int kAmountWidth = 12;
const Money kFirstOverflowingAmount = Money::fromCents(1'000'000'000);

} // namespace

// For an amount from 0 up to what the picture holds, the picture's text is the amount's digits
// grouped by thousands with "." before the cents, right-aligned (the "#" places of leading
// zeros and the picture's spaces are blanks): written so directly, as the picture would cost a
// listing of a year more than reading its rows does. Negative amounts (the minus takes a digit
// place) and the overflow go through the picture.
QString ListingAmount(Money amount)
{
    const Money rounded = amount.roundedTo2();
    if (rounded.isNegative() || rounded >= kFirstOverflowingAmount)
        return FormatPicture(kAmountPicture, rounded.toDouble());
    qint64 cents = rounded.units() / (Money::kUnitsPerWhole / 100);
    QString text(kAmountWidth, u' ');
    qsizetype at = kAmountWidth - 1;
    for (int digit = 0; digit < 2; ++digit, cents /= 10)
        text[at--] = QChar(char16_t(u'0' + cents % 10));
    text[at--] = u'.';
    for (int digit = 0; digit == 0 || cents > 0; ++digit, cents /= 10) {
        if (digit > 0 && digit % 3 == 0)
            --at; // the picture's space between groups
        text[at--] = QChar(char16_t(u'0' + cents % 10));
    }
    return text;
}

QString ListingTotal(Money total)
{
    const QString wide = FormatPicture(QStringLiteral("### ### ### ### ### ##9.99"), total.roundedTo2().toDouble()).trimmed();
    return wide.size() <= kAmountWidth ? wide.rightJustified(kAmountWidth) : wide;
}

int ListingTotalColumn(int amountColumn, const QString &total)
{
    return amountColumn + kAmountWidth - int(total.size());
}

QString BlankColumnLine(const QString &heading)
{
    QString line(heading.size(), u' ');
    for (qsizetype i = 0; i < heading.size(); ++i)
        if (heading.at(i) == u'|')
            line[i] = u'|';
    return line;
}

ColumnLine &ColumnLine::put(int column, QStringView text)
{
    const qsizetype start = column - 1;
    if (start < 0 || start + text.size() > line_.size()) {
        line_ = PutAt(line_, column, text.toString());
        return *this;
    }
    std::copy(text.begin(), text.end(), line_.begin() + start);
    return *this;
}

QString ListingClockText(QTime time)
{
    return FormatPicture(QStringLiteral("99:"), time.hour()) + FormatPicture(QStringLiteral("99"), time.minute());
}

QString StoredDate(QDate day)
{
    return day.toString(QStringLiteral("yyyy.MM.dd"));
}

QString TypedDate(QDate day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate ProgramToday(const GlobalState &state, const Clock &clock)
{
    const QDate today = QDate::fromString(state.TodayText, QStringLiteral("yyyy.MM.dd"));
    return today.isValid() ? today : clock.today();
}
