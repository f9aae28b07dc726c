#include "ledger/document_totals.h"

#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/amount_limits.h"
#include "ledger/row_posting.h"
#include "ledger/stored_rules.h"
#include "store/table.h"

#include <QScopeGuard>

DocumentTotals::DocumentTotals(LedgerContext &context)
    : context_(context)
{
}

std::optional<Money> DocumentTotals::linesSum()
{
    Table &lines = context_.tables.TPOZ;
    const bool countHeader = HeaderIsFirstLine(context_.tables.TNAG.asString(QStringLiteral("RD")));
    const Bookmark current = lines.bookmark();
    lines.disableControls();
    const auto restore = qScopeGuard([&] {
        Guarded([&] {
            if (current.isValid() && lines.bookmark() != current)
                lines.gotoBookmark(current);
        });
        Guarded([&] { lines.enableControls(); });
    });
    Money sum;
    for (lines.first(); !lines.eof(); lines.next())
        if (countHeader || !lines.asBoolean(QStringLiteral("GLOWKA"))) {
            const std::optional<Money> next = SumWithinLimit(sum, lines.asMoney(QStringLiteral("KWOTAP")));
            if (!next)
                return std::nullopt;
            sum = *next;
        }
    return sum;
}

void DocumentTotals::recompute()
{
    Table &header = context_.tables.TNAG;
    if (detached() || !header.isOpen() || (header.state() != TableState::Insert && !HasRows(header)))
        return;
    // Inside the line's write: a sum beyond the largest amount refuses the line, so nothing of it
    // is stored.
    const std::optional<Money> sum = linesSum();
    if (!sum)
        RefuseWrite(QStringLiteral("Suma dokumentu przekroczyłaby 999 999 999 999,99. Pozycji nie zapisano."));
    EditRow(header);
    const bool settlement = header.asString(QStringLiteral("RD")) == DocumentKind::RZ;
    header.setMoney(settlement ? QStringLiteral("KWOTAP") : QStringLiteral("KWOTA"), *sum);
    PostRow(header, context_.prompt);
    header.refresh();
}
