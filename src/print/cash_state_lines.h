#pragma once

#include "base/money.h"

#include <QString>

// The lines of the cash-state listings, 89 characters each: the table of desks with their
// symbol, name and state, and a total per currency.
namespace CashStateLines {

QString Ruling();    // "=" across the table
QString Heading();   // "| SYMBOL | Nazwa Kasy ... | Stan Kasy ... |"
QString Separator(); // "|--------|----...|----...|"
// A desk: its symbol, name, state and currency code, each cut or padded to its column.
QString Desk(const QString &symbol, const QString &name, Money state, const QString &currencyCode);
// "| RAZEM  |" with the total of one currency.
QString Total(Money total, const QString &currencyCode);

} // namespace CashStateLines
