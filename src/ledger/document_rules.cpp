#include "ledger/document_rules.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/cash_state.h"
#include "ledger/date_input.h"
#include "ledger/document_kinds.h"
#include "ledger/document_numbering.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_parameters.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_view.h"
#include "ledger/number_template.h"
#include "ledger/refusal.h"
#include "ledger/stored_rules.h"
#include "store/table.h"

namespace {

const QString kKind = QStringLiteral("RD");
const QString kAmount = QStringLiteral("KWOTA");
const QString kSign = QStringLiteral("OKOD");
const QString kNumber = QStringLiteral("NRD");
const QString kDate = QStringLiteral("DATA");

} // namespace

DocumentRules::DocumentRules(LedgerContext &context, DocumentNumbering &numbering, CashState &cashState)
    : context_(context)
    , numbering_(numbering)
    , cashState_(cashState)
{
    Table &headers = context_.tables.TNAG;
    headers.events.beforePost = [this](Table &) { beforePost(); };
    headers.events.beforeWrite = [this](Table &) { beforeWrite(); };
    headers.events.afterPost = [this](Table &) { cashState_.showInView(); };
    headers.events.afterDelete = [this](Table &) { cashState_.showInView(); };
    headers.events.onPostError = [this](Table &, const EngineError &error) {
        return ShowWriteRefusal(context_.prompt, error).value_or(PostErrorAction::Fail);
    };
    headers.events.onCalcFields = [this](Table &) { calculateFields(); };
    const FieldHandler settle = [this](Table &, const QString &) { this->settle(); };
    headers.setFieldChangeHandler(QStringLiteral("KWOTAP"), settle);
    headers.setFieldChangeHandler(QStringLiteral("L1"), settle);
}

DocumentRules::~DocumentRules()
{
    Table &headers = context_.tables.TNAG;
    headers.events = TableEvents{};
    headers.setFieldChangeHandler(QStringLiteral("KWOTAP"), nullptr);
    headers.setFieldChangeHandler(QStringLiteral("L1"), nullptr);
}

void DocumentRules::beforePost()
{
    context_.tables.TNAG.setBoolean(QStringLiteral("GLOWKA"), true);
    checkDate();
}

// A date being written must be a date of the books; one outside its report's days is kept only
// when the user says so. A stored date that is not changed is not judged again.
void DocumentRules::checkDate()
{
    Table &header = context_.tables.TNAG;
    const QString date = header.asString(kDate);
    if (header.state() == TableState::Edit) {
        const std::optional<QVariantList> stored = header.storedValuesOfCurrentRow({kDate});
        if (stored && stored->at(0).toString() == date)
            return;
    }
    if (const QString problem = BookDateProblem(date, context_.state); !problem.isEmpty()) {
        context_.prompt.warning(problem);
        Refuse();
    }
    if (!DateWithinCurrentReport(context_.tables, date) &&
        !context_.prompt.askYesNo(QStringLiteral("Data dokumentu jest poza okresem raportu. Zapisać ?")))
        Refuse();
}

// A document is written, changed or deleted only in a report that is open as stored. The number
// comes from the document's own desk, report and kind (the creating commands make them the
// current ones, so this is the sequence the current desk, report and BiezacyRD name); it is read
// inside the write, so another program cannot take the same number meanwhile.
void DocumentRules::beforeWrite()
{
    Table &header = context_.tables.TNAG;
    const QString desk = header.asString(QStringLiteral("SYMBOL"));
    const int report = header.asInteger(QStringLiteral("NUMER"));
    RequireStoredReportOpen(context_.tables, desk, report);
    if (header.state() == TableState::Browse || header.asInteger(kNumber) != 0)
        return;
    header.lockForWrite();
    header.setInteger(kNumber, numbering_.nextNumber(desk, report, header.asString(kKind)));
}

void DocumentRules::calculateFields()
{
    Table &header = context_.tables.TNAG;
    const QString kind = header.asString(kKind);
    if (!header.isNull(kAmount))
        header.setMoney(IsReceipt(kind, header.asString(kSign)) ? QStringLiteral("WPRZY") : QStringLiteral("WROZ"),
                        header.asMoney(kAmount));
    if (kind == DocumentKind::KPD || kind == DocumentKind::KWD) {
        header.setString(QStringLiteral("DOWOD"), header.asString(QStringLiteral("A1")));
        return;
    }
    header.setString(QStringLiteral("DOWOD"),
                     Dek(NumberTemplateOf(context_.tables.TPARA), [&](const QString &name) -> std::optional<QString> {
                         if (name == QStringLiteral("OZNACZENIE"))
                             return CurrentReportMarking(context_.tables);
                         if (name.isEmpty() || !header.hasField(name))
                             return std::nullopt;
                         return header.asString(name);
                     }));
}

// d = advance - expenses: the employee returns d, or the desk pays -d out.
void DocumentRules::settle()
{
    Table &header = context_.tables.TNAG;
    if (header.asString(kKind) != DocumentKind::RZ)
        return;
    const Money difference = header.asMoney(QStringLiteral("L1")) - header.asMoney(QStringLiteral("KWOTAP"));
    const bool returned = !difference.isNegative();
    header.setString(kSign, returned ? kSettlementReturn : kSettlementPayOut);
    header.setMoney(kAmount, returned ? difference : -difference);
    if (context_.view)
        context_.view->showSettlementLabel(returned ? QStringLiteral("Do zwrotu :") : QStringLiteral("Do wypłaty :"));
}
