#include "contractors/ui/contractor_number_dialog.h"

#include "ledger/ui/qt_dialog_parts.h"
#include "widgets/window_frame.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

ContractorNumberDialog::ContractorNumberDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ContractorNumberDialog"));
    setWindowTitle(QStringLiteral("Zmiana numeru kontrahenta :"));
    setModal(true);
    Number = MaskedLineEdit(QStringLiteral("!99999;1;_"), QStringLiteral("Number"), this);
    Number->setMinimumWidth(Number->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Podaj nowy numer kontrahenta :"), this));
    layout->addWidget(Number, 0, Qt::AlignLeft);
    layout->addWidget(DialogButtons(*this, {DialogButton::Abort, DialogButton::Change}));
    // Wide enough for the whole caption.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 140);
}

std::optional<QString> ContractorNumberDialog::askNewNumber(int currentNumber)
{
    Number->setText(QString::number(currentNumber));
    FocusAndSelectAll(*Number);
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return Number->text();
}
