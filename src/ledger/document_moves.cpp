#include "ledger/document_moves.h"

#include "ledger/ledger_context.h"
#include "ledger/row_posting.h"

#include <QScopeGuard>

namespace {

const QString kNumber = QStringLiteral("NRD");

} // namespace

QList<Bookmark> RowsInOrder(Table &view, bool backwards)
{
    QList<Bookmark> rows;
    view.disableControls();
    const auto enable = qScopeGuard([&] { view.enableControls(); });
    if (backwards)
        for (view.last(); !view.bof(); view.prior())
            rows.append(view.bookmark());
    else
        for (view.first(); !view.eof(); view.next())
            rows.append(view.bookmark());
    return rows;
}

void MoveDocumentToNumber(LedgerContext &context, int number)
{
    Table &lines = context.tables.TPOZ;
    QList<Bookmark> lineRows;
    for (lines.first(); !lines.eof(); lines.next())
        if (!lines.asBoolean(QStringLiteral("GLOWKA")))
            lineRows.append(lines.bookmark());
    for (const Bookmark &line : std::as_const(lineRows)) {
        if (!lines.gotoBookmark(line))
            continue;
        EditRow(lines);
        lines.setInteger(kNumber, number);
        PostRow(lines, context.prompt);
    }
    Table &header = context.tables.TNAG;
    EditRow(header);
    header.setInteger(kNumber, number);
    PostRow(header, context.prompt);
}
