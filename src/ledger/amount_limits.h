#pragma once

#include "base/money.h"

#include <QString>

struct LedgerContext;

// "Kwota nie może przekraczać 999 999 999 999,99.": the largest amount a field, a printout and
// the amount in words hold.
QString AmountBeyondLimitMessage();

// The sum of the amounts, or nullopt when it lies beyond the largest amount (or beyond what
// money can hold at all).
std::optional<Money> SumWithinLimit(Money a, Money b);

// The amount fields a person types into (lines, headers, reports, descriptions) refuse an amount
// beyond the largest one where it is typed: the message is shown and the field keeps its value.
class AmountLimits {
public:
    explicit AmountLimits(LedgerContext &context);
    ~AmountLimits();
    AmountLimits(const AmountLimits &) = delete;
    AmountLimits &operator=(const AmountLimits &) = delete;

private:
    LedgerContext &context_;
};
