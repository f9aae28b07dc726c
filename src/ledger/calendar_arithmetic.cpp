#include "ledger/calendar_arithmetic.h"

#include <QRegularExpression>

QDate CalendarResult(QDate chosen, const QString &offsetText)
{
    bool ok = false;
    const int offset = offsetText.trimmed().toInt(&ok);
    return chosen.addDays(ok ? offset : 0);
}

QString CalendarResultText(QDate chosen, const QString &offsetText)
{
    return CalendarResult(chosen, offsetText).toString(QStringLiteral("yyyy-MM-dd"));
}

QDate CalendarStartDate(const QString &typed, QDate today)
{
    static const QRegularExpression date(QStringLiteral("^\\s*(\\d{4})[-./](\\d{2})[-./](\\d{2})\\s*$"));
    const QRegularExpressionMatch match = date.match(typed);
    if (!match.hasMatch())
        return today;
    const QDate parsed(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    return parsed.isValid() ? parsed : today;
}
