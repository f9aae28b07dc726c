#include "contractors/ui/contractor_description_window.h"

#include "base/prompt.h"
#include "contractors/ui/contractor_help.h"
#include "contractors/ui/table_field_memo.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_edit_helpers.h"
#include "widgets/table_field_edit.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QStringList ProvinceNames()
{
    return {QStringLiteral("DOLNOŚLĄSKIE"),   QStringLiteral("KUJAWSKO-POMORSKIE"), QStringLiteral("LUBELSKIE"),
            QStringLiteral("LUBUSKIE"),       QStringLiteral("ŁÓDZKIE"),            QStringLiteral("MAŁOPOLSKIE"),
            QStringLiteral("MAZOWIECKIE"),    QStringLiteral("OPOLSKIE"),           QStringLiteral("PODKARPACKIE"),
            QStringLiteral("PODLASKIE"),      QStringLiteral("POMORSKIE"),          QStringLiteral("ŚLĄSKIE"),
            QStringLiteral("ŚWIĘTOKRZYSKIE"), QStringLiteral("WARMIŃSKO-MAZURSKIE"), QStringLiteral("WIELKOPOLSKIE"),
            QStringLiteral("ZACHODNIO-POMORSKIE")};
}

ContractorDescriptionWindow::ContractorDescriptionWindow(Table &contractors, Table &descriptions, Prompt &prompt,
                                                         const QString &helpFile, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , contractors_(contractors)
    , descriptions_(descriptions)
    , prompt_(prompt)
    , helpFile_(helpFile)
{
    setObjectName(QStringLiteral("ContractorDescriptionWindow"));
    setWindowTitle(QStringLiteral("Opis kontrahenta"));

    const auto shown = [this](Table &table, const char *field, const char *name) {
        auto *edit = new TableFieldEdit(table, QString::fromLatin1(field), this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setPrompt(&prompt_);
        return edit;
    };
    NumberEdit = shown(contractors_, "NR", "NumberEdit");
    NumberEdit->setReadOnly(true);
    ShortNameEdit = shown(contractors_, "SKROT", "ShortNameEdit");
    ShortNameEdit->setReadOnly(true);

    const auto described = [&](const char *field, const char *name) {
        TableFieldEdit *edit = shown(descriptions_, field, name);
        bindings_.append(edit);
        return edit;
    };
    DescriptionEdit = new TableFieldMemo(descriptions_, QStringLiteral("OPIS"), this);
    DescriptionEdit->setObjectName(QStringLiteral("DescriptionEdit"));
    DescriptionEdit->setPrompt(&prompt_);
    bindings_.append(DescriptionEdit);
    RegonEdit = described("REGPES", "RegonEdit");
    Phone1Edit = described("Tel1", "Phone1Edit");
    Phone2Edit = described("Tel2", "Phone2Edit");
    FaxEdit = described("FAX", "FaxEdit");
    EmailEdit = described("EMAIL", "EmailEdit");
    WebEdit = described("WWW", "WebEdit");
    ContactEdit = described("OSKONT", "ContactEdit");
    InvoiceReceiverEdit = described("OSVAT", "InvoiceReceiverEdit");
    ResponsibleEdit = described("OSODP", "ResponsibleEdit");
    ProvinceCombo = new TableFieldCombo(descriptions_, QStringLiteral("Wojew"), this);
    ProvinceCombo->setObjectName(QStringLiteral("ProvinceCombo"));
    ProvinceCombo->setPrompt(&prompt_);
    ProvinceCombo->setEntries(ProvinceNames());
    bindings_.append(ProvinceCombo);

    auto *grid = new QGridLayout;
    int row = 0;
    const auto line = [&](const QString &label, QWidget *field, QWidget *second = nullptr) {
        grid->addWidget(new QLabel(label, this), row, 0);
        if (second) {
            auto *pair = new QHBoxLayout;
            pair->addWidget(field);
            pair->addWidget(second);
            grid->addLayout(pair, row, 1);
        } else {
            grid->addWidget(field, row, 1);
        }
        ++row;
    };
    NumberEdit->setMaximumWidth(NumberEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    line(QStringLiteral("Kontrahent"), NumberEdit, ShortNameEdit);
    line(QStringLiteral("Opis"), DescriptionEdit);
    line(QStringLiteral("Regon/Pesel\nlub nr oświadczenia VAT"), RegonEdit);
    line(QStringLiteral("Telefon"), Phone1Edit, Phone2Edit);
    line(QStringLiteral("Fax"), FaxEdit);
    line(QStringLiteral("E-mail"), EmailEdit);
    line(QStringLiteral("WWW"), WebEdit);
    line(QStringLiteral("Osoba kontaktowa"), ContactEdit);
    line(QStringLiteral("Osoba odbierająca fakturę"), InvoiceReceiverEdit);
    line(QStringLiteral("Osoba odpowiedzialna"), ResponsibleEdit);
    line(QStringLiteral("Województwo"), ProvinceCombo);
    DescriptionEdit->setMinimumHeight(DescriptionEdit->fontMetrics().lineSpacing() * 4 + 12);

    PriorButton = new QPushButton(QStringLiteral("Poprzedni"), this);
    PriorButton->setObjectName(QStringLiteral("PriorButton"));
    NextButton = new QPushButton(QStringLiteral("Następny"), this);
    NextButton->setObjectName(QStringLiteral("NextButton"));
    connect(PriorButton, &QPushButton::clicked, this, [this] { moveToPrior(); });
    connect(NextButton, &QPushButton::clicked, this, [this] { moveToNext(); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PriorButton);
    buttons->addWidget(NextButton);
    buttons->addStretch();

    auto *help = new QAction(QStringLiteral("Pomoc"), this);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, [this] { openHelp(); });
    addAction(help);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
}

bool ContractorDescriptionWindow::store()
{
    if (!descriptions_.isOpen())
        return true;
    for (FieldBinding *binding : bindings_)
        if (!binding->commit())
            return false;
    try {
        return PostAndFlush(descriptions_, prompt_);
    } catch (const Abort &) {
    }
    return false;
}

void ContractorDescriptionWindow::move(bool forward)
{
    if (!store() || !contractors_.isOpen())
        return;
    try {
        if (forward)
            contractors_.next();
        else
            contractors_.prior();
    } catch (const Abort &) {
    } catch (const EngineError &error) {
        prompt_.error(error.message());
    }
}

void ContractorDescriptionWindow::moveToPrior()
{
    move(false);
}

void ContractorDescriptionWindow::moveToNext()
{
    move(true);
}

void ContractorDescriptionWindow::openHelp()
{
    OpenContractorHelp(helpFile_, prompt_);
}

void ContractorDescriptionWindow::hideEvent(QHideEvent *event)
{
    store();
    QWidget::hideEvent(event);
}

void ContractorDescriptionWindow::showOnly()
{
    SetBoundControlsReadOnly(bindings_);
}
