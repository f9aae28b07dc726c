#include "ledger/ui/qt_cash_state_date_dialog.h"

#include "widgets/window_frame.h"
#include "ledger/ui/calendar_date_field.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

QtCashStateDateDialog::QtCashStateDateDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent)
    : QDialog(parent)
    , prompt_(prompt)
{
    setObjectName(QStringLiteral("QtCashStateDateDialog"));
    setWindowTitle(QString::fromUtf8("Stan kasy na dzień"));
    setModal(true);

    Day = new KalendarzDateField(calendar, clock, QStringLiteral("Day"), this);
    auto *fields = new QFormLayout;
    fields->addRow(QString::fromUtf8("Podaj dzień"), Day);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DialogButtons(*this, {DialogButton::Abort, DialogButton::Yes}));
}

std::optional<QDate> QtCashStateDateDialog::askDay(QDate preset)
{
    Day->setDate(preset);
    FocusAndSelectAll(*Day->Edit);
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return Day->date();
}

void QtCashStateDateDialog::accept()
{
    if (RequireDialogDates(prompt_, {Day}))
        QDialog::accept();
}
