#include "print/listing_text.h"

#include "app/clock.h"
#include "app/global_state.h"
#include "app/text_format.h"

#include <QDate>

QString ListingAmount(Money amount)
{
    return FormatPicture(QStringLiteral("# ### ##9.99"), amount.roundedTo2().toDouble());
}

QString BlankColumnLine(const QString &heading)
{
    QString line(heading.size(), u' ');
    for (qsizetype i = 0; i < heading.size(); ++i)
        if (heading.at(i) == u'|')
            line[i] = u'|';
    return line;
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
