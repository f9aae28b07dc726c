#pragma once

#include "ledger/ledger_view.h"
#include "ledger/ui/main_window_commands.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class CashLedger;
class Clock;
class DocumentCreation;
class Prompt;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolBar;
class TDANE;
class TDRUK;
class TKASAF1;
class TKASAF11;
class TKASAF14;
class TableGrid;
struct DocumentEditorServices;
struct GlobalState;

// What the main window works with: the data module and the ledger on its tables, which live for
// the whole run, and the windows and commands of the other areas.
struct MainWindowServices {
    TDANE &data;
    CashLedger &ledger;
    Prompt &prompt;
    const Clock &clock;
    AuxiliaryWindows *auxiliary = nullptr;
    ExternalCommands commands = {};
};

// The main window: the cash desk, its reports and their documents, and every command.
// Closing it ends the program.
class TKASAF final : public QMainWindow, public LedgerView {
    Q_OBJECT

public:
    // Without the data module: the window's frame, menus and tabs, every command disabled.
    explicit TKASAF(const GlobalState &state, QWidget *parent = nullptr);
    TKASAF(const GlobalState &state, const MainWindowServices &services, QWidget *parent = nullptr);
    ~TKASAF() override;

    // Printing and the listings become available ("Parametry wydruku", "Stan Kasy", ...).
    void setPrintModule(TDRUK *printModule);
    // The dictionaries, the calendar and the small dialogs (created over this window).
    void setAuxiliaryWindows(AuxiliaryWindows *auxiliary);
    // The other areas' commands, which the program fills in once the window exists; then
    // updateCommandAvailability(). Only with the data module.
    ExternalCommands &externalCommands();

    // Caption: application title, one space, the company's short name; status panels:
    // the working year and the operator.
    void refreshCaptionAndStatus();
    // Which commands may run now: the permission level, the parameters, what is built.
    void updateCommandAvailability();

    // LedgerView
    void showCashState(const QString &text) override;
    void setDeskSymbolEditable(bool editable) override;
    void setReportNumberEditable(bool editable) override;
    void startReportEditing() override;
    void openCashDeskDictionary() override;
    void showSettlementLabel(const QString &label) override;

    // Commands of the "Raporty Kasowe" tab.
    void newReport();
    void toggleEditing();
    void deleteReport();
    void closeReport();
    void openReport();
    void monthlyReport();
    // Commands of the "Dokumenty" tab.
    void createReceiptOrPayout(const QString &kind);
    void createAdvanceRequest();
    void createSettlement();
    void editDocument();
    void copyDocuments();
    void deleteDocument();
    // "Nowy dokument KP" / "Nowy dokument KW".
    void newDocumentFromMenu(const QString &kind);
    // "Zapisz i zamknij".
    void saveAndClose();
    bool isEditing() const { return editing_; }

    // The editors, once created.
    TKASAF1 *receiptEditor() const;
    TKASAF14 *advanceRequestEditor() const;
    TKASAF11 *settlementEditor() const;

    QTabWidget *PageControl;
    QWidget *TabRaporty;
    QWidget *TabDokumenty;
    // Four panels: empty, working year, operator, cash state.
    std::array<QLabel *, 4> StatusPanels{};
    TableGrid *DeskGrid = nullptr;
    TableGrid *ReportGrid = nullptr;
    TableGrid *DocumentGrid = nullptr;
    QComboBox *SearchKind = nullptr;
    QLineEdit *SearchDate = nullptr;
    QLineEdit *SearchName = nullptr;

    // Report tab.
    QAction *NewReportAction;
    QAction *EditingAction;
    QAction *DeleteReportAction;
    QAction *CloseReportAction;
    QAction *OpenReportAction;
    QAction *PrintReportAction;
    QAction *CashStateAction;
    QAction *MonthlyReportAction;
    // Document tab.
    QAction *ReceiptAction;
    QAction *PayoutAction;
    QAction *SettlementAction;
    QAction *AdvanceRequestAction;
    QAction *EditDocumentAction;
    QAction *CopyAction;
    QAction *DeleteDocumentAction;
    QAction *PrintDocumentAction;
    QAction *FreeReceiptAction;
    QAction *FreePayoutAction;
    // Menus and the document popup.
    QMenu *TaskMenu;
    QMenu *DictionaryMenu;
    QMenu *ListingMenu;
    QMenu *ParameterMenu;
    QMenu *HelpMenu;
    QMenu *DocumentPopup;
    QAction *RenumberByDateAction;
    QAction *RenumberByEntryAction;
    QAction *RenumberDocumentsByDateAction;
    QAction *RenumberFromPlaceAction;
    QAction *CashStateToDocumentAction;
    QAction *CashStateOnDayAction;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool hasData() const { return services_ != nullptr; }
    QAction *command(const QString &text, const QString &hint, std::function<void()> run);
    void buildActions();
    void buildMenus();
    QToolBar *buildDeskToolBar();
    void buildReportTab();
    void buildDocumentTab();
    QWidget *buildSearchBox();
    void buildStatusBar();
    void bindGrids();

    void applyStartState();
    void runStartCommand();
    void documentTabShown();
    void moveToLastReport();
    void showEditingHighlight();

    // Runs a command: a refusal its rule has explained is swallowed, an engine failure said.
    void run(const std::function<void()> &work);
    // Reads the desks, reports and documents shown again, and the cash state.
    void rereadViews();
    // The same, unless a command or a modal window is under way.
    void rereadViewsWhenIdle();
    DocumentEditorServices editorServices() const;
    void showEditorFor(const QString &kind, bool newDocument = false);
    TKASAF1 &ensureReceiptEditor();
    TKASAF14 &ensureAdvanceRequestEditor();
    TKASAF11 &ensureSettlementEditor();
    void openIndexRepair();
    void openHelp();
    void runExternal(const std::function<void()> &command);
    void runExternalKeepingPlace(const std::function<void()> &command);
    void showAgain();
    void searchDocuments(const std::function<void()> &search);

    const GlobalState &state_;
    std::unique_ptr<MainWindowServices> services_;
    std::unique_ptr<DocumentCreation> creation_;
    TDRUK *printModule_ = nullptr;
    bool editing_ = false;
    int commandDepth_ = 0;
    bool stoppedInside_ = false;
    bool viewsMayBeStale_ = false; // the window was in the background: another program may have written
    bool accountsOnReport_ = false;
    QPointer<TKASAF1> receiptEditor_;
    QPointer<TKASAF14> advanceRequestEditor_;
    QPointer<TKASAF11> settlementEditor_;
    // When each command may run: what it needs, and whether it changes data (permission level).
    struct CommandRule {
        QAction *action;
        std::function<bool()> available;
        bool changesData;
    };
    QList<CommandRule> rules_;
    void rule(QAction *action, std::function<bool()> available, bool changesData = false);
};
