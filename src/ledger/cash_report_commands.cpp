#include "ledger/cash_report_commands.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/amount_limits.h"
#include "ledger/cash_report_rules.h"
#include "ledger/document_filters.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_context.h"
#include "ledger/ledger_parameters.h"
#include "ledger/ledger_queries.h"
#include "ledger/ledger_view.h"
#include "ledger/previous_year_balance.h"
#include "ledger/month_dialog.h"
#include "ledger/row_posting.h"
#include "store/table.h"
#include "store/transaction_scope.h"

#include <QScopeGuard>

namespace {

const QString kNumber = QStringLiteral("NUMER");
const QString kClosed = QStringLiteral("ZAMKNIETY");
const QStringList kReportLink{QStringLiteral("SYMBOL"), QStringLiteral("NUMER")};
const QStringList kDeskLink{QStringLiteral("SYMBOL")};

} // namespace

CashReportCommands::CashReportCommands(LedgerContext &context, CashReportRules &rules, DocumentFilters &filters)
    : context_(context)
    , rules_(rules)
    , filters_(filters)
{
}

void CashReportCommands::newReport()
{
    LedgerTables &t = context_.tables;
    if (!HasRows(t.TKASA)) {
        if (context_.prompt.show(PromptIcon::Information, QStringLiteral("Brak zdefiniowanej kasy.\rCzy otworzyć formularz KAS ?"),
                                 Yes | No) == Yes && context_.view)
            context_.view->openCashDeskDictionary();
        return;
    }
    const std::optional<Money> carried = carriedOpeningBalance();
    // The last report is read as stored, with the reports' file locked until the new one is in.
    {
        TransactionScope scope;
        t.TRKASA.lockForWrite();
        t.TRKASA.last();
        Money opening;
        QString marking;
        int number = 0;
        const bool lastOpen = HasRows(t.TRKASA) && !t.TRKASA.asBoolean(kClosed);
        if (!lastOpen) {
            if (HasRows(t.TRKASA)) {
                opening = t.TRKASA.asMoney(QStringLiteral("BZWARTOSC"));
                marking = t.TRKASA.asString(QStringLiteral("OZNACZENIE"));
                number = t.TRKASA.asInteger(kNumber);
            } else if (carried) {
                opening = *carried;
            }
            if (NumberingScopeOf(t.TPARA) == NumberingScope::AllDesks)
                number = std::max(number, highestReportNumberOfAllDesks());
            if (context_.view)
                context_.view->startReportEditing();
            t.TRKASA.append();
            t.TRKASA.setInteger(kNumber, number + 1);
            t.TRKASA.setString(QStringLiteral("OZNACZENIE"), marking);
            t.TRKASA.setString(QStringLiteral("DATAOD"), context_.state.TodayText);
            t.TRKASA.setMoney(QStringLiteral("BOWARTOSC"), opening);
            t.TRKASA.setBoolean(kClosed, false);
            PostRow(t.TRKASA, context_.prompt);
            scope.commit();
            // The new report has no documents: its number may still be corrected in the grid.
            if (context_.view)
                context_.view->setReportNumberEditable(true);
            return;
        }
    }
    context_.prompt.information(QStringLiteral("Ostatni Raport Kasowy nie jest ZAMKNIĘTY ?"));
}

// A desk's first report of the year may open with what the desk held at the end of the year
// before; the cashier is asked once, and "Nie" opens it at 0 as always.
std::optional<Money> CashReportCommands::carriedOpeningBalance()
{
    LedgerTables &t = context_.tables;
    if (HasRows(t.TRKASA) || !t.TRKASA.session())
        return std::nullopt;
    const QString desk = CurrentDeskSymbol(t);
    const std::optional<Money> balance = PreviousYearClosingBalance(*t.TRKASA.session(), context_.state, desk);
    if (!balance || balance->isZero())
        return std::nullopt;
    const QString currency = t.TKASA.hasField(QStringLiteral("A2")) ? t.TKASA.asString(QStringLiteral("A2")) : QString();
    const QString year = QString::number(context_.state.CurrentYear.toInt() - 1);
    if (context_.prompt.show(PromptIcon::Question, CarryBalanceQuestion(year, *balance, currency), Yes | No) != Yes)
        return std::nullopt;
    return balance;
}

// Reports are few: the walk over every desk's reports is short. The report's windows and its
// documents do not follow the walk.
int CashReportCommands::highestReportNumberOfAllDesks()
{
    Table &reports = context_.tables.TRKASA;
    Table *desks = reports.masterSource();
    const Bookmark last = reports.bookmark();
    reports.disableControls();
    const auto restore = qScopeGuard([&] {
        Guarded([&] {
            if (desks)
                reports.setMasterSource(desks, kDeskLink, kDeskLink);
            reports.gotoBookmark(last);
        });
        Guarded([&] { reports.enableControls(); });
    });
    reports.clearMasterSource();
    int highest = 0;
    for (reports.first(); !reports.eof(); reports.next())
        highest = std::max(highest, reports.asInteger(kNumber));
    return highest;
}

void CashReportCommands::closeReport()
{
    LedgerTables &t = context_.tables;
    if (!CurrentReportIsOpen(t))
        return;
    {
        // The report and its documents are read as stored, with both files locked: no other
        // program can post a document into the report while its closing balance is summed and
        // written.
        TransactionScope scope;
        t.TRKASA.lockForWrite();
        t.TNAG.lockForWrite();
        const std::optional<QVariantList> stored = t.TRKASA.storedValuesOfCurrentRow({kClosed});
        if (!stored || stored->first().toBool()) {
            Guarded([&] { t.TRKASA.refresh(); });
            return;
        }
        const std::optional<Money> closing = closingBalance();
        if (closing) {
            EditRow(t.TRKASA);
            t.TRKASA.setMoney(QStringLiteral("BZWARTOSC"), *closing);
            if (t.TRKASA.asString(QStringLiteral("DATADO")).isEmpty())
                t.TRKASA.setString(QStringLiteral("DATADO"), context_.state.TodayText);
            t.TRKASA.setBoolean(kClosed, true);
            t.TRKASA.setString(QStringLiteral("OSOBA"), context_.state.OperatorName);
            PostRow(t.TRKASA, context_.prompt);
            scope.commit();
            // The new report has no documents: its number may still be corrected in the grid.
            if (context_.view)
                context_.view->setReportNumberEditable(true);
            return;
        }
    }
    context_.prompt.warning(QStringLiteral("Stan kasy przekroczyłby 999 999 999 999,99. Raportu nie zamknięto."));
}

// The opening balance plus every document of the report, signed by its kind; nullopt beyond the
// largest amount.
std::optional<Money> CashReportCommands::closingBalance()
{
    LedgerTables &t = context_.tables;
    const Bookmark current = t.TNAG.bookmark();
    t.TNAG.disableControls();
    const auto restore = qScopeGuard([&] {
        Guarded([&] { t.TNAG.gotoBookmark(current); });
        Guarded([&] { t.TNAG.enableControls(); });
    });
    std::optional<Money> sum = Money();
    for (t.TNAG.first(); sum && !t.TNAG.eof(); t.TNAG.next()) {
        sum = SumWithinLimit(*sum, SignedAmount(t.TNAG.asString(QStringLiteral("RD")), t.TNAG.asString(QStringLiteral("OKOD")),
                                                t.TNAG.asMoney(QStringLiteral("KWOTA"))));
        if (sum)
            sum = sum->roundedTo2();
    }
    std::optional<Money> balance = sum ? SumWithinLimit(t.TRKASA.asMoney(QStringLiteral("BOWARTOSC")), *sum) : std::nullopt;
    if (balance)
        balance = balance->roundedTo2();
    return balance;
}

void CashReportCommands::openReport()
{
    Table &reports = context_.tables.TRKASA;
    if (!HasRows(reports))
        return;
    rules_.setClosedReportEditable(true);
    const auto restore = qScopeGuard([&] { rules_.setClosedReportEditable(false); });
    EditRow(reports);
    reports.setBoolean(kClosed, false);
    reports.clear(QStringLiteral("OSOBA"));
    reports.setMoney(QStringLiteral("BZWARTOSC"), Money());
    PostRow(reports, context_.prompt);
}

void CashReportCommands::deleteReport()
{
    LedgerTables &t = context_.tables;
    if (!HasRows(t.TRKASA))
        return;
    if (t.TRKASA.asBoolean(kClosed)) {
        context_.prompt.error(QStringLiteral("Raport zamknięty. Brak możliwości kasowania"));
        return;
    }
    if (ReportHasDocuments(t)) {
        context_.prompt.error(QStringLiteral("W raporcie są dokumenty. Brak możliwości kasowania"));
        return;
    }
    if (!context_.prompt.askYesNo(QStringLiteral("Czy skasować Rejestr Kasowy numer : ") + t.TRKASA.asString(kNumber),
                                  PromptIcon::Warning))
        return;
    t.TRKASA.deleteRow();
}

void CashReportCommands::monthlyReport(MonthDialog &dialog, const std::function<void(const QString &)> &preview)
{
    const std::optional<QString> month = dialog.askMonth(context_.state.CurrentMonth);
    if (!month)
        return;
    Table &documents = context_.tables.TNAG;
    Table &reports = context_.tables.TRKASA;
    const auto restore = qScopeGuard([&] {
        context_.state.FiltrMiesiaca.clear();
        Guarded([&] { documents.setMasterSource(&reports, kReportLink, kReportLink); });
        Guarded([&] { filters_.applyHeaderFilter(); });
    });
    documents.setMasterSource(&reports, kDeskLink, kDeskLink);
    context_.state.FiltrMiesiaca = context_.state.CurrentYear + QLatin1Char('.') + month->rightJustified(2, QLatin1Char('0'));
    filters_.applyHeaderFilter();
    preview(context_.state.FiltrMiesiaca);
}
