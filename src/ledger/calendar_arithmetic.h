#pragma once

#include <QDate>
#include <QString>

// The calendar's "+ days =" line: the chosen day plus an offset typed as text; an offset that is
// no integer counts as 0.
QDate CalendarResult(QDate chosen, const QString &offsetText);
// The same as the calendar shows it: yyyy-MM-dd.
QString CalendarResultText(QDate chosen, const QString &offsetText);
// Where a date button opens the calendar: the typed date, or today when it is no valid date
// (dates typed as yyyy-mm-dd, yyyy/mm/dd or yyyy.mm.dd).
QDate CalendarStartDate(const QString &typed, QDate today);
