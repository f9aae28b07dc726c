#include "ledger/ui/settlement_editor.h"

#include "ledger/cash_ledger.h"
#include "ledger/document_kinds.h"
#include "ledger/document_saving.h"
#include "store/table.h"
#include "widgets/table_field_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

QString SettlementLabel(const QString &sign)
{
    return sign == kSettlementReturn ? QStringLiteral("Do zwrotu :") : QStringLiteral("Do wypłaty :");
}

} // namespace

TKASAF11::TKASAF11(const DocumentEditorServices &services, QWidget *parent) : DocumentEditor(services, parent)
{
    setObjectName(QStringLiteral("TKASAF11"));
    buildLineGrid({
        {QStringLiteral("TYT1"), QStringLiteral("Zestawienie wydatków (dokumentów)"), 319},
        {QStringLiteral("KWOTAP"), QStringLiteral("KWOTA"), 80},
        {QStringLiteral("KONTO"), QStringLiteral("KONTO")},
    });
    assemble(buildAdvanceGroup());
}

QGroupBox *TKASAF11::buildAdvanceGroup()
{
    AdvanceGroup = new QGroupBox(QStringLiteral("Zaliczka :"), this);
    auto *grid = new QGridLayout(AdvanceGroup);
    AdvanceNumberEdit = headerField(QStringLiteral("OMIEJSC"));
    AdvanceDateEdit = headerField(QStringLiteral("OUL"));
    TakenByEdit = headerField(QStringLiteral("ONAZ1"));
    AdvanceAmountEdit = headerField(QStringLiteral("L1"));
    ExpensesEdit = shownOnly(headerField(QStringLiteral("KWOTAP")));
    ResultLabel = new QLabel(QStringLiteral("Do zwrotu :"), AdvanceGroup);
    ResultEdit = shownOnly(headerField(QStringLiteral("KWOTA")));
    AttachmentsEdit = headerField(QStringLiteral("ONR"));
    SaveButton = button(QStringLiteral("Zapisz i zamknij"));
    for (TableFieldEdit *amount : {AdvanceAmountEdit, ExpensesEdit, ResultEdit}) {
        amount->setAlignment(Qt::AlignRight);
        amount->setFixedWidth(std::max(120, WidestAmountWidth(amount->fontMetrics()) + 16));
    }
    AttachmentsEdit->setMaximumWidth(60);

    grid->addWidget(new QLabel(QStringLiteral("Numer dokumentu KW :"), AdvanceGroup), 0, 0);
    grid->addWidget(AdvanceNumberEdit, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data dokumentu KW :"), AdvanceGroup), 1, 0);
    grid->addWidget(AdvanceDateEdit, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Pobranej przez :"), AdvanceGroup), 2, 0);
    grid->addWidget(TakenByEdit, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("zaliczka :"), AdvanceGroup), 0, 2, Qt::AlignRight);
    grid->addWidget(AdvanceAmountEdit, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("wydatki :"), AdvanceGroup), 1, 2, Qt::AlignRight);
    grid->addWidget(ExpensesEdit, 1, 3);
    grid->addWidget(ResultLabel, 3, 2, Qt::AlignRight);
    grid->addWidget(ResultEdit, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("ilość załącz.:"), AdvanceGroup), 3, 0);
    grid->addWidget(AttachmentsEdit, 3, 1, Qt::AlignLeft);
    grid->addWidget(SaveButton, 4, 3, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(SaveButton, &QPushButton::clicked, this, [this] { saveAndClose(); });
    return AdvanceGroup;
}

void TKASAF11::prepare()
{
    DocumentEditor::prepare();
    showSettlementLabel(SettlementLabel(header().asString(QStringLiteral("OKOD"))));
    fillAccountList(accountsOnReport());
}

void TKASAF11::showSettlementLabel(const QString &label)
{
    ResultLabel->setText(label);
}

void TKASAF11::saveAndClose()
{
    saveThenClose([this] { DocumentSaving(services().ledger.context()).saveWithFirstLineText(); });
}

bool TKASAF11::mayClose()
{
    return closeKeepingChanges();
}
