#include "ledger/ui/document_editor.h"

#include "base/clock.h"
#include "base/prompt.h"
#include "ledger/cash_ledger.h"
#include "ledger/contractor_lookup.h"
#include "ledger/date_input.h"
#include "ledger/dictionary_rules.h"
#include "ledger/document_saving.h"
#include "ledger/ledger_queries.h"
#include "ledger/row_posting.h"
#include "ledger/ui/main_window_commands.h"
#include "ledger/ui/main_window_grids.h"
#include "store/data_change_permission.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"
#include "store/table_schemas.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"
#include "widgets/table_navigator.h"
#include "widgets/window_frame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kDateFormat = QStringLiteral("yyyy.MM.dd");

// A hint is "tooltip|status-bar text": the part before the bar shows beside the control, the part
// after it in the status line while the pointer is over it; a hint without a bar is both.
void SetHint(QWidget *control, const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    control->setToolTip(bar < 0 ? hint : hint.left(bar));
    control->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

template <typename Work> void ReportingFailures(Prompt &prompt, Work work)
{
    try {
        work();
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt.error(error.message());
    }
}

} // namespace

DocumentEditor::DocumentEditor(const DocumentEditorServices &services, QWidget *parent)
    : QDialog(parent), services_(services)
{
    setWindowTitle(QStringLiteral("Dokument"));
    setModal(true);

    SaveAndCloseAction = new QAction(QStringLiteral("Zapisz i zamknij"), this);
    SaveAndCloseAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    SaveAndCloseAction->setShortcutContext(Qt::WindowShortcut);
    connect(SaveAndCloseAction, &QAction::triggered, this, [this] { saveAndClose(); });
    addAction(SaveAndCloseAction);

    NumberChangeAction = new QAction(QStringLiteral("Zmiana numeru dokumentu"), this);
    NumberChangeAction->setEnabled(services_.auxiliary != nullptr);
    connect(NumberChangeAction, &QAction::triggered, this, [this] { changeNumber(); });
    addAction(NumberChangeAction);
}

DocumentEditor::~DocumentEditor() = default;

LedgerTables &DocumentEditor::tables() const
{
    return services_.ledger.context().tables;
}

Table &DocumentEditor::header() const
{
    return tables().TNAG;
}

bool DocumentEditor::accountsOnReport() const
{
    return AccountsOnReport(tables().TPARA);
}

// A document of a closed report is only shown, its report's balances being final; so is every
// document to a user who may only look.
bool DocumentEditor::mayChangeDocument() const
{
    return CurrentReportIsOpen(tables()) && MayChangeData(services_.ledger.context().state);
}

// --- Building ----------------------------------------------------------------------------------

TableFieldEdit *DocumentEditor::headerField(const QString &field, const QString &hint)
{
    auto *edit = new TableFieldEdit(header(), field, this);
    edit->setPrompt(&services_.prompt);
    if (!hint.isEmpty())
        SetHint(edit, hint);
    bindings_.append(edit);
    return edit;
}

TableFieldEdit *DocumentEditor::shownOnly(TableFieldEdit *edit)
{
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    shownOnly_.append(edit);
    return edit;
}

QPushButton *DocumentEditor::button(const QString &text)
{
    auto *result = new QPushButton(text, this);
    result->setAutoDefault(false);
    result->setDefault(false);
    return result;
}

QToolButton *DocumentEditor::catalogueButton()
{
    catalogueButton_ = new QToolButton(this);
    catalogueButton_->setText(QStringLiteral("..."));
    SetHint(catalogueButton_, QStringLiteral("Katalog kontrahentów|Katalog kontrahentów"));
    connect(catalogueButton_, &QToolButton::clicked, this, [this] { chooseFromCatalogue(); });
    return catalogueButton_;
}

QWidget *DocumentEditor::buildTopPanel()
{
    auto *panel = new QWidget(this);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    KindLabel = new QLabel(panel);
    QFont large = KindLabel->font();
    large.setPointSize(large.pointSize() * 2);
    large.setBold(true);
    KindLabel->setFont(large);
    KindLabel->setMinimumWidth(80);
    row->addWidget(KindLabel);
    row->addStretch();

    row->addWidget(new QLabel(QStringLiteral("NUMER"), panel));
    NumberEdit = headerField(QStringLiteral("DOWOD"));
    NumberEdit->setMinimumWidth(140);
    connect(NumberEdit, &TableFieldEdit::doubleClicked, this, [this] { changeNumber(); });
    row->addWidget(NumberEdit);

    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("DATA"), panel));
    DateEdit = headerField(QStringLiteral("DATA"));
    DateEdit->setInputMask(QStringLiteral("0000.00.00;_"));
    DateEdit->setInputCheck([this](const QString &typed) { return BookDateProblem(typed, services_.ledger.context().state); });
    // A refused date does not stay in the field while the focus moves on.
    DateEdit->restoreStoredValueWhenRefused();
    DateEdit->setFixedWidth(DateEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00")) + 16);
    row->addWidget(DateEdit);
    CalendarButton = new QToolButton(panel);
    CalendarButton->setText(QStringLiteral("..."));
    CalendarButton->setFocusPolicy(Qt::NoFocus);
    CalendarButton->setEnabled(services_.auxiliary != nullptr);
    connect(CalendarButton, &QToolButton::clicked, this, [this] { pickDate(); });
    row->addWidget(CalendarButton);
    return panel;
}

QWidget *DocumentEditor::buildAccountPanel(bool withPrintButton)
{
    AccountPanel = new QWidget(this);
    auto *row = new QHBoxLayout(AccountPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("KONTO"), AccountPanel));
    AccountCombo = new TableFieldCombo(header(), QStringLiteral("KONTO"), AccountPanel);
    AccountCombo->setPrompt(&services_.prompt);
    AccountCombo->setMinimumWidth(140);
    bindings_.append(AccountCombo);
    row->addWidget(AccountCombo);
    row->addStretch();
    if (withPrintButton) {
        printButton_ = button(QStringLiteral("Drukuj"));
        printButton_->setEnabled(services_.commands &&
                                 (services_.commands->printDocuments || services_.commands->printDocumentFromEditor));
        connect(printButton_, &QPushButton::clicked, this, [this] { printDocument(); });
        row->addWidget(printButton_);
    }
    return AccountPanel;
}

void DocumentEditor::buildLineGrid(const QList<GridColumn> &columns)
{
    // A line's amount shows as the header's first-line amount does.
    tables().TPOZ.setDisplayFormat(QStringLiteral("KWOTAP"), QString::fromLatin1(kPlainAmountDisplayFormat));
    auto *model = new TableModel(tables().TPOZ, columns);
    model->setPrompt(&services_.prompt);
    model->setEditable(true);
    LineGrid = new TableGrid(model, this);
    LineGrid->setMinimumHeight(150);
    LineGrid->setEditTriggers(LineGrid->editTriggers() | QAbstractItemView::DoubleClicked);
    LineGrid->setLineEntry(true);
    connect(LineGrid, &TableGrid::entered, this, [this] { enterLines(); });
}

QWidget *DocumentEditor::buildBottom()
{
    auto *panel = new QWidget(this);
    auto *row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    Navigator = new TableNavigator(LineGrid->tableModel(), services_.prompt,
                                   {{TableNavigator::Button::Insert, QStringLiteral("Nowy")},
                                    {TableNavigator::Button::Delete, QStringLiteral("Kasuj")},
                                    {TableNavigator::Button::Post, QStringLiteral("Zapisz")},
                                    {TableNavigator::Button::Cancel, QStringLiteral("Przerwij")}},
                                   panel);
    connect(Navigator, &TableNavigator::inserted, this, [this] {
        // The new line becomes the grid's current cell before the grid takes the focus: a grid
        // without a current cell takes its first row on the focus, which would store the new
        // line empty and send what is typed next into the first line.
        const TableModel &lines = LineGrid->tableModel();
        if (const int row = lines.currentRow(); row >= 0)
            LineGrid->setCurrentIndex(lines.index(row, 0));
        LineGrid->setFocus();
    });
    row->addWidget(Navigator);
    row->addStretch();
    row->addWidget(new QLabel(QStringLiteral("KWOTA"), panel));
    AmountEdit = shownOnly(headerField(QStringLiteral("KWOTA")));
    AmountEdit->setAlignment(Qt::AlignRight);
    AmountEdit->setFixedWidth(std::max(120, WidestAmountWidth(AmountEdit->fontMetrics()) + 16));
    row->addWidget(AmountEdit);
    return panel;
}

void DocumentEditor::assemble(QWidget *group)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildTopPanel());
    layout->addWidget(group);
    layout->addWidget(buildAccountPanel(true));
    layout->addWidget(LineGrid, 1);
    layout->addWidget(buildBottom());
    resize(600, 560);

    // Tab and Enter go down the window: number, date, the group's fields as laid out, the
    // account, the lines.
    focusOrder_ = {NumberEdit, DateEdit};
    for (QWidget *control : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (control->focusPolicy() & Qt::TabFocus)
            focusOrder_.append(control);
    focusOrder_ << AccountCombo << LineGrid;
    for (qsizetype i = 0; i + 1 < focusOrder_.size(); ++i)
        setTabOrder(focusOrder_[i], focusOrder_[i + 1]);
}

void DocumentEditor::focusFirstField()
{
    for (QWidget *control : std::as_const(focusOrder_)) {
        const auto *edit = qobject_cast<QLineEdit *>(control);
        if (control->isEnabled() && control->isVisibleTo(this) && (!edit || !edit->isReadOnly())) {
            control->setFocus(Qt::TabFocusReason); // as Tab would: the field's text selected
            return;
        }
    }
}

// --- Showing -----------------------------------------------------------------------------------

void DocumentEditor::edit(bool newDocument)
{
    newDocument_ = newDocument;
    savedByUser_ = false;
    for (FieldBinding *binding : std::as_const(bindings_))
        binding->reload();
    prepare();
    // Over the main window, wherever the program was started from.
    CentreOver(*this, parentWidget() ? parentWidget()->window() : nullptr);
    focusFirstField();
    qApp->installEventFilter(this);
    exec();
    qApp->removeEventFilter(this);
}

void DocumentEditor::prepare()
{
    KindLabel->setText(header().asString(QStringLiteral("RD")));
    AccountPanel->setVisible(accountsOnReport());
    const bool open = mayChangeDocument();
    setFieldsReadOnly(!open);
    // The number is worked out from the numbering, never typed.
    NumberEdit->setField(QStringLiteral("DOWOD"));
    NumberEdit->setReadOnly(true);
    if (catalogueButton_)
        catalogueButton_->setEnabled(open && services_.commands && services_.commands->chooseContractor);
    NumberChangeAction->setEnabled(services_.auxiliary != nullptr);
    CalendarButton->setEnabled(services_.auxiliary != nullptr && !DateEdit->isReadOnly());
}

void DocumentEditor::setFieldsReadOnly(bool readOnly)
{
    for (FieldBinding *binding : std::as_const(bindings_)) {
        if (auto *edit = dynamic_cast<TableFieldEdit *>(binding); edit && !shownOnly_.contains(edit))
            edit->setReadOnly(readOnly);
    }
    AccountCombo->setEnabled(!readOnly);
    LineGrid->tableModel().setEditable(!readOnly);
    Navigator->setReadOnly(readOnly);
    CalendarButton->setEnabled(services_.auxiliary != nullptr && !readOnly);
}

void DocumentEditor::fillAccountList(bool panel)
{
    // Each account with its name beside its code; the document takes the code.
    const QStringList accounts = FieldValues(tables().TKONTA, QStringLiteral("KOD"));
    const QStringList names = FieldValues(tables().TKONTA, QStringLiteral("NAZWA"));
    if (panel)
        AccountCombo->setEntries(accounts, names);
    else
        LineGrid->tableModel().setPickList(QStringLiteral("KONTO"), accounts, names);
}

// --- Commands ----------------------------------------------------------------------------------

bool DocumentEditor::commitFields()
{
    for (FieldBinding *binding : std::as_const(bindings_))
        if (!binding->commit())
            return false;
    return true;
}

void DocumentEditor::saveThenClose(const std::function<void()> &save)
{
    if (!mayChangeDocument()) {
        DocumentSaving(services_.ledger.context()).discardChanges(); // a closed report's document stays
        accept();
        return;
    }
    if (!commitFields())
        return;
    bool saved = false;
    ReportingFailures(services_.prompt, [&] {
        save();
        saved = true;
    });
    if (saved)
        accept();
}

void DocumentEditor::saveAndClose()
{
    saveThenClose([this] { DocumentSaving(services_.ledger.context()).saveLinesAndHeader(); });
}

void DocumentEditor::saveRefreshingNumbering(bool withFirstLineText)
{
    saveThenClose([this, withFirstLineText] {
        DocumentSaving saving(services_.ledger.context());
        if (withFirstLineText)
            saving.saveWithFirstLineText();
        else
            saving.saveLinesAndHeader();
        saving.refreshNumbering();
    });
}

bool DocumentEditor::mayClose()
{
    return commitFields();
}

bool DocumentEditor::closeKeepingChanges()
{
    if (!mayChangeDocument()) {
        DocumentSaving(services_.ledger.context()).discardChanges();
        return true;
    }
    if (!commitFields())
        return false;
    ReportingFailures(services_.prompt, [&] { DocumentSaving(services_.ledger.context()).saveLinesAndHeader(); });
    return true;
}

void DocumentEditor::reject()
{
    if (!mayClose())
        return;
    if (newDocument_ && !savedByUser_)
        dropNewDocumentLeftEmpty();
    QDialog::reject();
}

// The header of a new document was stored when the editor opened; left without saving and
// without lines, the document goes again, with its number.
void DocumentEditor::dropNewDocumentLeftEmpty()
{
    ReportingFailures(services_.prompt, [&] {
        DocumentSaving saving(services_.ledger.context());
        saving.discardChanges();
        if (!saving.hasStoredLines())
            services_.ledger.documents().removeCurrentDocument();
    });
}

// Ctrl+Z in a text being typed undoes the typing first. With nothing left to undo it runs the
// window's "Zapisz i zamknij" from a field, and from a grid cell drops the cell's editor and the
// line's change, as Esc does there.
bool DocumentEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (auto *list = qobject_cast<QComboBox *>(watched); list && !edit)
        edit = list->lineEdit();
    if (!edit || !isAncestorOf(edit) || key->key() != Qt::Key_Z || key->modifiers() != Qt::ControlModifier)
        return QDialog::eventFilter(watched, event);
    if (edit->isUndoAvailable() && !edit->isReadOnly())
        return false; // the field undoes its own typing
    if (LineGrid->isAncestorOf(edit)) {
        event->accept();
        QMetaObject::invokeMethod(this, [this] {
            LineGrid->setFocus(); // the cell's editor closes without storing its text
            if (Table &lines = LineGrid->tableModel().table();
                lines.isOpen() && (lines.state() == TableState::Edit || lines.state() == TableState::Insert))
                ReportingFailures(services_.prompt, [&] { lines.cancel(); });
        }, Qt::QueuedConnection);
        return true;
    }
    event->ignore(); // the window's own Ctrl+Z
    return true;
}

void DocumentEditor::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        focusNextChild();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DocumentEditor::changeNumber()
{
    if (!services_.auxiliary || !mayChangeDocument() || !commitFields())
        return;
    ReportingFailures(services_.prompt, [&] { services_.ledger.numberChange().changeNumber(services_.auxiliary->numberChangeDialog()); });
}

void DocumentEditor::pickDate()
{
    if (!services_.auxiliary || DateEdit->isReadOnly() || !commitFields())
        return;
    QDate initial = QDate::fromString(header().asString(QStringLiteral("DATA")), kDateFormat);
    if (!initial.isValid())
        initial = services_.clock.today();
    const std::optional<QDate> chosen = services_.auxiliary->askCalendarDate(CalendarButton, initial);
    if (!chosen || !chosen->isValid())
        return;
    ReportingFailures(services_.prompt, [&] {
        EnsureEditing(header());
        header().setString(QStringLiteral("DATA"), chosen->toString(kDateFormat));
    });
}

// The lines refer to the header: it is stored before the first line is touched.
void DocumentEditor::enterLines()
{
    if (!commitFields())
        return;
    if (header().state() == TableState::Edit || header().state() == TableState::Insert)
        ReportingFailures(services_.prompt, [&] { PostRow(header(), services_.prompt); });
}

void DocumentEditor::lookUpContractor(bool byTaxNumber, const QString &typed)
{
    if (!mayChangeDocument())
        return;
    ReportingFailures(services_.prompt, [&] {
        Table &contractors = services_.contractors;
        const bool found = byTaxNumber ? FindContractorByTaxNumber(contractors, typed)
                                       : FindContractorByNumber(contractors, typed);
        if (found)
            CopyContractorIntoHeader(contractors, header(), services_.prompt);
    });
}

void DocumentEditor::chooseFromCatalogue()
{
    if (!mayChangeDocument() || !services_.commands || !services_.commands->chooseContractor || !commitFields())
        return;
    ReportingFailures(services_.prompt, [&] {
        if (services_.commands->chooseContractor())
            CopyContractorIntoHeader(services_.contractors, header(), services_.prompt);
    });
}

void DocumentEditor::printDocument()
{
    if (!services_.commands || !(services_.commands->printDocuments || services_.commands->printDocumentFromEditor) ||
        !commitFields())
        return;
    ReportingFailures(services_.prompt, [&] {
        PostRow(tables().TPOZ, services_.prompt);
        PostRow(header(), services_.prompt);
        if (services_.commands->printDocumentFromEditor)
            services_.commands->printDocumentFromEditor(header().bookmark());
        else
            services_.commands->printDocuments({header().bookmark()});
    });
}
