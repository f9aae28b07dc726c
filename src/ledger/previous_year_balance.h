#pragma once

#include "base/money.h"

#include <QString>
#include <optional>

class Session;
struct GlobalState;

// The closing balance of the desk's last report in the year before the current one, when that
// year has the desk's reports and the last of them is closed. A year that is not there, or a
// desk that had no reports in it, has none to give.
std::optional<Money> PreviousYearClosingBalance(Session &session, const GlobalState &state, const QString &desk);

// "Przenieść stan kasy z roku 2026 : 11 325,88 zł ?"
QString CarryBalanceQuestion(const QString &year, Money balance, const QString &currency);
