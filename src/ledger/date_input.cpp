#include "ledger/date_input.h"

#include "base/global_state.h"

#include <QDate>
#include <algorithm>

namespace {

QString InvalidDate(const QString &typed)
{
    return QStringLiteral("Niepoprawna data: %1\rProszę wpisać datę w postaci RRRR.MM.DD.").arg(typed);
}

} // namespace

QString DateInputProblem(const QString &typed)
{
    if (typed.trimmed().isEmpty() || QDate::fromString(typed, QStringLiteral("yyyy.MM.dd")).isValid())
        return {};
    return InvalidDate(typed);
}

QString BookDateProblem(const QString &date, const GlobalState &state, bool emptyAllowed)
{
    if (date.trimmed().isEmpty())
        return emptyAllowed ? QString() : InvalidDate(date.trimmed());
    const QDate day = QDate::fromString(date, QStringLiteral("yyyy.MM.dd"));
    if (!day.isValid())
        return InvalidDate(date);
    const int latest = LatestBookYear(state);
    if (day.year() >= kEarliestBookYear && day.year() <= latest)
        return {};
    return QStringLiteral("Niepoprawna data: %1\rRok daty musi leżeć między %2 a %3.")
        .arg(date)
        .arg(kEarliestBookYear)
        .arg(latest);
}

int LatestBookYear(const GlobalState &state)
{
    bool known = false;
    const int workingYear = state.CurrentYear.toInt(&known);
    return known ? std::max(workingYear + 1, state.TodayText.left(4).toInt()) : 9999;
}
