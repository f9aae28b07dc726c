#include "ledger/document_filters.h"

#include "base/global_state.h"
#include "ledger/ledger_context.h"
#include "store/table.h"

namespace {

const QString kHeaderField = QStringLiteral("GLOWKA");

void Filter(Table &table, const QList<FilterCondition> &conditions)
{
    table.setFilterConditions(conditions);
    table.setFiltered(!conditions.isEmpty());
}

} // namespace

DocumentFilters::DocumentFilters(LedgerContext &context)
    : context_(context)
{
}

void DocumentFilters::applyHeaderFilter()
{
    QList<FilterCondition> conditions{{kHeaderField, FilterCondition::Op::Equal, true}};
    if (!context_.state.FiltrMiesiaca.isEmpty())
        conditions.append({QStringLiteral("DATA"), FilterCondition::Op::StartsWith, context_.state.FiltrMiesiaca});
    Filter(context_.tables.TNAG, conditions);
}

void DocumentFilters::setLineRowsOnly(bool on)
{
    lineRowsOnly_ = on;
    if (on)
        Filter(context_.tables.TPOZ, {{kHeaderField, FilterCondition::Op::NotEqual, true}});
    else
        Filter(context_.tables.TPOZ, {});
}

void DocumentFilters::applyDescriptionFilter()
{
    Filter(context_.tables.TSLO, {{QStringLiteral("RD"), FilterCondition::Op::Equal, context_.state.BiezacyRD.left(2)}});
}
