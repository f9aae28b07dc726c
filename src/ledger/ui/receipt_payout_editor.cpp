#include "ledger/ui/receipt_payout_editor.h"

#include "base/prompt.h"
#include "ledger/cash_ledger.h"
#include "ledger/contractor_lookup.h"
#include "ledger/dictionary_rules.h"
#include "ledger/document_kinds.h"
#include "ledger/document_saving.h"
#include "store/table.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString kAddressHint = QStringLiteral("Adres siedziby kontrahenta");

bool NumberIsTyped(const QString &kind)
{
    return kind == DocumentKind::KPD || kind == DocumentKind::KWD;
}

} // namespace

TKASAF1::TKASAF1(const DocumentEditorServices &services, QWidget *parent) : DocumentEditor(services, parent)
{
    setObjectName(QStringLiteral("TKASAF1"));
    buildLineGrid({
        {QStringLiteral("TYT1"), QStringLiteral("za co"), 319},
        {QStringLiteral("KWOTAP"), QStringLiteral("KWOTA"), 80},
        {QStringLiteral("KONTO"), QStringLiteral("KONTO")},
    });
    assemble(buildContractorGroup());
}

QGroupBox *TKASAF1::buildContractorGroup()
{
    ContractorGroup = new QGroupBox(QStringLiteral("Kontrahent :"), this);
    auto *grid = new QGridLayout(ContractorGroup);

    ContractorNumberEdit = headerField(QStringLiteral("ONR"), QStringLiteral("Numer kontrahenta"));
    TaxNumberEdit = headerField(QStringLiteral("ONIP"), QStringLiteral("NIP kontrahenta"));
    // A tax number pasted with spaces and dashes is taken whole and kept without them when it
    // is longer than the field.
    TaxNumberEdit->setInputCleanup([this](const QString &typed) {
        const QString text = typed.trimmed();
        return text.size() > FieldCharacterLimit(header(), QStringLiteral("ONIP")) ? TaxNumberDigits(text) : text;
    });
    Name1Edit = headerField(QStringLiteral("ONAZ1"), QStringLiteral("Pełna nazwa kontrahenta"));
    Name2Edit = headerField(QStringLiteral("ONAZ2"), QStringLiteral("Pełna nazwa kontrahenta"));
    StreetEdit = headerField(QStringLiteral("OUL"), kAddressHint);
    PostalCodeEdit = headerField(QStringLiteral("OKOD"), kAddressHint);
    TownEdit = headerField(QStringLiteral("OMIEJSC"), kAddressHint);
    SaveButton = button(QStringLiteral("Zapisz"));

    ContractorNumberEdit->setMaximumWidth(80);
    PostalCodeEdit->setMaximumWidth(80);
    grid->addWidget(new QLabel(QStringLiteral("Numer :"), ContractorGroup), 0, 0);
    grid->addWidget(ContractorNumberEdit, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("NIP"), ContractorGroup), 0, 2, Qt::AlignRight);
    grid->addWidget(TaxNumberEdit, 0, 3);
    grid->addWidget(catalogueButton(), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Nazwa :"), ContractorGroup), 1, 0);
    grid->addWidget(Name1Edit, 1, 1, 1, 4);
    grid->addWidget(Name2Edit, 2, 1, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Ulica :"), ContractorGroup), 3, 0);
    grid->addWidget(StreetEdit, 3, 1, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Kod :"), ContractorGroup), 4, 0);
    grid->addWidget(PostalCodeEdit, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Miejscowość :"), ContractorGroup), 4, 2, Qt::AlignRight);
    grid->addWidget(TownEdit, 4, 3, 1, 2);
    grid->addWidget(SaveButton, 5, 4);
    grid->setColumnStretch(3, 1);

    connect(ContractorNumberEdit, &QLineEdit::editingFinished, this,
            [this] { lookUpContractor(false, ContractorNumberEdit->text()); });
    connect(TaxNumberEdit, &QLineEdit::editingFinished, this, [this] { lookUpContractor(true, TaxNumberEdit->text()); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { saveAndRefresh(); });
    return ContractorGroup;
}

void TKASAF1::prepare()
{
    DocumentEditor::prepare();
    const bool accounts = accountsOnReport();
    LineGrid->tableModel().setColumnVisible(QStringLiteral("KONTO"), !accounts);
    LineGrid->tableModel().setPickList(QStringLiteral("TYT1"), FieldValues(tables().TSLO, QStringLiteral("NAZWA")));
    fillAccountList(accounts);
    const bool typedNumber = NumberIsTyped(header().asString(QStringLiteral("RD")));
    NumberEdit->setField(typedNumber ? QStringLiteral("A1") : QStringLiteral("DOWOD"));
    NumberEdit->setReadOnly(!typedNumber || !mayChangeDocument());
}

void TKASAF1::saveAndRefresh()
{
    saveRefreshingNumbering(false);
}

// The document itself stays either way: it was stored when it was created.
bool TKASAF1::mayClose()
{
    if (!mayChangeDocument())
        return closeKeepingChanges(); // nothing is written to a closed report's document
    if (!commitFields())
        return false;
    DocumentSaving saving(services().ledger.context());
    if (!saving.hasUnsavedChanges())
        return true;
    if (!services().prompt.askYesNo(QStringLiteral("Czy zapisać zmiany ?"), PromptIcon::Warning)) {
        saving.discardChanges();
        return true;
    }
    bool saved = false;
    try {
        saving.saveLinesAndHeader();
        saved = true;
        markSavedByUser();
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        services().prompt.error(error.message());
    }
    return saved;
}
