#include "ledger/cash_report_rules.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/date_input.h"
#include "ledger/refusal.h"
#include "ledger/stored_rules.h"
#include "ledger/cash_state.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_view.h"
#include "store/table.h"
#include "store/data_module.h"

CashReportRules::CashReportRules(LedgerContext &context, CashState &cashState)
    : context_(context)
    , cashState_(cashState)
{
    TableEvents &events = context_.tables.TRKASA.events;
    events.onCalcFields = SetReportClosedText;
    events.beforePost = [this](Table &) { beforePost(); };
    events.beforeEdit = [this](Table &) { beforeEdit(); };
    events.beforeDelete = [this](Table &) { beforeDelete(); };
    events.beforeWrite = [this](Table &) { beforeWrite(); };
    events.afterPost = [this](Table &) { cashState_.showInView(); };
    events.afterDelete = [this](Table &) { cashState_.showInView(); }; // the desk's last report may have gone
    events.afterScroll = [this](Table &) { afterScroll(); };
    events.onPostError = [this](Table &, const EngineError &error) {
        if (const auto refused = ShowWriteRefusal(context_.prompt, error))
            return *refused;
        if (error.kind() != EngineErrorKind::KeyViolation)
            return PostErrorAction::Fail;
        context_.prompt.beep();
        context_.prompt.warning(QStringLiteral("Ten NUMER już istnieje, wprowadź oryginalne oznaczenie."));
        return PostErrorAction::Abort;
    };
}

CashReportRules::~CashReportRules()
{
    context_.tables.TRKASA.events = TableEvents{};
    context_.tables.TRKASA.events.onCalcFields = SetReportClosedText; // the data module's own
}

void CashReportRules::beforePost()
{
    if (context_.tables.TRKASA.asInteger(QStringLiteral("NUMER")) == 0) {
        context_.prompt.warning(QStringLiteral("Proszę określić NUMER raportu."));
        Refuse();
    }
    checkDates();
}

// The first and the last day being written are dates of the books (or empty: the last day stays
// so until the report is first closed). A stored day that is not changed is not judged again.
void CashReportRules::checkDates()
{
    Table &reports = context_.tables.TRKASA;
    const QStringList fields{QStringLiteral("DATAOD"), QStringLiteral("DATADO")};
    const std::optional<QVariantList> stored =
        reports.state() == TableState::Edit ? reports.storedValuesOfCurrentRow(fields) : std::nullopt;
    for (int i = 0; i < fields.size(); ++i) {
        const QString date = reports.asString(fields[i]);
        if (stored && stored->at(i).toString() == date)
            continue;
        if (const QString problem = BookDateProblem(date, context_.state, true); !problem.isEmpty()) {
            context_.prompt.warning(problem);
            Refuse();
        }
    }
}

// An edit of a closed report is refused at once, silently.
void CashReportRules::beforeEdit()
{
    if (!closedReportEditable_ && context_.tables.TRKASA.asBoolean(QStringLiteral("ZAMKNIETY")))
        Refuse();
}

void CashReportRules::beforeDelete()
{
    if (!ReportHasDocuments(context_.tables))
        return;
    context_.prompt.warning(QStringLiteral("Brak możliwości kasowania. Istnieją dokumenty."));
    Refuse();
}

// Read from the stored rows inside the write: a new report needs its desk, a closed report is
// changed only by the commands that open and close it, a report with documents stays.
void CashReportRules::beforeWrite()
{
    LedgerTables &t = context_.tables;
    Table &reports = t.TRKASA;
    const QString desk = reports.asString(QStringLiteral("SYMBOL"));
    if (reports.state() == TableState::Insert) {
        t.TKASA.lockForWrite();
        if (!t.TKASA.storedValues({QStringLiteral("SYMBOL")}, {desk}, {}))
            RefuseWrite(QStringLiteral("Brak zdefiniowanej kasy."));
        return;
    }
    reports.lockForWrite();
    const std::optional<QVariantList> stored =
        reports.storedValuesOfCurrentRow({QStringLiteral("ZAMKNIETY"), QStringLiteral("NUMER")});
    if (!stored)
        return; // gone: the engine says so
    const bool closed = stored->at(0).toBool();
    if (reports.state() == TableState::Edit) {
        if (closed && !closedReportEditable_)
            RefuseWrite(QStringLiteral("Raport zamknięty. Brak możliwości zmian."));
        return;
    }
    if (closed)
        RefuseWrite(QStringLiteral("Raport zamknięty. Brak możliwości kasowania"));
    if (t.TNAG.isOpen() && t.TNAG.storedValues({QStringLiteral("SYMBOL"), QStringLiteral("NUMER")}, {desk, stored->at(1)}, {}))
        RefuseWrite(QStringLiteral("Brak możliwości kasowania. Istnieją dokumenty."));
}

// The report grid lets the number change only while the report has no documents. While the
// reports' windows are held still (a command walking the reports) nothing is shown.
void CashReportRules::afterScroll()
{
    if (!context_.view || context_.tables.TRKASA.controlsDisabled())
        return;
    Guarded([&] { context_.view->setReportNumberEditable(!ReportHasDocuments(context_.tables)); });
}
