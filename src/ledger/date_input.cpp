#include "ledger/date_input.h"

#include <QDate>

QString DateInputProblem(const QString &typed)
{
    if (typed.trimmed().isEmpty() || QDate::fromString(typed, QStringLiteral("yyyy.MM.dd")).isValid())
        return {};
    return QStringLiteral("Niepoprawna data: %1\rProszę wpisać datę w postaci RRRR.MM.DD.").arg(typed);
}
