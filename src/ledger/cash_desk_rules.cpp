#include "ledger/cash_desk_rules.h"

#include "base/prompt.h"
#include "ledger/refusal.h"
#include "ledger/stored_rules.h"
#include "ledger/cash_state.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_view.h"
#include "store/table.h"

CashDeskRules::CashDeskRules(LedgerContext &context, CashState &cashState)
    : context_(context)
    , cashState_(cashState)
{
    TableEvents &events = context_.tables.TKASA.events;
    events.beforePost = [this](Table &) { beforePost(); };
    events.beforeDelete = [this](Table &) { beforeDelete(); };
    events.beforeWrite = [this](Table &) { beforeWrite(); };
    events.afterScroll = [this](Table &) { afterScroll(); };
    events.onPostError = [this](Table &, const EngineError &error) {
        if (const auto refused = ShowWriteRefusal(context_.prompt, error))
            return *refused;
        if (error.kind() != EngineErrorKind::KeyViolation)
            return PostErrorAction::Fail;
        context_.prompt.beep();
        context_.prompt.warning(QStringLiteral("Ten symbol już istnieje, wprowadź oryginalne oznaczenie."));
        return PostErrorAction::Abort;
    };
}

CashDeskRules::~CashDeskRules()
{
    context_.tables.TKASA.events = TableEvents{};
}

void CashDeskRules::beforePost()
{
    if (!context_.tables.TKASA.asString(QStringLiteral("SYMBOL")).trimmed().isEmpty())
        return;
    context_.prompt.warning(QStringLiteral("Proszę określić SYMBOL kasy."));
    Refuse();
}

void CashDeskRules::beforeDelete()
{
    if (!DeskHasReports(context_.tables))
        return;
    context_.prompt.warning(QStringLiteral("Brak możliwości kasowania. Istnieją raporty."));
    Refuse();
}

// Read from the stored rows inside the write. Numbering and the cash state tell desks apart by
// their exact symbol, the document list without regard to case: two symbols that differ only in
// case would mix the desks, so a symbol is refused when another desk has it in any case. A desk
// whose reports are stored keeps its symbol and is not deleted.
void CashDeskRules::beforeWrite()
{
    LedgerTables &t = context_.tables;
    Table &desks = t.TKASA;
    desks.lockForWrite();
    const QString symbol = desks.asString(QStringLiteral("SYMBOL"));
    if (desks.state() != TableState::Insert) {
        const std::optional<QVariantList> stored = desks.storedValuesOfCurrentRow({QStringLiteral("SYMBOL")});
        const QString storedSymbol = stored ? stored->first().toString() : QString();
        const bool leaving = desks.state() == TableState::Browse || storedSymbol != symbol;
        if (stored && leaving && t.TRKASA.isOpen()
            && t.TRKASA.storedValues({QStringLiteral("SYMBOL")}, {storedSymbol}, {}))
            RefuseWrite(desks.state() == TableState::Browse ? QStringLiteral("Brak możliwości kasowania. Istnieją raporty.")
                                                            : QStringLiteral("Brak możliwości zmiany symbolu. Istnieją raporty."));
        if (desks.state() == TableState::Browse)
            return;
    }
    if (desks.storedValues({QStringLiteral("SYMBOL")}, {symbol}, {}, true, true))
        RefuseWrite(QStringLiteral("Ten symbol już istnieje, wprowadź oryginalne oznaczenie."));
}

bool CashDeskRules::mayDeleteFromDictionary()
{
    if (!DeskHasReports(context_.tables))
        return true;
    context_.prompt.error(QStringLiteral("Brak możliwości skasowania kasy.\rIstnieją Raporty Kasowe"));
    return false;
}

void CashDeskRules::afterScroll()
{
    Table &reports = context_.tables.TRKASA;
    if (!reports.isOpen())
        return;
    cashState_.showInView();
    if (context_.view)
        Guarded([&] { context_.view->setDeskSymbolEditable(!DeskHasReports(context_.tables)); });
    Guarded([&] { reports.last(); });
}
