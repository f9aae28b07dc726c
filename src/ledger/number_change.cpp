#include "ledger/number_change.h"

#include "base/prompt.h"
#include "ledger/document_kinds.h"
#include "ledger/document_moves.h"
#include "ledger/document_numbering.h"
#include "ledger/document_totals.h"
#include "ledger/entered_number.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/renumbering_dialogs.h"
#include "ledger/refusal.h"
#include "ledger/row_posting.h"
#include "store/table.h"
#include "store/transaction_scope.h"

#include <QScopeGuard>

NumberChange::NumberChange(LedgerContext &context, DocumentNumbering &numbering, DocumentTotals &totals)
    : context_(context)
    , numbering_(numbering)
    , totals_(totals)
{
}

void NumberChange::changeNumber(NumberChangeDialog &dialog)
{
    LedgerTables &t = context_.tables;
    if (!HasRows(t.TNAG) || !CurrentReportIsOpen(t))
        return;
    const std::optional<QString> entered = dialog.askNewNumber(t.TNAG.asInteger(QStringLiteral("NRD")));
    if (!entered)
        return;
    const int number = EnteredDocumentNumber(*entered, context_.prompt);
    {
        // Whether the number is free is read with the files locked, until the document has it.
        TransactionScope scope;
        t.TRKASA.lockForWrite();
        t.TNAG.lockForWrite();
        if (!numberTaken(number)) {
            moveTo(number);
            scope.commit();
            // The lines followed the header while its number was being typed in, before the
            // header row itself carried the new number: read them again, so every window shows
            // all of them.
            if (t.TPOZ.isOpen() && t.TPOZ.state() == TableState::Browse)
                t.TPOZ.refresh();
            return;
        }
    }
    context_.prompt.information(
        QStringLiteral("W raporcie kasowym istnieje dokument o tym numerze\rBrak możliwości zmiany."));
}

void NumberChange::moveTo(int number)
{
    LedgerTables &t = context_.tables;
    const DocumentTotals::Detached amountSetBelow(totals_);
    const std::optional<Money> sum = totals_.linesSum();
    if (!sum)
        Refuse();
    MoveDocumentToNumber(context_, number);
    Table &header = t.TNAG;
    EditRow(header);
    header.setMoney(header.asString(QStringLiteral("RD")) == DocumentKind::RZ ? QStringLiteral("KWOTAP")
                                                                              : QStringLiteral("KWOTA"),
                    *sum);
    PostRow(header, context_.prompt);
}

// Only the document's own report is looked at, through the whole table in Rinx order.
bool NumberChange::numberTaken(int number)
{
    const LedgerTables &t = context_.tables;
    Table &view = t.KNAG;
    const auto restore = qScopeGuard([&] { Guarded([&] { numbering_.restoreNumberingView(); }); });
    view.cancelRange();
    view.setFiltered(false);
    view.setIndexName(QStringLiteral("Rinx"));
    return view.findKey({t.TNAG.value(QStringLiteral("SYMBOL")), t.TNAG.value(QStringLiteral("NUMER")),
                         t.TNAG.value(QStringLiteral("ROK")), t.TNAG.value(QStringLiteral("RD")), number});
}
