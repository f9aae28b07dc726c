#include "ledger/ui/qt_date_range_dialog.h"

#include "widgets/window_frame.h"
#include "ledger/ui/calendar_date_field.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

QtDateRangeDialog::QtDateRangeDialog(Kalendarz &calendar, const Clock &clock, Prompt &prompt, QWidget *parent)
    : QDialog(parent)
    , prompt_(prompt)
{
    setObjectName(QStringLiteral("QtDateRangeDialog"));
    setModal(true);

    From = new KalendarzDateField(calendar, clock, QStringLiteral("From"), this);
    To = new KalendarzDateField(calendar, clock, QStringLiteral("To"), this);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Data od :"), From);
    fields->addRow(QStringLiteral("data do :"), To);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DialogButtons(*this, {DialogButton::Abort, DialogButton::Yes}));
}

std::optional<DateRange> QtDateRangeDialog::askDates(const QString &caption, DateRange preset)
{
    if (!used_) {
        From->setDate(preset.from);
        To->setDate(preset.to);
        used_ = true;
    }
    setWindowTitle(caption);
    FocusAndSelectAll(*From->Edit);
    CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return DateRange{*From->date(), *To->date()};
}

void QtDateRangeDialog::accept()
{
    if (RequireDialogDates(prompt_, {From, To}))
        QDialog::accept();
}
