#include "ledger/ui/qt_cash_day_dialog.h"

#include "app/ui/window_frame.h"
#include "ledger/ui/kalendarz_date_field.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

QtCashDayDialog::QtCashDayDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent)
    : QDialog(parent)
    , prompt_(prompt)
{
    setObjectName(QStringLiteral("QtCashDayDialog"));
    setWindowTitle(QString::fromUtf8("Stan kasy na dzień"));
    setModal(true);

    Day = new KalendarzDateField(calendar, clock, QStringLiteral("Day"), this);
    auto *fields = new QFormLayout;
    fields->addRow(QString::fromUtf8("Podaj dzień"), Day);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DialogButtons(*this, {DialogButton::Abort, DialogButton::Yes}));
}

std::optional<QString> QtCashDayDialog::askDay(const QString &presetDate)
{
    Day->setText(presetDate);
    Day->Edit->setFocus();
    Day->Edit->selectAll();
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return Day->text();
}

void QtCashDayDialog::accept()
{
    if (RequireDialogDates(prompt_, {Day}))
        QDialog::accept();
}
