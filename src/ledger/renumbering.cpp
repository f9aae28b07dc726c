#include "ledger/renumbering.h"

#include "base/prompt.h"
#include "ledger/document_kinds.h"
#include "ledger/document_moves.h"
#include "ledger/document_totals.h"
#include "ledger/entered_number.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_parameters.h"
#include "ledger/ledger_queries.h"
#include "ledger/renumbering_dialogs.h"
#include "ledger/row_posting.h"
#include "store/table.h"
#include "store/transaction_scope.h"

#include <QHash>
#include <QScopeGuard>

namespace {

const QString kPlace = QStringLiteral("POZ");
const QString kNumber = QStringLiteral("NRD");
const QString kPlaceOrder = QStringLiteral("Pinx");
const QString kDateOrder = QStringLiteral("Dinx");
const QString kEntryOrder = QString(); // the primary index: desk, report, AUTO, ...

bool RenumberedKind(const QString &kind)
{
    return kind == DocumentKind::KP || kind == DocumentKind::KW || kind == DocumentKind::RZ || kind == DocumentKind::WZ;
}

void SetPlace(LedgerContext &context, int place)
{
    Table &headers = context.tables.TNAG;
    EditRow(headers);
    headers.setInteger(kPlace, place);
    PostRow(headers, context.prompt);
}

} // namespace

Renumbering::Renumbering(LedgerContext &context, DocumentTotals &totals)
    : context_(context)
    , totals_(totals)
{
}

void Renumbering::renumberPlacesByDate()
{
    renumberPlaces(kDateOrder);
}

void Renumbering::renumberPlacesByEntry()
{
    renumberPlaces(kEntryOrder);
}

// The list is left in place order, showing the new places.
void Renumbering::renumberPlaces(const QString &order)
{
    if (!CurrentReportIsOpen(context_.tables))
        return;
    Table &headers = context_.tables.TNAG;
    const auto placeOrder = qScopeGuard([&] { Guarded([&] { headers.setIndexName(kPlaceOrder); }); });
    TransactionScope scope;
    headers.setIndexName(order);
    int place = 0;
    for (const Bookmark &document : RowsInOrder(headers))
        if (headers.gotoBookmark(document))
            SetPlace(context_, ++place);
    scope.commit();
}

void Renumbering::renumberPlacesBackwards(RenumberDialog &dialog)
{
    Table &headers = context_.tables.TNAG;
    headers.last();
    const QString entered = dialog.askStartNumber(headers.asInteger(kPlace) + 1);
    int place = EnteredNumber(entered, context_.prompt);
    if (!CurrentReportIsOpen(context_.tables))
        return;
    TransactionScope scope;
    for (const Bookmark &document : RowsInOrder(headers, true))
        if (headers.gotoBookmark(document))
            SetPlace(context_, place--);
    scope.commit();
}

void Renumbering::renumberDocumentsAndPlacesByDate(RenumberDialog &dialog)
{
    LedgerTables &t = context_.tables;
    if (!CurrentReportIsOpen(t) || NumberingScopeOf(t.TPARA) == NumberingScope::AllDesks)
        return;
    if (!context_.prompt.askYesNo(QStringLiteral("Przenumerowanie dokumentów i pozycji raportu wg daty.\rCzy kontynuować ?"),
                                  PromptIcon::Warning))
        return;
    Table &headers = t.TNAG;
    const auto placeOrder = qScopeGuard([&] { Guarded([&] { headers.setIndexName(kPlaceOrder); }); });

    // The start numbers are asked before anything is written, so no other program waits for the
    // answers: one for each kind, at its first document by date, preset to that one's number.
    QHash<QString, int> next;
    headers.setIndexName(kDateOrder);
    for (const Bookmark &document : RowsInOrder(headers)) {
        if (!headers.gotoBookmark(document))
            continue;
        const QString kind = headers.asString(QStringLiteral("RD"));
        if (RenumberedKind(kind) && !next.contains(kind))
            next[kind] = EnteredDocumentNumber(dialog.askStartNumber(headers.asInteger(kNumber)), context_.prompt);
    }

    bool kindAddedMeanwhile = false;
    {
        TransactionScope scope;
        t.TRKASA.lockForWrite();
        headers.lockForWrite();
        headers.setIndexName(kDateOrder);
        int place = 0;
        for (const Bookmark &document : RowsInOrder(headers)) {
            if (!headers.gotoBookmark(document))
                continue;
            if (RenumberedKind(headers.asString(QStringLiteral("RD"))) && !next.contains(headers.asString(QStringLiteral("RD")))) {
                kindAddedMeanwhile = true;
                break;
            }
            SetPlace(context_, ++place);
        }
        if (!kindAddedMeanwhile) {
            // Each document goes first to a negative number, which no live document has, and
            // then to its new one: every line stays with its own header.
            const DocumentTotals::Detached linesKeepTheirAmount(totals_);
            headers.setIndexName(kPlaceOrder);
            const QList<Bookmark> documents = RowsInOrder(headers);
            for (const Bookmark &document : documents) {
                if (!headers.gotoBookmark(document))
                    continue;
                const QString kind = headers.asString(QStringLiteral("RD"));
                if (RenumberedKind(kind))
                    MoveDocumentToNumber(context_, -(next[kind]++));
            }
            for (const Bookmark &document : documents) {
                if (headers.gotoBookmark(document) && RenumberedKind(headers.asString(QStringLiteral("RD"))))
                    MoveDocumentToNumber(context_, -headers.asInteger(kNumber));
            }
            scope.commit();
            return;
        }
    }
    context_.prompt.warning(QStringLiteral("Inny program dodał w tym czasie dokumenty do raportu. Nic nie zmieniono, "
                                           "spróbuj ponownie."));
}
