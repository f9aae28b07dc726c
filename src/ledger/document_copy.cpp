#include "ledger/document_copy.h"

#include "base/prompt.h"
#include "ledger/document_commands.h"
#include "ledger/document_kinds.h"
#include "ledger/document_numbering.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/row_posting.h"
#include "store/transaction_scope.h"

#include <QScopeGuard>

namespace {

// What a copy never takes over: its place in the table, its kind and number, its date, and
// whether it is a header.
const QStringList kNeverCopied{"SYMBOL", "NUMER", "AUTO", "RD", "ROK", "NRD", "POZ", "DATA", "GLOWKA"};

using FieldValues = QList<std::pair<QString, QVariant>>;

FieldValues CopiedValues(const Table &row)
{
    FieldValues values;
    for (const FieldDef &field : row.definition().fields)
        if (!kNeverCopied.contains(field.name, Qt::CaseInsensitive))
            values.append({field.name, row.value(field.name)});
    return values;
}

// A field that does not take the value is left as it is.
void Fill(Table &row, const FieldValues &values)
{
    for (const auto &[field, value] : values) {
        try {
            row.setValue(field, value);
        } catch (const EngineError &) {
        }
    }
}

} // namespace

DocumentCopy::DocumentCopy(LedgerContext &context, DocumentCommands &documents, DocumentNumbering &numbering)
    : context_(context)
    , documents_(documents)
    , numbering_(numbering)
{
}

void DocumentCopy::copyDocuments(const QList<Bookmark> &selected)
{
    LedgerTables &t = context_.tables;
    if (!HasRows(t.TNAG) || t.TNAG.asString(QStringLiteral("RD")) == DocumentKind::RZ)
        return;
    if (LastReportIsClosed(t.TRKASA)) {
        context_.prompt.warning(QStringLiteral("Ostatni Raport Kasowy jest ZAMKNIĘTY.\rBrak możliwości kopiowania."));
        return;
    }
    const QList<Bookmark> sources = selected.isEmpty() ? QList<Bookmark>{t.TNAG.bookmark()} : selected;
    const Bookmark sourceReport = t.TRKASA.bookmark();
    auto failed = qScopeGuard([&] { Guarded([&] { numbering_.restoreNumberingView(); }); });
    TransactionScope scope;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        if (i > 0 && t.TRKASA.bookmark() != sourceReport)
            t.TRKASA.gotoBookmark(sourceReport);
        if (!t.TNAG.gotoBookmark(sources[i]))
            continue;
        copyDocument();
    }
    scope.commit();
    failed.dismiss();
}

// The copy lands in the desk's last report and stays current there.
void DocumentCopy::copyDocument()
{
    LedgerTables &t = context_.tables;
    const QString kind = t.TNAG.asString(QStringLiteral("RD"));
    documents_.setCurrentKind(kind);
    const FieldValues header = CopiedValues(t.TNAG);
    QList<FieldValues> lines;
    for (t.TPOZ.first(); !t.TPOZ.eof(); t.TPOZ.next())
        if (!t.TPOZ.asBoolean(QStringLiteral("GLOWKA")))
            lines.append(CopiedValues(t.TPOZ));

    t.TRKASA.last();
    documents_.createHeader(kind);
    Fill(t.TNAG, header);
    documents_.postHeader();
    for (const FieldValues &line : std::as_const(lines)) {
        t.TPOZ.append();
        t.TPOZ.setBoolean(QStringLiteral("GLOWKA"), false);
        Fill(t.TPOZ, line);
        PostRow(t.TPOZ, context_.prompt);
    }
}
