#include "ledger/ui/qt_amount_range_dialog.h"

#include "base/text_format.h"
#include "widgets/window_frame.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

QtAmountRangeDialog::QtAmountRangeDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("QtAmountRangeDialog"));
    setWindowTitle(QStringLiteral("Zakres kwot"));
    setModal(true);

    From = new QLineEdit(this);
    From->setObjectName(QStringLiteral("From"));
    To = new QLineEdit(this);
    To->setObjectName(QStringLiteral("To"));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Kwota od :"), From);
    fields->addRow(QStringLiteral("Kwota do :"), To);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DialogButtons(*this, {DialogButton::Abort, DialogButton::Yes}));
}

std::optional<AmountRangeTexts> QtAmountRangeDialog::askAmounts()
{
    FocusAndSelectAll(*From);
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    const AmountRangeTexts typed{From->text(), To->text()};
    From->setText(RemoveSpaces(typed.from));
    To->setText(RemoveSpaces(typed.to));
    return typed;
}
