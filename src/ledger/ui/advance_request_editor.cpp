#include "ledger/ui/advance_request_editor.h"

#include "ledger/cash_ledger.h"
#include "store/table.h"
#include "widgets/table_field_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

TKASAF14::TKASAF14(const DocumentEditorServices &services, QWidget *parent) : DocumentEditor(services, parent)
{
    setObjectName(QStringLiteral("TKASAF14"));
    buildLineGrid({
        {QStringLiteral("TYT1"), QStringLiteral("Nazwa przedmiotu, materiału lub usługi "), 319},
        {QStringLiteral("KWOTAP"), QStringLiteral("KWOTA"), 80},
    });
    assemble(buildRequestGroup());
}

QGroupBox *TKASAF14::buildRequestGroup()
{
    RequestGroup = new QGroupBox(QStringLiteral("Wniosek o zaliczkę"), this);
    auto *grid = new QGridLayout(RequestGroup);
    EmployeeNumberEdit = headerField(QStringLiteral("ONR"), QStringLiteral("Numer kontrahenta"));
    EmployeeNumberEdit->setMaximumWidth(80);
    Name1Edit = headerField(QStringLiteral("ONAZ1"));
    Name2Edit = headerField(QStringLiteral("ONAZ2"));
    JobTitleEdit = headerField(QStringLiteral("A1"));
    SaveButton = button(QStringLiteral("Zapisz"));

    grid->addWidget(new QLabel(QStringLiteral("Numer :"), RequestGroup), 0, 0);
    grid->addWidget(EmployeeNumberEdit, 0, 1);
    grid->addWidget(catalogueButton(), 0, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("Imię i nazwisko :"), RequestGroup), 1, 0);
    grid->addWidget(Name1Edit, 1, 1, 1, 3);
    grid->addWidget(Name2Edit, 2, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Stanowisko :"), RequestGroup), 3, 0);
    grid->addWidget(JobTitleEdit, 3, 1, 1, 3);
    grid->addWidget(SaveButton, 4, 3, Qt::AlignRight);
    grid->setColumnStretch(3, 1);

    connect(EmployeeNumberEdit, &QLineEdit::editingFinished, this,
            [this] { lookUpContractor(false, EmployeeNumberEdit->text()); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { saveAndRefresh(); });
    return RequestGroup;
}

void TKASAF14::prepare()
{
    DocumentEditor::prepare();
    fillAccountList(true);
}

void TKASAF14::saveAndRefresh()
{
    saveRefreshingNumbering(true);
}

bool TKASAF14::mayClose()
{
    return closeKeepingChanges();
}
