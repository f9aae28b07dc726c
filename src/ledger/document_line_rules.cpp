#include "ledger/document_line_rules.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/document_filters.h"
#include "ledger/document_kinds.h"
#include "ledger/document_totals.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/refusal.h"
#include "ledger/stored_rules.h"
#include "store/table.h"

#include <QScopeGuard>

namespace {

const QString kDescription = QStringLiteral("TYT1");

} // namespace

QString LineLimitMessage(int limit)
{
    return QStringLiteral("Dokument może mieć najwyżej %1 pozycji.").arg(limit);
}

DocumentLineRules::DocumentLineRules(LedgerContext &context, DocumentFilters &filters, DocumentTotals &totals)
    : context_(context)
    , filters_(filters)
    , totals_(totals)
{
    Table &lines = context_.tables.TPOZ;
    lines.events.beforeInsert = [this](Table &) { beforeInsert(); };
    lines.events.beforeDelete = [this](Table &) { beforeDelete(); };
    lines.events.beforeWrite = [this](Table &) { beforeWrite(); };
    // The header's amount is written in the line's own transaction: they reach the disk together.
    lines.events.afterWrite = [this](Table &) { totals_.recompute(); };
    lines.events.onPostError = [this](Table &, const EngineError &error) {
        return ShowWriteRefusal(context_.prompt, error).value_or(PostErrorAction::Fail);
    };
    lines.setFieldValidateHandler(kDescription, [this](Table &, const QString &) { fillDefaultAmount(); });
}

DocumentLineRules::~DocumentLineRules()
{
    Table &lines = context_.tables.TPOZ;
    lines.events = TableEvents{};
    lines.setFieldValidateHandler(kDescription, nullptr);
}

// A line beyond the limit is refused, and the user is told why: a silent refusal left the cursor
// on the last line and what he typed next went into it.
void DocumentLineRules::beforeInsert()
{
    const QString kind = context_.tables.TNAG.asString(QStringLiteral("RD"));
    const int limit = MaxDocumentLines(kind);
    if (limit > 0 && linesAsTheEditorCounts(kind) >= limit) {
        context_.prompt.warning(LineLimitMessage(limit));
        Refuse();
    }
}

// KP, KW, KPD and KWD count their header row as the first line; WZ and RZ only their line rows,
// whether or not their editor has the line filter on.
int DocumentLineRules::linesAsTheEditorCounts(const QString &kind)
{
    int rows = context_.tables.TPOZ.recordCount();
    const bool headerShown = !filters_.lineRowsOnly();
    if (headerShown && !HeaderIsFirstLine(kind))
        --rows;
    else if (!headerShown && HeaderIsFirstLine(kind))
        ++rows;
    return rows;
}

void DocumentLineRules::beforeDelete()
{
    if (context_.tables.TPOZ.asBoolean(QStringLiteral("GLOWKA")))
        Refuse();
}

// A line is written or deleted only in an open report, and a new one only under a stored header
// (the commands that move a document's lines to another number move its header after them).
void DocumentLineRules::beforeWrite()
{
    Table &lines = context_.tables.TPOZ;
    const QVariantList key{lines.value(QStringLiteral("SYMBOL")), lines.value(QStringLiteral("NUMER")),
                           lines.value(QStringLiteral("ROK")), lines.value(QStringLiteral("RD")),
                           lines.value(QStringLiteral("NRD"))};
    RequireStoredReportOpen(context_.tables, key[0].toString(), key[1].toInt());
    if (lines.state() != TableState::Insert || lines.asBoolean(QStringLiteral("GLOWKA")))
        return;
    lines.lockForWrite();
    const QStringList keyFields{QStringLiteral("SYMBOL"), QStringLiteral("NUMER"), QStringLiteral("ROK"),
                                QStringLiteral("RD"), QStringLiteral("NRD"), QStringLiteral("GLOWKA")};
    if (!lines.storedValues(keyFields, key + QVariantList{true}, {}))
        RefuseWrite(QStringLiteral("Dokument został usunięty przez inny program."));
}

// The dictionary holds KP and KW descriptions; KPD and KWD documents, which are offered those,
// take their amounts too.
void DocumentLineRules::fillDefaultAmount()
{
    Table &descriptions = context_.tables.TSLO;
    if (fillingDefaultAmount_ || !descriptions.isOpen() || descriptions.state() != TableState::Browse)
        return;
    Table &lines = context_.tables.TPOZ;
    const QString description = lines.asString(kDescription);
    if (description.isEmpty())
        return;
    const Bookmark shown = descriptions.bookmark();
    if (!descriptions.findKey({context_.state.BiezacyRD.left(2), description}))
        return;
    const Money amount = descriptions.asMoney(QStringLiteral("CENA"));
    if (shown.isValid())
        descriptions.gotoBookmark(shown);
    fillingDefaultAmount_ = true;
    const auto done = qScopeGuard([&] { fillingDefaultAmount_ = false; });
    lines.setMoney(QStringLiteral("KWOTAP"), amount);
}
