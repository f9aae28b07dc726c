#include "ledger/ui/tkasaf.h"

#include "app/application_title.h"
#include "app/global_state.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>

namespace {

constexpr std::array<int, 4> kStatusPanelWidths{100, 100, 100, 50};

}  // namespace

TKASAF::TKASAF(const GlobalState &state, QWidget *parent)
    : QMainWindow(parent), PageControl(new QTabWidget(this)), TabRaporty(new QWidget),
      TabDokumenty(new QWidget), state_(state)
{
    setObjectName(QStringLiteral("TKASAF"));
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabRaporty->setObjectName(QStringLiteral("TabRaporty"));
    TabDokumenty->setObjectName(QStringLiteral("TabDokumenty"));
    PageControl->addTab(TabRaporty, QStringLiteral("Raporty Kasowe"));
    PageControl->addTab(TabDokumenty, QStringLiteral("Dokumenty"));
    setCentralWidget(PageControl);
    buildStatusBar();
    resize(800, 560);
}

void TKASAF::buildStatusBar()
{
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setMinimumWidth(kStatusPanelWidths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(panel);
        StatusPanels[i] = panel;
    }
    statusBar()->setSizeGripEnabled(true);
}

void TKASAF::refreshCaptionAndStatus()
{
    setWindowTitle(ApplicationTitle() + u' ' + state_.CompanyShortName);
    StatusPanels[1]->setText(state_.CurrentYear);
    StatusPanels[2]->setText(state_.OperatorName);
}

void TKASAF::showEvent(QShowEvent *event)
{
    // Only when the program shows the window, not when the user restores it from the task bar.
    if (!event->spontaneous()) {
        refreshCaptionAndStatus();
        PageControl->setCurrentWidget(TabRaporty);
    }
    QMainWindow::showEvent(event);
}

void TKASAF::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}
