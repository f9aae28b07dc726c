#include "ledger/previous_year_balance.h"

#include "base/global_state.h"
#include "ledger/cash_state.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/table.h"

std::optional<Money> PreviousYearClosingBalance(Session &session, const GlobalState &state, const QString &desk)
{
    bool isYear = false;
    const int year = state.CurrentYear.toInt(&isYear);
    if (!isYear || desk.trimmed().isEmpty())
        return std::nullopt;
    Table reports(session);
    reports.setTableName(YearTablePath(state.DataRoot, QString::number(year - 1), QStringLiteral("KASA\\RKASA.DB")));
    if (!reports.exists())
        return std::nullopt;
    try {
        reports.open();
        reports.setFilterConditions({{QStringLiteral("SYMBOL"), FilterCondition::Op::Equal, desk}});
        reports.setFiltered(true);
        reports.last();
        if (reports.isEmpty() || !reports.asBoolean(QStringLiteral("ZAMKNIETY")))
            return std::nullopt;
        return reports.asMoney(QStringLiteral("BZWARTOSC"));
    } catch (const EngineError &) {
        // A year that cannot be read gives nothing to carry; the report opens as always.
        return std::nullopt;
    }
}

QString CarryBalanceQuestion(const QString &year, Money balance, const QString &currency)
{
    return QStringLiteral("Przenieść stan kasy z roku %1 : %2 ?").arg(year, FormatCashState(balance, currency).trimmed());
}
