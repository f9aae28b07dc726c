#pragma once

#include "contractors/contractor_catalogue.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <functional>

class ContractorDescriptionWindow;
class ContractorNumberDialog;
class EnvelopeMarginsWindow;
class FieldBinding;
class Prompt;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class Table;
class TableFieldEdit;
class TableGrid;
class TableNavigator;

// How the catalogue was closed: "Przenieś dane kontrahenta" or a double click on the list
// (the current contractor is the chosen one), "Zamknij", or any other way.
enum class CatalogueResult { Transfer, No, Cancel };

// What the catalogue works with.
struct CatalogueServices {
    Table &contractors;  // TKontrah
    Table &descriptions; // TKONTRAHo, linked to the contractors by NR
    Prompt &prompt;
    QString workingFolder; // help page and envelope margins
    // The description table of the working year, opened afresh at each showing.
    std::function<QString()> descriptionFile;
    // Whether the logged-in user may change data; without it the catalogue only shows and picks.
    std::function<bool()> mayChangeData = {};
};

// "KATALOG KONTRAHENTÓW": the contractors in one of four orders, searched as the user types,
// edited beside the list; adding, saving, deleting, a new number, the description window and the
// envelope. Created once; the list keeps its order and row between showings.
class TKONF final : public QDialog {
    Q_OBJECT

public:
    explicit TKONF(const CatalogueServices &services, QWidget *parent = nullptr);
    ~TKONF() override;

    // Shows the catalogue modally; how it was closed.
    CatalogueResult showCatalogue();

    // The entries of "Narzędzia" run these (on the live contractor table); each stays disabled
    // while it is not given. The list is read again afterwards.
    void setCatalogueImport(std::function<void()> command);
    void setCatalogueExport(std::function<void()> command);
    // "Adresowanie kopert": prints the envelope of the current contractor; disabled while not
    // given.
    void setEnvelopePrinting(std::function<void()> command);

    ContractorCatalogue &catalogue() { return catalogue_; }

    // The commands, as the buttons and menu entries run them.
    void addContractor();
    void saveContractor();
    void deleteContractor();
    void changeNumber();
    void transfer();
    void closeWithNo();
    void openDescription();
    void openMargins();
    void openHelp();
    void search(ContractorKey key, const QString &typed);

    TableGrid *Grid;
    QLineEdit *NumberSearch;
    QLineEdit *TaxNumberSearch;
    QLineEdit *ShortNameSearch;
    QLineEdit *TownSearch;
    TableNavigator *Navigator;
    TableFieldEdit *NumberEdit;
    TableFieldEdit *ShortNameEdit;
    TableFieldEdit *Name1Edit;
    TableFieldEdit *Name2Edit;
    TableFieldEdit *TaxNumberEdit;
    TableFieldEdit *StreetEdit;
    TableFieldEdit *PostCodeEdit;
    TableFieldEdit *TownEdit;
    TableFieldEdit *BankEdit;
    TableFieldEdit *CheckDigitsEdit;
    TableFieldEdit *BankNumberEdit;
    TableFieldEdit *AccountEdit;
    QPushButton *AddButton;
    QPushButton *SaveButton;
    QPushButton *DeleteButton;
    QPushButton *TransferButton;
    QLabel *CountLabel;
    QMenuBar *Menu;
    QAction *NewAction;
    QAction *SaveAction;
    QAction *DeleteAction;
    QAction *ReceiverAction;
    QAction *CloseAction;
    QAction *DescriptionAction;
    QAction *ImportAction;
    QAction *ExportAction;
    QAction *EnvelopeAction;
    QAction *MarginsAction;
    QAction *HelpAction;

    ContractorDescriptionWindow *descriptionWindow() const { return descriptionWindow_; }
    ContractorNumberDialog *numberDialog() const { return numberDialog_; }
    EnvelopeMarginsWindow *marginsWindow() const { return marginsWindow_; }

public slots:
    void done(int result) override;

private:
    bool mayChangeData() const;
    void showOnly();
    void buildEditPanel(QWidget *panel);
    void buildMenu();
    QLineEdit *searchField(const char *name, const QString &hint, ContractorKey key);
    TableFieldEdit *field(const char *fieldName, const char *objectName);
    // Typed texts of the edit panel go into the row; false when one was refused.
    bool commitTyped();
    // Runs a command: reports what the engine refused, then shows the count and the list again.
    void run(const std::function<void()> &work);
    void refreshCount();
    void selectCurrentRow();
    void runTool(const std::function<void()> &command);

    CatalogueServices services_;
    ContractorCatalogue catalogue_;
    QList<FieldBinding *> bindings_;
    std::function<void()> import_;
    std::function<void()> export_;
    std::function<void()> envelope_;
    bool descriptionsUnavailable_ = false;
    ContractorDescriptionWindow *descriptionWindow_ = nullptr;
    ContractorNumberDialog *numberDialog_ = nullptr;
    EnvelopeMarginsWindow *marginsWindow_ = nullptr;
};
