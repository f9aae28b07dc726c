#include "ledger/document_saving.h"

#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/row_posting.h"
#include "store/table.h"

namespace {

const QString kText = QStringLiteral("TYT1");

bool Editing(const Table &table)
{
    return table.isOpen() && (table.state() == TableState::Edit || table.state() == TableState::Insert);
}

} // namespace

DocumentSaving::DocumentSaving(LedgerContext &context) : context_(context) {}

void DocumentSaving::saveLinesAndHeader()
{
    PostRow(context_.tables.TPOZ, context_.prompt);
    PostRow(context_.tables.TNAG, context_.prompt);
}

void DocumentSaving::saveWithFirstLineText()
{
    Table &lines = context_.tables.TPOZ;
    Table &header = context_.tables.TNAG;
    PostRow(lines, context_.prompt);
    if (HasRows(lines)) {
        lines.first();
        const QString firstText = lines.asString(kText);
        if (header.asString(kText) != firstText) {
            EditRow(header);
            header.setString(kText, firstText);
        }
    }
    PostRow(header, context_.prompt);
}

void DocumentSaving::refreshNumbering()
{
    if (context_.tables.KNAG.isOpen())
        context_.tables.KNAG.refresh();
}

bool DocumentSaving::hasUnsavedChanges() const
{
    const Table &lines = context_.tables.TPOZ;
    const Table &header = context_.tables.TNAG;
    return (Editing(header) && header.modified()) || (Editing(lines) && lines.modified());
}

void DocumentSaving::discardChanges()
{
    context_.tables.TPOZ.cancel();
    context_.tables.TNAG.cancel();
}

bool DocumentSaving::hasStoredLines()
{
    Table &header = context_.tables.TNAG;
    if (!HasRows(header))
        return false;
    if (!header.asString(kText).trimmed().isEmpty() || !header.asMoney(QStringLiteral("KWOTAP")).isZero())
        return true;
    Table &lines = context_.tables.TPOZ;
    if (!lines.isOpen())
        return false;
    lines.refresh();
    for (lines.first(); !lines.eof(); lines.next())
        if (!lines.asBoolean(QStringLiteral("GLOWKA")))
            return true;
    return false;
}
