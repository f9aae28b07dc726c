#include "ledger/document_commands.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/document_filters.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/refusal.h"
#include "ledger/row_posting.h"
#include "store/table.h"
#include "store/transaction_scope.h"

namespace {

const QString kPlaceOrder = QStringLiteral("Pinx");

} // namespace

DocumentCommands::DocumentCommands(LedgerContext &context, DocumentFilters &filters)
    : context_(context)
    , filters_(filters)
{
}

void DocumentCommands::setCurrentKind(const QString &kind)
{
    context_.state.BiezacyRD = kind;
    filters_.applyDescriptionFilter();
}

bool DocumentCommands::requireOpenReport()
{
    if (CurrentReportIsOpen(context_.tables))
        return true;
    context_.prompt.warning(QStringLiteral("Brak otwartego raportu kasowego"));
    return false;
}

void DocumentCommands::createHeader(const QString &kind)
{
    setCurrentKind(kind);
    if (!CurrentReportIsOpen(context_.tables))
        Refuse();
    Table &headers = context_.tables.TNAG;
    if (headers.indexName() != kPlaceOrder || !headers.indexFieldNames().isEmpty())
        headers.setIndexName(kPlaceOrder);
    headers.last();
    const int lastPlace = headers.asInteger(QStringLiteral("POZ")); // 0 in an empty report
    headers.append();
    headers.setString(QStringLiteral("RD"), kind);
    headers.setInteger(QStringLiteral("NRD"), 0);
    headers.setString(QStringLiteral("ROK"), context_.state.CurrentYear);
    headers.setString(QStringLiteral("DATA"), context_.state.TodayText);
    headers.setInteger(QStringLiteral("POZ"), lastPlace + 1);
}

void DocumentCommands::postHeader()
{
    PostRow(context_.tables.TNAG, context_.prompt);
    context_.tables.TPOZ.refresh();
}

void DocumentCommands::deleteDocument()
{
    LedgerTables &t = context_.tables;
    if (!HasRows(t.TNAG) || !CurrentReportIsOpen(t))
        return;
    if (!context_.prompt.askYesNo(QStringLiteral("Czy skasować Dokument numer : ") + t.TNAG.asString(QStringLiteral("NRD")),
                                  PromptIcon::Warning))
        return;
    removeCurrentDocument();
}

// The lines go first, each recomputing the amount, then the header; one transaction for all.
void DocumentCommands::removeCurrentDocument()
{
    LedgerTables &t = context_.tables;
    TransactionScope scope;
    // The lines are gathered under the write lock, as stored then: a line another program added
    // a moment ago goes with its document instead of staying behind for the next one of the number.
    t.TPOZ.lockForWrite();
    t.TNAG.lockForWrite();
    t.TPOZ.refresh();
    QList<Bookmark> lines;
    for (t.TPOZ.last(); !t.TPOZ.bof(); t.TPOZ.prior())
        if (!t.TPOZ.asBoolean(QStringLiteral("GLOWKA")))
            lines.append(t.TPOZ.bookmark());
    for (const Bookmark &line : std::as_const(lines)) {
        if (t.TPOZ.gotoBookmark(line))
            t.TPOZ.deleteRow();
    }
    t.TNAG.deleteRow();
    scope.commit();
}
