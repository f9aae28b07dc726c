#include "ledger/document_creation.h"

#include "ledger/document_commands.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "store/table.h"

#include <QScopeGuard>

namespace {

// A header left unposted by a failure on the way is dropped, so nothing half-made stays behind.
auto DropUnpostedHeader(Table &headers)
{
    return qScopeGuard([&headers] {
        if (headers.state() == TableState::Insert)
            headers.cancel();
    });
}

} // namespace

DocumentCreation::DocumentCreation(LedgerContext &context, DocumentCommands &documents,
                                   std::optional<NewDocumentRequest> startRequest)
    : context_(context), documents_(documents), startRequest_(std::move(startRequest))
{
}

bool DocumentCreation::createReceiptOrPayout(const QString &kind)
{
    if (!documents_.requireOpenReport())
        return false;
    const auto drop = DropUnpostedHeader(context_.tables.TNAG);
    documents_.createHeader(kind);
    if (startRequest_)
        PresetNewDocument(context_.tables.TNAG, *startRequest_);
    documents_.postHeader();
    return true;
}

bool DocumentCreation::createAdvanceRequest()
{
    if (!documents_.requireOpenReport())
        return false;
    const auto drop = DropUnpostedHeader(context_.tables.TNAG);
    documents_.createHeader(DocumentKind::WZ);
    documents_.postHeader();
    return true;
}

bool DocumentCreation::createSettlement(const std::optional<AdvanceReference> &reference)
{
    if (!documents_.requireOpenReport())
        return false;
    const auto drop = DropUnpostedHeader(context_.tables.TNAG);
    documents_.createHeader(DocumentKind::RZ);
    Table &header = context_.tables.TNAG;
    if (reference && !reference->number.isEmpty()) {
        header.setString(QStringLiteral("OMIEJSC"), reference->number);
        header.setString(QStringLiteral("OUL"), reference->date);
        header.setString(QStringLiteral("ONAZ1"), reference->name);
        header.setString(QStringLiteral("ONR"), reference->contractor);
        header.setMoney(QStringLiteral("L1"), reference->amount);
    }
    documents_.postHeader();
    return true;
}

std::optional<AdvanceReference> DocumentCreation::advanceReferenceOf(const Table &headers)
{
    if (!HasRows(headers))
        return std::nullopt;
    const QString kind = headers.asString(QStringLiteral("RD"));
    if (kind != DocumentKind::WZ && kind != DocumentKind::KW)
        return std::nullopt;
    return AdvanceReference{headers.asString(QStringLiteral("DOWOD")), headers.asString(QStringLiteral("DATA")),
                            headers.asString(QStringLiteral("ONAZ1")), headers.asString(QStringLiteral("ONR")),
                            headers.asMoney(QStringLiteral("KWOTA"))};
}
