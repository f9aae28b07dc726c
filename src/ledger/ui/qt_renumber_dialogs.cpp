#include "ledger/ui/qt_renumber_dialogs.h"

#include "widgets/window_frame.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The prompt above the number field, and the buttons below it.
void LayOutNumberDialog(QDialog &dialog, const QString &prompt, QLineEdit *number, QWidget *buttons)
{
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(prompt, &dialog));
    layout->addWidget(number, 0, Qt::AlignLeft);
    layout->addWidget(buttons);
    number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
}

void ShowNumber(QLineEdit &field, int number)
{
    field.setText(QString::number(number));
    FocusAndSelectAll(field);
}

} // namespace

QtRenumberDialog::QtRenumberDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("QtRenumberDialog"));
    setWindowTitle(QStringLiteral("Przenumerowanie"));
    setModal(true);
    Number = MaskedLineEdit(QStringLiteral("9999999;1;"), QStringLiteral("Number"), this);
    LayOutNumberDialog(*this, QString::fromUtf8("Podaj numer dokumentu od kórego rozpocząć przenumerowanie:"), Number,
                       DialogButtons(*this, {DialogButton::Ok}));
}

QString QtRenumberDialog::askStartNumber(int presetNumber)
{
    ShowNumber(*Number, presetNumber);
    CentreOnScreen(*this);
    exec();
    return Number->text();
}

QtNumberChangeDialog::QtNumberChangeDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("QtNumberChangeDialog"));
    setWindowTitle(QStringLiteral("Zmiana numeru dokumentu :"));
    setModal(true);
    Number = MaskedLineEdit(QStringLiteral("!99999;1;_"), QStringLiteral("Number"), this);
    LayOutNumberDialog(*this, QStringLiteral("Podaj nowy numer dokumentu :"), Number,
                       DialogButtons(*this, {DialogButton::Abort, DialogButton::Change}));
}

std::optional<QString> QtNumberChangeDialog::askNewNumber(int currentNumber)
{
    ShowNumber(*Number, currentNumber);
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return Number->text();
}
