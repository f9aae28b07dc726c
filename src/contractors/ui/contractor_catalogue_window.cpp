#include "contractors/ui/contractor_catalogue_window.h"

#include "base/prompt.h"
#include "contractors/envelope_margins.h"
#include "contractors/ui/contractor_description_window.h"
#include "contractors/ui/contractor_help.h"
#include "contractors/ui/contractor_number_dialog.h"
#include "contractors/ui/envelope_margins_window.h"
#include "ledger/ui/table_dictionary.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"
#include "widgets/table_model.h"
#include "widgets/table_navigator.h"
#include "widgets/window_frame.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int kTransfer = QDialog::Accepted;
constexpr int kNo = 2;

const QList<GridColumn> kColumns{
    {.field = QStringLiteral("NR"), .title = QStringLiteral("NUMER"), .width = 60},
    {.field = QStringLiteral("NIP"), .title = QStringLiteral("NIP"), .width = 110},
    {.field = QStringLiteral("SKROT"), .title = QStringLiteral("SKRÓT NAZWY"), .width = 170},
    {.field = QStringLiteral("MIEJSC"), .title = QStringLiteral("MIEJSCOWOŚĆ"), .width = 170},
};

ContractorKey KeyOfColumn(const QString &field)
{
    if (field == QStringLiteral("NIP"))
        return ContractorKey::TaxNumber;
    if (field == QStringLiteral("SKROT"))
        return ContractorKey::ShortName;
    if (field == QStringLiteral("MIEJSC"))
        return ContractorKey::Town;
    return ContractorKey::Number;
}

} // namespace

TKONF::TKONF(const CatalogueServices &services, QWidget *parent)
    : QDialog(parent)
    , services_(services)
    , catalogue_(services.contractors, services.descriptions, services.prompt)
{
    setObjectName(QStringLiteral("TKONF"));
    setWindowTitle(QStringLiteral("KATALOG KONTRAHENTÓW"));
    setModal(true);

    auto *model = new TableModel(services_.contractors, kColumns);
    model->setEditable(false);
    model->setPrompt(&services_.prompt);
    Grid = new TableGrid(model, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->horizontalHeader()->setStretchLastSection(true);
    connect(Grid, &TableGrid::titleClicked, this,
            [this](const QString &field) { run([&] { catalogue_.orderBy(KeyOfColumn(field)); }); });
    connect(Grid, &QAbstractItemView::doubleClicked, this, [this] { transfer(); });
    // Once the move is over, a new contractor left without a name is asked about.
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { run([this] { catalogue_.currentRowChanged(); }); }, Qt::QueuedConnection);

    NumberSearch = searchField("NumberSearch", QStringLiteral("Podaj numer kontrahenta"), ContractorKey::Number);
    NumberSearch->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), NumberSearch));
    TaxNumberSearch = searchField("TaxNumberSearch", QStringLiteral("Podaj NIP"), ContractorKey::TaxNumber);
    ShortNameSearch = searchField("ShortNameSearch", QStringLiteral("Podaj skrót nazwy"), ContractorKey::ShortName);
    TownSearch = searchField("TownSearch", QStringLiteral("Podaj miejscowość"), ContractorKey::Town);
    auto *searches = new QHBoxLayout;
    searches->setSpacing(2);
    searches->addWidget(NumberSearch, kColumns[0].width);
    searches->addWidget(TaxNumberSearch, kColumns[1].width);
    searches->addWidget(ShortNameSearch, kColumns[2].width);
    searches->addWidget(TownSearch, kColumns[3].width);

    using B = TableNavigator::Button;
    Navigator = new TableNavigator(*model, services_.prompt,
                                   {{B::First, NavigatorHint::First},
                                    {B::Prior, NavigatorHint::Prior},
                                    {B::Next, NavigatorHint::Next},
                                    {B::Last, NavigatorHint::Last},
                                    {B::Refresh, NavigatorHint::Refresh}},
                                   this);
    Navigator->setObjectName(QStringLiteral("Navigator"));
    Navigator->setReadOnly(true);

    auto *listSide = new QVBoxLayout;
    listSide->addWidget(Grid, 1);
    listSide->addLayout(searches);
    listSide->addWidget(Navigator);

    auto *panel = new QWidget(this);
    buildEditPanel(panel);

    auto *body = new QHBoxLayout;
    body->addLayout(listSide, 1);
    body->addWidget(panel);

    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    status->addWidget(CountLabel, 1);

    Menu = new QMenuBar(this);
    buildMenu();

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(Menu);
    layout->addLayout(body, 1);
    layout->addWidget(status);

    numberDialog_ = new ContractorNumberDialog(this);
    marginsWindow_ = new EnvelopeMarginsWindow(MarginsFilePath(services_.workingFolder), services_.prompt, this);
    descriptionWindow_ = new ContractorDescriptionWindow(services_.contractors, services_.descriptions,
                                                         services_.prompt,
                                                         ContractorHelpFile(services_.workingFolder), this);
    resize(1010, 560);
}

TKONF::~TKONF() = default;

void TKONF::buildEditPanel(QWidget *panel)
{
    NumberEdit = field("NR", "NumberEdit");
    NumberEdit->setReadOnly(true);
    NumberEdit->setToolTip(QStringLiteral("Dwukrotne kliknięcie zmienia numer kontrahenta"));
    connect(NumberEdit, &TableFieldEdit::doubleClicked, this, [this] { changeNumber(); });
    ShortNameEdit = field("SKROT", "ShortNameEdit");
    Name1Edit = field("NAZWA1", "Name1Edit");
    // Connected after the field's own commit, so the name is in the row when it is looked at.
    connect(Name1Edit, &QLineEdit::editingFinished, this, [this] { run([this] { catalogue_.fillShortName(); }); });
    Name2Edit = field("NAZWA2", "Name2Edit");
    TaxNumberEdit = field("NIP", "TaxNumberEdit");
    StreetEdit = field("UL", "StreetEdit");
    PostCodeEdit = field("KOD", "PostCodeEdit");
    TownEdit = field("MIEJSC", "TownEdit");
    BankEdit = field("BANK", "BankEdit");
    CheckDigitsEdit = field("NUM1", "CheckDigitsEdit");
    BankNumberEdit = field("NUM2", "BankNumberEdit");
    AccountEdit = field("NUM3", "AccountEdit");

    const auto width = [](QLineEdit *edit, const char *sample) {
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 14);
    };
    width(NumberEdit, "0000000");
    width(PostCodeEdit, "00-0000");
    width(CheckDigitsEdit, "0000");
    width(BankNumberEdit, "0000000000");

    auto *grid = new QGridLayout;
    int row = 0;
    const auto line = [&](const QString &label, QWidget *edit) {
        grid->addWidget(new QLabel(label, panel), row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    };
    line(QStringLiteral("Numer kontrahenta"), NumberEdit);
    line(QStringLiteral("Skrót nazwy"), ShortNameEdit);
    line(QStringLiteral("Pełna"), Name1Edit);
    line(QStringLiteral("nazwa:"), Name2Edit);
    line(QStringLiteral("NIP"), TaxNumberEdit);
    line(QStringLiteral("Ulica"), StreetEdit);
    line(QStringLiteral("Kod pocztowy"), PostCodeEdit);
    line(QStringLiteral("Poczta"), TownEdit);
    line(QStringLiteral("Nazwa banku"), BankEdit);
    auto *account = new QHBoxLayout;
    account->addWidget(new QLabel(QStringLiteral("L.k."), panel));
    account->addWidget(CheckDigitsEdit);
    account->addWidget(new QLabel(QStringLiteral("Numer banku"), panel));
    account->addWidget(BankNumberEdit);
    account->addStretch();
    grid->addLayout(account, row++, 0, 1, 2);
    line(QStringLiteral("Numer rachunku"), AccountEdit);

    const auto button = [&](const QString &text, const char *name, void (TKONF::*command)()) {
        auto *push = new QPushButton(text, panel);
        push->setObjectName(QString::fromLatin1(name));
        push->setAutoDefault(false);
        connect(push, &QPushButton::clicked, this, command);
        return push;
    };
    AddButton = button(QStringLiteral("Dodaj nowy"), "AddButton", &TKONF::addContractor);
    SaveButton = button(QStringLiteral("Zapisz"), "SaveButton", &TKONF::saveContractor);
    DeleteButton = button(QStringLiteral("Usuń"), "DeleteButton", &TKONF::deleteContractor);
    TransferButton = button(QStringLiteral("Przenieś dane kontrahenta"), "TransferButton", &TKONF::transfer);
    auto *buttons = new QGridLayout;
    buttons->addWidget(AddButton, 0, 0);
    buttons->addWidget(SaveButton, 0, 1);
    buttons->addWidget(DeleteButton, 0, 2);
    buttons->addWidget(TransferButton, 1, 0, 1, 3);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    panel->setMinimumWidth(390);
}

void TKONF::buildMenu()
{
    const auto entry = [this](QMenu *menu, const QString &text, QKeySequence key, std::function<void()> command) {
        QAction *action = menu->addAction(text);
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        if (command)
            connect(action, &QAction::triggered, this, std::move(command));
        return action;
    };
    QMenu *tasks = Menu->addMenu(QStringLiteral("Zadania"));
    NewAction = entry(tasks, QStringLiteral("Nowy kontrahent"), Qt::Key_F4, [this] { addContractor(); });
    SaveAction = entry(tasks, QStringLiteral("Zapisz"), Qt::Key_F5, [this] { saveContractor(); });
    DeleteAction = entry(tasks, QStringLiteral("Usuń kontrahenta"), Qt::Key_F8, [this] { deleteContractor(); });
    // Kept for the users who know it from the sibling programs; it does nothing here.
    ReceiverAction = entry(tasks, QStringLiteral("Przenieś dane odbiorcy "), Qt::Key_F6, {});
    tasks->addSeparator();
    CloseAction = entry(tasks, QStringLiteral("Zamknij"), {}, [this] { closeWithNo(); });

    DescriptionAction = Menu->addAction(QStringLiteral("Opis kontrahenta"));
    connect(DescriptionAction, &QAction::triggered, this, [this] { openDescription(); });

    QMenu *tools = Menu->addMenu(QStringLiteral("Narzędzia"));
    ImportAction = entry(tools, QStringLiteral("Import katalogu kontrahentów"), {}, [this] { runTool(import_); });
    ExportAction = entry(tools, QStringLiteral("Export katalogu kontrahentów"), {}, [this] { runTool(export_); });
    ImportAction->setEnabled(false);
    ExportAction->setEnabled(false);

    QMenu *printing = Menu->addMenu(QStringLiteral("Wydruk"));
    EnvelopeAction = entry(printing, QStringLiteral("Adresowanie kopert"), {}, [this] {
        if (envelope_ && commitTyped())
            run(envelope_);
    });
    EnvelopeAction->setEnabled(false);
    MarginsAction = entry(printing, QStringLiteral("Ustawienie marginesów"), {}, [this] { openMargins(); });

    HelpAction = Menu->addAction(QStringLiteral("Pomoc"));
    HelpAction->setShortcut(Qt::Key_F1);
    HelpAction->setShortcutContext(Qt::WindowShortcut);
    addAction(HelpAction);
    connect(HelpAction, &QAction::triggered, this, [this] { openHelp(); });
}

QLineEdit *TKONF::searchField(const char *name, const QString &hint, ContractorKey key)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setToolTip(hint);
    edit->setPlaceholderText(hint);
    // The hint is read whole, however narrow the column above it.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(hint) + 2 * edit->fontMetrics().averageCharWidth() + 8);
    connect(edit, &QLineEdit::textEdited, this, [this, key](const QString &text) { search(key, text); });
    return edit;
}

TableFieldEdit *TKONF::field(const char *fieldName, const char *objectName)
{
    auto *edit = new TableFieldEdit(services_.contractors, QString::fromLatin1(fieldName), this);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setPrompt(&services_.prompt);
    bindings_.append(edit);
    return edit;
}

void TKONF::setCatalogueImport(std::function<void()> command)
{
    import_ = std::move(command);
    ImportAction->setEnabled(bool(import_));
}

void TKONF::setCatalogueExport(std::function<void()> command)
{
    export_ = std::move(command);
    ExportAction->setEnabled(bool(export_));
}

void TKONF::setEnvelopePrinting(std::function<void()> command)
{
    envelope_ = std::move(command);
    EnvelopeAction->setEnabled(bool(envelope_));
}

bool TKONF::commitTyped()
{
    for (FieldBinding *binding : bindings_)
        if (!binding->commit())
            return false;
    return true;
}

void TKONF::run(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        services_.prompt.error(error.message());
    }
    refreshCount();
    selectCurrentRow();
}

void TKONF::refreshCount()
{
    CountLabel->setText(catalogue_.countText());
}

void TKONF::selectCurrentRow()
{
    const int row = Grid->tableModel().currentRow();
    if (row >= 0) {
        Grid->setCurrentIndex(Grid->tableModel().index(row, 0));
        Grid->selectRow(row);
    }
}

bool TKONF::mayChangeData() const
{
    return !services_.mayChangeData || services_.mayChangeData();
}

// For a user who may only look: the contractor can be found, read and picked, nothing changed.
void TKONF::showOnly()
{
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(AddButton), static_cast<QAbstractButton *>(SaveButton),
                                    static_cast<QAbstractButton *>(DeleteButton)})
        button->setEnabled(false);
    for (QAction *action : {NewAction, SaveAction, DeleteAction, ImportAction})
        action->setEnabled(false);
    SetBoundControlsReadOnly(bindings_);
    descriptionWindow_->showOnly();
}

CatalogueResult TKONF::showCatalogue()
{
    refreshCount();
    // A description table that does not open hides its entry for the rest of the run.
    if (!catalogue_.openDescriptions(services_.descriptionFile ? services_.descriptionFile() : QString()))
        descriptionsUnavailable_ = true;
    DescriptionAction->setVisible(!descriptionsUnavailable_);
    if (!mayChangeData())
        showOnly();
    Grid->tableModel().reload();
    selectCurrentRow();
    Grid->setFocus();
    switch (exec()) {
    case kTransfer:
        return CatalogueResult::Transfer;
    case kNo:
        return CatalogueResult::No;
    default:
        return CatalogueResult::Cancel;
    }
}

void TKONF::addContractor()
{
    if (!commitTyped())
        return;
    bool added = false;
    run([&] { added = catalogue_.addContractor(); });
    // The new contractor is typed in at once, from his name, with his row in sight.
    if (added) {
        Grid->scrollTo(Grid->currentIndex());
        Name1Edit->setFocus();
    }
}

void TKONF::saveContractor()
{
    if (commitTyped())
        run([this] { catalogue_.save(); });
}

void TKONF::deleteContractor()
{
    if (commitTyped())
        run([this] { catalogue_.deleteContractor(); });
}

void TKONF::changeNumber()
{
    if (!mayChangeData() || !commitTyped() || !services_.contractors.isOpen() || services_.contractors.isEmpty())
        return;
    run([this] {
        if (!catalogue_.save())
            return;
        if (const std::optional<QString> typed = numberDialog_->askNewNumber(services_.contractors.asInteger(QStringLiteral("NR"))))
            catalogue_.changeNumber(*typed);
    });
}

void TKONF::transfer()
{
    if (commitTyped())
        done(kTransfer);
}

void TKONF::closeWithNo()
{
    done(kNo);
}

void TKONF::openDescription()
{
    if (!catalogue_.descriptionsOpen() || !commitTyped())
        return;
    if (!descriptionWindow_->isVisible())
        CentreOnScreen(*descriptionWindow_);
    descriptionWindow_->show();
    descriptionWindow_->raise();
    descriptionWindow_->activateWindow();
}

void TKONF::openMargins()
{
    marginsWindow_->showModal();
}

void TKONF::openHelp()
{
    OpenContractorHelp(ContractorHelpFile(services_.workingFolder), services_.prompt);
}

void TKONF::search(ContractorKey key, const QString &typed)
{
    if (commitTyped())
        run([&] { catalogue_.search(key, typed); });
}

void TKONF::runTool(const std::function<void()> &command)
{
    if (!command || !commitTyped())
        return;
    run([&] {
        if (catalogue_.save())
            command();
    });
    Grid->tableModel().reload();
    run([] {});
}

void TKONF::done(int result)
{
    // Typed text and the pending row are stored on the way out; nothing typed is lost.
    commitTyped();
    run([this] {
        if (catalogue_.save())
            catalogue_.leaveNewContractor();
    });
    descriptionWindow_->hide();
    QDialog::done(result);
}
