#include "ledger/stored_rules.h"

#include "base/prompt.h"
#include "ledger/ledger_tables.h"

namespace {

// The message of the refusal under way; the handler knows its own refusals by it.
QString &PendingRefusal()
{
    static QString message;
    return message;
}

} // namespace

void RefuseWrite(const QString &message)
{
    PendingRefusal() = message;
    throw EngineError(EngineErrorKind::Other, message);
}

std::optional<PostErrorAction> ShowWriteRefusal(Prompt &prompt, const EngineError &error)
{
    if (PendingRefusal().isEmpty() || error.message() != PendingRefusal())
        return std::nullopt;
    PendingRefusal().clear();
    prompt.beep();
    prompt.warning(error.message());
    return PostErrorAction::Abort;
}

void RequireStoredReportOpen(const LedgerTables &tables, const QString &desk, int report)
{
    Table &reports = tables.TRKASA;
    reports.lockForWrite();
    const std::optional<QVariantList> stored =
        reports.storedValues({QStringLiteral("SYMBOL"), QStringLiteral("NUMER")}, {desk, report}, {QStringLiteral("ZAMKNIETY")});
    if (!stored || stored->first().toBool())
        RefuseWrite(QStringLiteral("Brak otwartego raportu kasowego"));
}
