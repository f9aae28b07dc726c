#include "ledger/cash_desk_rules.h"

#include "base/prompt.h"
#include "ledger/refusal.h"
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
    events.afterScroll = [this](Table &) { afterScroll(); };
    events.onPostError = [this](Table &, const EngineError &error) {
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
