#include "ledger/amount_limits.h"

#include "base/prompt.h"
#include "ledger/ledger_context.h"
#include "ledger/refusal.h"
#include "store/table.h"

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<Table *, QString>> AmountFields(const LedgerTables &t)
{
    return {{&t.TPOZ, QStringLiteral("KWOTAP")}, {&t.TNAG, QStringLiteral("KWOTA")},
            {&t.TNAG, QStringLiteral("KWOTAP")}, {&t.TNAG, QStringLiteral("L1")},
            {&t.TRKASA, QStringLiteral("BOWARTOSC")}, {&t.TRKASA, QStringLiteral("BZWARTOSC")},
            {&t.TSLO, QStringLiteral("CENA")}};
}

} // namespace

QString AmountBeyondLimitMessage()
{
    return QStringLiteral("Kwota nie może przekraczać 999 999 999 999,99.");
}

std::optional<Money> SumWithinLimit(Money a, Money b)
{
    try {
        const Money sum = a + b;
        if (sum.fitsAmount())
            return sum;
    } catch (const MoneyOverflow &) {
    }
    return std::nullopt;
}

AmountLimits::AmountLimits(LedgerContext &context) : context_(context)
{
    for (const auto &[table, field] : AmountFields(context_.tables)) {
        table->setFieldValidateHandler(field, [this](Table &t, const QString &name) {
            if (t.isNull(name) || t.asMoney(name).fitsAmount())
                return;
            context_.prompt.warning(AmountBeyondLimitMessage());
            Refuse();
        });
    }
}

AmountLimits::~AmountLimits()
{
    for (const auto &[table, field] : AmountFields(context_.tables))
        table->setFieldValidateHandler(field, nullptr);
}
