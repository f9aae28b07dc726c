// The main window's commands, its start state and what it shows for the ledger.

#include "ledger/ui/main_window.h"
#include "base/process_environment.h"
#include "base/command_line.h"

#include "base/application_title.h"
#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/cash_ledger.h"
#include "ledger/document_creation.h"
#include "ledger/document_kinds.h"
#include "ledger/shown_place.h"
#include "ledger/ledger_queries.h"
#include "ledger/ui/main_window_grids.h"
#include "ledger/ui/receipt_payout_editor.h"
#include "ledger/ui/settlement_editor.h"
#include "ledger/ui/advance_request_editor.h"
#include "store/data_change_permission.h"
#include "store/table_edit_helpers.h"
#include "store/data_module.h"
#include "widgets/table_grid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <utility>

namespace {

// Light blue (RGB A6 CA F0): the "Edycja" button while in-place editing is on.
const QString kEditingHighlight = QStringLiteral("background-color: #A6CAF0;");
const QString kHelpFile = QStringLiteral("kasa.pdf");

bool Editing(const Table &table)
{
    return table.isOpen() && (table.state() == TableState::Edit || table.state() == TableState::Insert);
}

} // namespace

void TKASAF::run(const std::function<void()> &work)
{
    Prompt *prompt = hasData() ? &services_->prompt : nullptr;
    ++commandDepth_;
    bool stopped = true;
    try {
        work();
        stopped = false;
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        if (prompt)
            prompt->error(error.message());
    } catch (const std::exception &error) {
        if (prompt)
            prompt->error(QString::fromLocal8Bit(error.what()));
    }
    stoppedInside_ = stoppedInside_ || stopped;
    if (--commandDepth_ > 0 || !hasData())
        return;
    // A command that stopped may have been rolled back, or may have found the stored rows other
    // than the ones shown: the views read the disk again once the outermost command is over.
    // Either way the cash state is worked out again, so the status bar never keeps a balance the
    // disk no longer holds.
    if (std::exchange(stoppedInside_, false))
        rereadViews();
    else
        services_->ledger.cashState().showInView();
}

void TKASAF::rereadViews()
{
    TDANE &data = services_->data;
    for (Table *table : {&data.TKASA, &data.TRKASA, &data.TNAG}) {
        if (!table->isOpen() || table->state() != TableState::Browse)
            continue; // a row being typed stays as it is
        try {
            table->refresh();
        } catch (const Abort &) {
        } catch (const EngineError &) {
        }
    }
    viewsMayBeStale_ = false;
    services_->ledger.cashState().showInView();
    updateCommandAvailability();
}

// Another program may have changed the data while the window was in the background.
void TKASAF::rereadViewsWhenIdle()
{
    if (!hasData() || commandDepth_ > 0 || QApplication::activeModalWidget())
        return;
    rereadViews();
}

// --- Start state -------------------------------------------------------------------------------

void TKASAF::refreshCaptionAndStatus()
{
    QString caption = ApplicationTitle() + u' ' + state_.CompanyShortName;
    // A copy of an installation works on the data of the original: the caption says whose.
    if (hasData() && DataRootFromArguments(services_->data.environment().arguments).isEmpty()
        && DataRootLiesOutside(state_.DataRoot, services_->data.environment().workingFolder))
        caption += QStringLiteral(" - dane: ") + QDir::toNativeSeparators(state_.DataRoot);
    setWindowTitle(caption);
    StatusPanels[1]->setText(state_.CurrentYear);
    StatusPanels[2]->setText(state_.OperatorName);
}

void TKASAF::showEvent(QShowEvent *event)
{
    // Only when the program shows the window, not when the user restores it from the task bar.
    if (!event->spontaneous())
        applyStartState();
    QMainWindow::showEvent(event);
}

void TKASAF::applyStartState()
{
    refreshCaptionAndStatus();
    PageControl->setCurrentWidget(TabRaporty);
    if (hasData()) {
        LedgerTables &tables = services_->ledger.context().tables;
        accountsOnReport_ = AccountsOnReport(tables.TPARA);
        ShowAccountsOnReport(DocumentGrid->tableModel(), accountsOnReport_);
        moveToLastReport();
        services_->ledger.cashState().showInView();
        run([&] { setReportNumberEditable(!ReportHasDocuments(tables)); });
        if (creation_->startRequest())
            QTimer::singleShot(0, this, [this] { runStartCommand(); });
    }
    updateCommandAvailability();
}

// "nowy": a new KP or KW in the desk's open last report, at once.
void TKASAF::runStartCommand()
{
    const std::optional<NewDocumentRequest> &request = creation_->startRequest();
    LedgerTables &tables = services_->ledger.context().tables;
    if (!HasRows(tables.TKASA)) {
        services_->prompt.error(QStringLiteral("Brak zdefiniowanej kasy."));
        return;
    }
    if (!CurrentReportIsOpen(tables)) {
        services_->prompt.error(QStringLiteral("Brak otwartego Raporu Kasowego."));
        return;
    }
    PageControl->setCurrentWidget(TabDokumenty);
    if (request->kind == DocumentKind::KP || request->kind == DocumentKind::KW)
        createReceiptOrPayout(request->kind);
}

void TKASAF::documentTabShown()
{
    updateCommandAvailability();
    if (hasData())
        run([this] {
            Table &documents = services_->data.TNAG;
            if (documents.isOpen())
                documents.last();
        });
}

void TKASAF::moveToLastReport()
{
    run([this] {
        Table &reports = services_->data.TRKASA;
        if (reports.isOpen() && !Editing(reports))
            reports.last();
    });
}

// --- What the ledger shows ---------------------------------------------------------------------

void TKASAF::showCashState(const QString &text)
{
    StatusPanels[3]->setText(text);
}

void TKASAF::setDeskSymbolEditable(bool editable)
{
    if (hasData() && services_->auxiliary)
        services_->auxiliary->setDeskSymbolEditable(editable);
}

void TKASAF::setReportNumberEditable(bool editable)
{
    if (ReportGrid)
        ReportGrid->tableModel().setColumnReadOnly(QStringLiteral("NUMER"), !editable);
}

void TKASAF::startReportEditing()
{
    if (!editing_)
        toggleEditing();
}

// Also a double click on the desk: the dictionary is kept from a user who may only look, as its
// menu is.
void TKASAF::openCashDeskDictionary()
{
    if (hasData() && services_->auxiliary && MayChangeData(state_))
        runExternal([this] { services_->auxiliary->openCashDeskDictionary(); });
}

void TKASAF::showSettlementLabel(const QString &label)
{
    if (settlementEditor_)
        settlementEditor_->showSettlementLabel(label);
}

// --- Report commands ---------------------------------------------------------------------------

void TKASAF::newReport()
{
    run([this] { services_->ledger.reports().newReport(); });
    updateCommandAvailability();
}

// One switch for both grids; the pending edits are stored when it goes off.
void TKASAF::toggleEditing()
{
    editing_ = !editing_;
    if (hasData()) {
        if (!editing_) {
            ReportGrid->tableModel().postPending();
            DocumentGrid->tableModel().postPending();
        }
        ReportGrid->tableModel().setEditable(editing_);
        DocumentGrid->tableModel().setEditable(editing_);
    }
    showEditingHighlight();
}

void TKASAF::showEditingHighlight()
{
    EditingAction->setChecked(editing_);
    if (auto *bar = findChild<QToolBar *>(QStringLiteral("ReportToolBar")))
        if (QWidget *button = bar->widgetForAction(EditingAction))
            button->setStyleSheet(editing_ ? kEditingHighlight : QString());
}

void TKASAF::deleteReport()
{
    run([this] { services_->ledger.reports().deleteReport(); });
}

void TKASAF::closeReport()
{
    run([this] { services_->ledger.reports().closeReport(); });
}

void TKASAF::openReport()
{
    run([this] { services_->ledger.reports().openReport(); });
}

void TKASAF::monthlyReport()
{
    if (!hasData() || !services_->auxiliary || !services_->commands.previewMonthlyReport)
        return;
    run([this] {
        services_->ledger.reports().monthlyReport(services_->auxiliary->monthDialog(),
                                                  services_->commands.previewMonthlyReport);
    });
}

// --- Document commands -------------------------------------------------------------------------

DocumentEditorServices TKASAF::editorServices() const
{
    return {services_->ledger, services_->data.TKontrah, services_->prompt, services_->clock,
            services_->auxiliary, &services_->commands};
}

TKASAF1 *TKASAF::receiptEditor() const
{
    return receiptEditor_;
}

TKASAF14 *TKASAF::advanceRequestEditor() const
{
    return advanceRequestEditor_;
}

TKASAF11 *TKASAF::settlementEditor() const
{
    return settlementEditor_;
}

TKASAF1 &TKASAF::ensureReceiptEditor()
{
    if (!receiptEditor_)
        receiptEditor_ = new TKASAF1(editorServices(), this);
    return *receiptEditor_;
}

TKASAF14 &TKASAF::ensureAdvanceRequestEditor()
{
    if (!advanceRequestEditor_)
        advanceRequestEditor_ = new TKASAF14(editorServices(), this);
    return *advanceRequestEditor_;
}

TKASAF11 &TKASAF::ensureSettlementEditor()
{
    if (!settlementEditor_)
        settlementEditor_ = new TKASAF11(editorServices(), this);
    return *settlementEditor_;
}

// WZ and RZ list their line rows only while their editor is open.
void TKASAF::showEditorFor(const QString &kind, bool newDocument)
{
    DocumentFilters &filters = services_->ledger.filters();
    if (kind == DocumentKind::WZ || kind == DocumentKind::RZ) {
        DocumentEditor &editor = kind == DocumentKind::WZ ? static_cast<DocumentEditor &>(ensureAdvanceRequestEditor())
                                                         : static_cast<DocumentEditor &>(ensureSettlementEditor());
        filters.setLineRowsOnly(true);
        const auto allRows = qScopeGuard([&] { run([&] { filters.setLineRowsOnly(false); }); });
        editor.edit(newDocument);
        return;
    }
    ensureReceiptEditor().edit(newDocument);
}

void TKASAF::createReceiptOrPayout(const QString &kind)
{
    if (!hasData())
        return;
    run([this, kind] {
        if (creation_->createReceiptOrPayout(kind))
            showEditorFor(kind, true);
    });
}

void TKASAF::createAdvanceRequest()
{
    if (!hasData())
        return;
    run([this] {
        if (creation_->createAdvanceRequest())
            showEditorFor(DocumentKind::WZ, true);
    });
}

// The document selected before the command is the advance being settled, when it is one.
void TKASAF::createSettlement()
{
    if (!hasData())
        return;
    run([this] {
        const std::optional<AdvanceReference> reference = DocumentCreation::advanceReferenceOf(services_->data.TNAG);
        if (creation_->createSettlement(reference))
            showEditorFor(DocumentKind::RZ, true);
    });
}

void TKASAF::editDocument()
{
    if (!hasData())
        return;
    run([this] {
        Table &documents = services_->data.TNAG;
        if (!HasRows(documents))
            return;
        const QString kind = documents.asString(QStringLiteral("RD"));
        static const QStringList kEdited{DocumentKind::KP, DocumentKind::KW, DocumentKind::KPD,
                                         DocumentKind::KWD, DocumentKind::WZ, DocumentKind::RZ};
        if (!kEdited.contains(kind))
            return;
        services_->ledger.documents().setCurrentKind(kind);
        showEditorFor(kind);
    });
}

void TKASAF::copyDocuments()
{
    if (!hasData())
        return;
    const QList<Bookmark> selected = DocumentGrid->selectedBookmarks();
    run([this, selected] { services_->ledger.copying().copyDocuments(selected); });
}

void TKASAF::deleteDocument()
{
    if (hasData())
        run([this] { services_->ledger.documents().deleteDocument(); });
}

void TKASAF::newDocumentFromMenu(const QString &kind)
{
    if (!hasData())
        return;
    bool ready = false;
    run([this, &ready] {
        TDANE &data = services_->data;
        for (Table *table : {&data.TKASA, &data.TRKASA, &data.TNAG})
            if (Editing(*table) && !PostAndFlush(*table, services_->prompt))
                return;
        if (data.TRKASA.isOpen())
            data.TRKASA.last();
        ready = true;
    });
    if (!ready)
        return;
    PageControl->setCurrentWidget(TabDokumenty);
    createReceiptOrPayout(kind);
}

void TKASAF::searchDocuments(const std::function<void()> &search)
{
    if (hasData())
        run(search);
}

// --- Other windows -----------------------------------------------------------------------------

// After a command of another area (a new year, another user, restored data) the window shows
// everything again.
void TKASAF::runExternal(const std::function<void()> &command)
{
    if (!hasData() || !command)
        return;
    run(command);
    showAgain();
}

// A command of another area may close and open the tables again (a restore, a repair, an
// import): the cashier comes back to the desk, report and document left, or, in another year,
// to the desk's last report.
void TKASAF::runExternalKeepingPlace(const std::function<void()> &command)
{
    if (!hasData() || !command)
        return;
    LedgerTables &tables = services_->ledger.context().tables;
    const ShownPlace place = CurrentShownPlace(tables, state_.CurrentYear);
    run(command);
    run([&] { ReturnToShownPlace(tables, place, state_.CurrentYear); });
    showAgain();
}

void TKASAF::showAgain()
{
    refreshCaptionAndStatus();
    accountsOnReport_ = AccountsOnReport(services_->data.TPARA);
    ShowAccountsOnReport(DocumentGrid->tableModel(), accountsOnReport_);
    services_->ledger.cashState().showInView();
    updateCommandAvailability();
}

void TKASAF::openIndexRepair()
{
    if (!hasData())
        return;
    runExternalKeepingPlace(services_->commands.repairIndexes);
}

void TKASAF::openHelp()
{
    if (hasData() && services_->commands.help) {
        run(services_->commands.help);
        return;
    }
    const QString folder = hasData() ? services_->data.environment().workingFolder : QDir::currentPath();
    const QString path = QDir(folder).absoluteFilePath(kHelpFile);
    if (QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return;
    if (hasData())
        services_->prompt.warning(QStringLiteral("Nie można otworzyć pliku pomocy ") + QDir::toNativeSeparators(path));
}

// --- Closing -----------------------------------------------------------------------------------

void TKASAF::saveAndClose()
{
    if (ReportGrid && !ReportGrid->tableModel().postPending())
        return;
    close();
}

void TKASAF::closeEvent(QCloseEvent *event)
{
    if (hasData()) {
        ReportGrid->tableModel().postPending();
        DocumentGrid->tableModel().postPending();
        if (services_->commands.beforeClose)
            run(services_->commands.beforeClose);
    }
    event->accept();
    QCoreApplication::quit();
}
