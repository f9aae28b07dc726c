#include "ledger/ui/qt_month_dialog.h"

#include "widgets/window_frame.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

QtMonthDialog::QtMonthDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("QtMonthDialog"));
    setWindowTitle(QString::fromUtf8("Raport miesięczny"));
    setModal(true);

    Month = new QComboBox(this);
    Month->setObjectName(QStringLiteral("Month"));
    for (int month = 1; month <= 12; ++month)
        Month->addItem(QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0')));

    auto *fields = new QFormLayout;
    fields->addRow(QString::fromUtf8("Miesiąc :"), Month);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DialogButtons(*this, {DialogButton::Abort, DialogButton::Ok}));
    setFixedSize(sizeHint().expandedTo(QSize(240, 0)));
}

std::optional<QString> QtMonthDialog::askMonth(const QString &presetMonth)
{
    const int preset = Month->findText(presetMonth);
    Month->setCurrentIndex(preset >= 0 ? preset : 0);
    Month->setFocus();
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return Month->currentText();
}
