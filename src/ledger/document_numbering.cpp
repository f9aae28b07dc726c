#include "ledger/document_numbering.h"

#include "base/global_state.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_parameters.h"
#include "ledger/ledger_queries.h"
#include "store/table.h"

namespace {

const QString kNumberOrder = QStringLiteral("Ainx");

} // namespace

DocumentNumbering::DocumentNumbering(LedgerContext &context)
    : context_(context)
{
}

void DocumentNumbering::showSequence(const QString &desk, int report, const QString &kind)
{
    Table &view = context_.tables.KNAG;
    using Op = FilterCondition::Op;
    QList<FilterCondition> conditions{{QStringLiteral("GLOWKA"), Op::Equal, true},
                                      {QStringLiteral("RD"), Op::Equal, kind}};
    const NumberingScope scope = NumberingScopeOf(context_.tables.TPARA);
    if (scope != NumberingScope::AllDesks)
        conditions.append({QStringLiteral("SYMBOL"), Op::Equal, desk});
    if (scope == NumberingScope::Report)
        conditions.append({QStringLiteral("NUMER"), Op::Equal, report});
    view.cancelRange();
    // The view borrowed by other commands may hold their filter: a filter in an order no index
    // serves would be read row by row through the whole year, so the filter goes first.
    if (view.indexName() != kNumberOrder || !view.indexFieldNames().isEmpty()) {
        view.setFiltered(false);
        view.setIndexName(kNumberOrder);
    }
    view.setFilterConditions(conditions);
    view.setFiltered(true);
}

int DocumentNumbering::nextNumber(const QString &desk, int report, const QString &kind)
{
    showSequence(desk, report, kind);
    Table &view = context_.tables.KNAG;
    view.last();
    return view.asInteger(QStringLiteral("NRD")) + 1;
}

void DocumentNumbering::restoreNumberingView()
{
    if (!context_.tables.KNAG.isOpen())
        return;
    showSequence(CurrentDeskSymbol(context_.tables), CurrentReportNumber(context_.tables), context_.state.BiezacyRD);
}
