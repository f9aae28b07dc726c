#include "ledger/ui/main_window.h"

#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/document_creation.h"
#include "ledger/document_search.h"
#include "ledger/ui/main_window_grids.h"
#include "store/data_module.h"
#include "widgets/table_grid.h"

#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr std::array<int, 4> kStatusPanelWidths{100, 100, 100, 50};

QToolBar *TabToolBar(QWidget *parent, const QString &name, std::initializer_list<QAction *> actions)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setMovable(false);
    for (QAction *action : actions)
        bar->addAction(action);
    return bar;
}

} // namespace

TKASAF::TKASAF(const GlobalState &state, QWidget *parent)
    : QMainWindow(parent), PageControl(new QTabWidget(this)), TabRaporty(new QWidget), TabDokumenty(new QWidget),
      state_(state)
{
    setObjectName(QStringLiteral("TKASAF"));
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabRaporty->setObjectName(QStringLiteral("TabRaporty"));
    TabDokumenty->setObjectName(QStringLiteral("TabDokumenty"));
    PageControl->addTab(TabRaporty, QStringLiteral("Raporty Kasowe"));
    PageControl->addTab(TabDokumenty, QStringLiteral("Dokumenty"));
    setCentralWidget(PageControl);
    buildActions();
    buildMenus();
    addToolBar(buildDeskToolBar());
    buildReportTab();
    buildDocumentTab();
    buildStatusBar();
    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        if (PageControl->currentWidget() == TabDokumenty)
            documentTabShown();
    });
    updateCommandAvailability();
    resize(860, 600);
}

TKASAF::TKASAF(const GlobalState &state, const MainWindowServices &services, QWidget *parent)
    : TKASAF(state, parent)
{
    services_ = std::make_unique<MainWindowServices>(services);
    CashLedger &ledger = services_->ledger;
    creation_ = std::make_unique<DocumentCreation>(
        ledger.context(), ledger.documents(),
        NewDocumentRequestFrom(services_->data.environment().arguments, state_.CommandArgIndex));
    bindGrids();
    ledger.setView(this);
    updateCommandAvailability();
}

TKASAF::~TKASAF()
{
    if (services_)
        services_->ledger.setView(nullptr);
}

QAction *TKASAF::command(const QString &text, const QString &hint, std::function<void()> work)
{
    auto *action = new QAction(text, this);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    connect(action, &QAction::triggered, this, [work = std::move(work)] { work(); });
    return action;
}

// --- Layout ------------------------------------------------------------------------------------

QToolBar *TKASAF::buildDeskToolBar()
{
    auto *bar = new QToolBar(QStringLiteral("KASA"), this);
    bar->setObjectName(QStringLiteral("DeskToolBar"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(QStringLiteral(" KASA "), bar));
    return bar;
}

void TKASAF::buildReportTab()
{
    auto *layout = new QVBoxLayout(TabRaporty);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(TabToolBar(TabRaporty, QStringLiteral("ReportToolBar"),
                                 {NewReportAction, EditingAction, DeleteReportAction, CloseReportAction, OpenReportAction,
                                  PrintReportAction, CashStateAction, MonthlyReportAction}));
}

void TKASAF::buildDocumentTab()
{
    auto *layout = new QVBoxLayout(TabDokumenty);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(TabToolBar(TabDokumenty, QStringLiteral("DocumentToolBar1"),
                                 {ReceiptAction, PayoutAction, SettlementAction, AdvanceRequestAction, EditDocumentAction,
                                  CopyAction, DeleteDocumentAction, PrintDocumentAction}));
    auto *secondRow = new QHBoxLayout;
    secondRow->addWidget(TabToolBar(TabDokumenty, QStringLiteral("DocumentToolBar2"), {FreeReceiptAction, FreePayoutAction}), 1);
    secondRow->addWidget(buildSearchBox());
    layout->addLayout(secondRow);

    DocumentPopup = new QMenu(this);
    for (QAction *action : {RenumberByDateAction, RenumberByEntryAction, RenumberDocumentsByDateAction,
                            RenumberFromPlaceAction, CashStateToDocumentAction, CashStateOnDayAction})
        DocumentPopup->addAction(action);
}

QWidget *TKASAF::buildSearchBox()
{
    auto *box = new QGroupBox(QStringLiteral("Wyszukiwanie :"), TabDokumenty);
    auto *row = new QHBoxLayout(box);
    SearchKind = new QComboBox(box);
    SearchKind->setEditable(true);
    SearchKind->addItems({QStringLiteral("KP"), QStringLiteral("KW")});
    SearchKind->setCurrentIndex(-1);
    SearchKind->setInsertPolicy(QComboBox::NoInsert);
    SearchKind->setFixedWidth(60);
    SearchDate = new QLineEdit(box);
    SearchDate->setFixedWidth(90);
    SearchName = new QLineEdit(box);
    SearchName->setMinimumWidth(120);
    row->addWidget(new QLabel(QStringLiteral("RD :"), box));
    row->addWidget(SearchKind);
    row->addWidget(new QLabel(QStringLiteral("Data :"), box));
    row->addWidget(SearchDate);
    row->addWidget(new QLabel(QStringLiteral("Firma :"), box));
    row->addWidget(SearchName);
    return box;
}

void TKASAF::buildStatusBar()
{
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setMinimumWidth(kStatusPanelWidths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(panel, i + 1 == StatusPanels.size() ? 1 : 0);
        StatusPanels[i] = panel;
    }
    statusBar()->setSizeGripEnabled(true);
}

// The grids need the data module's tables: the desk selector, the reports and the documents.
void TKASAF::bindGrids()
{
    TDANE &data = services_->data;
    Prompt &prompt = services_->prompt;

    auto *desks = new TableModel(data.TKASA, DeskSelectorColumns());
    desks->setPrompt(&prompt);
    desks->setStoredRowsOnly(true); // a desk being typed in the dictionary is not chosen yet
    DeskGrid = new TableGrid(desks, this);
    DeskGrid->setObjectName(QStringLiteral("DeskGrid"));
    DeskGrid->setToolTip(QStringLiteral("Wybór aktywnej KASY"));
    DeskGrid->showOneRowOnly();
    DeskGrid->setFixedWidth(60 + 220 + 2 * DeskGrid->frameWidth());
    DeskGrid->installEventFilter(this);
    qApp->installEventFilter(this);
    findChild<QToolBar *>(QStringLiteral("DeskToolBar"))->addWidget(DeskGrid);
    connect(DeskGrid, &QAbstractItemView::doubleClicked, this, [this] { openCashDeskDictionary(); });
    connect(DeskGrid, &TableGrid::rowChosen, this, [this] { moveToLastReport(); });

    auto *reports = new TableModel(data.TRKASA, ReportGridColumns());
    reports->setPrompt(&prompt);
    reports->setCellColour(ReportCellColour);
    ReportGrid = new TableGrid(reports, TabRaporty);
    ReportGrid->setObjectName(QStringLiteral("ReportGrid"));
    ReportGrid->setToolTip(QStringLiteral("Raporty Kasowe"));
    TabRaporty->layout()->addWidget(ReportGrid);
    connect(ReportGrid, &QAbstractItemView::doubleClicked, this, [this] { PageControl->setCurrentWidget(TabDokumenty); });

    accountsOnReport_ = AccountsOnReport(data.TPARA);
    auto *documents = new TableModel(data.TNAG, DocumentGridColumns(accountsOnReport_));
    documents->setPrompt(&prompt);
    documents->setCellColour(DocumentCellColour);
    DocumentGrid = new TableGrid(documents, TabDokumenty);
    DocumentGrid->setObjectName(QStringLiteral("DocumentGrid"));
    DocumentGrid->setToolTip(QStringLiteral("Dokumenty wybranego Raportu Kasowego"));
    DocumentGrid->setMultiSelect(true);
    DocumentGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    TabDokumenty->layout()->addWidget(DocumentGrid);
    connect(DocumentGrid, &QAbstractItemView::doubleClicked, this, [this] { editDocument(); });
    connect(DocumentGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { DocumentPopup->exec(DocumentGrid->viewport()->mapToGlobal(at)); });
    connect(DocumentGrid, &TableGrid::titleClicked, this, [this](const QString &field) {
        run([this, field] { SortDocumentsByColumn(services_->data.TNAG, field); });
    });

    connect(SearchKind, &QComboBox::editTextChanged, this, [this](const QString &text) {
        searchDocuments([this, text] { FindDocumentByKind(services_->data.TNAG, text, state_.CurrentYear); });
    });
    connect(SearchDate, &QLineEdit::textChanged, this, [this](const QString &text) {
        searchDocuments([this, text] { FindDocumentByDate(services_->data.TNAG, text); });
    });
    connect(SearchName, &QLineEdit::textChanged, this, [this](const QString &text) {
        searchDocuments([this, text] { FindDocumentByName(services_->data.TNAG, text); });
    });
}

bool TKASAF::eventFilter(QObject *watched, QEvent *event)
{
    // Whatever key moved the selector, the new desk shows its last report.
    if (watched == DeskGrid && event->type() == QEvent::KeyRelease)
        moveToLastReport();
    // The first click or key after the window was in the background may come before its
    // activation is handled: the views and the commands' availability are read again before it
    // reaches its button, so no click lands on a command greyed by rows another program changed.
    if (viewsMayBeStale_ && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == this)
        rereadViewsWhenIdle();
    return QMainWindow::eventFilter(watched, event);
}

bool TKASAF::event(QEvent *event)
{
    // A command's hint goes to the first panel; the year, the operator and the cash state stay.
    if (event->type() == QEvent::StatusTip) {
        if (StatusPanels[0])
            StatusPanels[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TKASAF::changeEvent(QEvent *event)
{
    // Back in front: what another program stored meanwhile shows. Read once the activation has
    // settled, so a dialog closing inside a command does not move the rows under it.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        viewsMayBeStale_ = true;
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && hasData())
        QTimer::singleShot(0, this, [this] { rereadViewsWhenIdle(); });
    QMainWindow::changeEvent(event);
}
