#pragma once

#include "widgets/table_model.h"

#include <QDialog>
#include <QList>
#include <functional>

class AuxiliaryWindows;
class CashLedger;
class Clock;
class FieldBinding;
class Prompt;
class QAction;
class QLabel;
class QPushButton;
class QToolButton;
class Table;
class TableFieldCombo;
class TableFieldEdit;
class TableGrid;
class TableNavigator;
struct ExternalCommands;
struct LedgerTables;

// What the document editors work with.
struct DocumentEditorServices {
    CashLedger &ledger;
    Table &contractors; // TKontrah
    Prompt &prompt;
    const Clock &clock;
    AuxiliaryWindows *auxiliary = nullptr;       // calendar and number dialog
    const ExternalCommands *commands = nullptr;  // contractor catalogue, document printout
};

// What the editors of one document ("Dokument") share: the kind, the number and the date with
// its calendar at the top, the account panel (parameter B3), the line grid with its navigator
// and the document's amount at the bottom, "Zapisz i zamknij" (Ctrl+Z) and "Zmiana numeru
// dokumentu". The fields show the current header of TNAG, the grid its rows in TPOZ. Enter
// moves to the next field as Tab does; Esc closes.
class DocumentEditor : public QDialog {
    Q_OBJECT

public:
    ~DocumentEditor() override;

    // Prepares the editor for the current document and shows it modally; returns when it closes.
    // A new document (made by a creating command for this editor) that is left without being
    // saved leaves nothing stored.
    void edit(bool newDocument = false);

    // "Zapisz i zamknij" (Ctrl+Z): the lines and the header as they are; closes.
    virtual void saveAndClose();
    // "Zmiana numeru dokumentu": only while the current report is open.
    void changeNumber();
    // Esc and the window's close button: the editor closes when its kind allows.
    void reject() override;

    QLabel *KindLabel = nullptr;
    TableFieldEdit *NumberEdit = nullptr;
    TableFieldEdit *DateEdit = nullptr;
    QToolButton *CalendarButton = nullptr;
    QWidget *AccountPanel = nullptr;
    TableFieldCombo *AccountCombo = nullptr;
    TableGrid *LineGrid = nullptr;
    TableNavigator *Navigator = nullptr;
    TableFieldEdit *AmountEdit = nullptr;
    QAction *SaveAndCloseAction = nullptr;
    QAction *NumberChangeAction = nullptr;

protected:
    DocumentEditor(const DocumentEditorServices &services, QWidget *parent);

    const DocumentEditorServices &services() const { return services_; }
    LedgerTables &tables() const;
    Table &header() const;
    bool accountsOnReport() const;
    // The current document may be changed here: its report is open and the user may change data.
    bool mayChangeDocument() const;

    // A control for a field of the header, hinted.
    TableFieldEdit *headerField(const QString &field, const QString &hint = QString());
    // A field that is shown and never typed into (a total, a worked-out value).
    TableFieldEdit *shownOnly(TableFieldEdit *edit);
    QPushButton *button(const QString &text);
    QToolButton *catalogueButton();
    QWidget *buildTopPanel();
    QWidget *buildAccountPanel(bool withPrintButton);
    void buildLineGrid(const QList<GridColumn> &columns);
    QWidget *buildBottom();
    // Top panel, the kind's own group, the account panel, the lines and the bottom row.
    void assemble(QWidget *group);

    // Run when the editor is shown for a document.
    virtual void prepare();
    // Any close but the save commands; false keeps the editor open.
    virtual bool mayClose();
    // Closing without asking: what was typed is stored.
    bool closeKeepingChanges();
    // The user saved the document on his way out (answered Yes to saving it).
    void markSavedByUser() { savedByUser_ = true; }
    // Writes typed texts into their fields; false (after a message) when a field refuses one.
    bool commitFields();
    void setFieldsReadOnly(bool readOnly);
    // Fills the account list of the panel (accounts on the report) or of the grid's KONTO column.
    void fillAccountList(bool panel);
    // The contractor with the typed number or tax number, or the one chosen in the catalogue,
    // goes into the header; only while the current report is open.
    void lookUpContractor(bool byTaxNumber, const QString &typed);
    void chooseFromCatalogue();
    // Runs a save command: fields first, then the posts; the editor closes when all went well.
    void saveThenClose(const std::function<void()> &save);
    // "Zapisz": the lines and the header (first taking the first line's text, when asked), then
    // the numbering view shows the new numbers; closes.
    void saveRefreshingNumbering(bool withFirstLineText);

    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pickDate();
    void enterLines();
    void printDocument();
    void focusFirstField();
    void dropNewDocumentLeftEmpty();

    DocumentEditorServices services_;
    QList<FieldBinding *> bindings_;
    QList<TableFieldEdit *> shownOnly_;
    QToolButton *catalogueButton_ = nullptr;
    QPushButton *printButton_ = nullptr;
    QList<QWidget *> focusOrder_;
    bool newDocument_ = false;
    bool savedByUser_ = false;
};
