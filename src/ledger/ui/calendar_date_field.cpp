#include "ledger/ui/calendar_date_field.h"

#include "base/clock.h"
#include "base/prompt.h"
#include "ledger/calendar_arithmetic.h"
#include "ledger/ui/calendar_dialog.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {

const QString kFieldDateFormat = QStringLiteral("yyyy-MM-dd");

} // namespace

KalendarzDateField::KalendarzDateField(Kalendarz &calendar, const Clock &clock, const QString &objectName,
                                       QWidget *parent)
    : QWidget(parent)
    , calendar_(calendar)
    , clock_(clock)
{
    setObjectName(objectName);
    Edit = MaskedLineEdit(QStringLiteral("!9999/99/00;1;_"), objectName + QStringLiteral("Edit"), this);
    Edit->setMinimumWidth(Edit->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00__")));
    CalendarButton = new QToolButton(this);
    CalendarButton->setObjectName(objectName + QStringLiteral("Button"));
    CalendarButton->setText(QStringLiteral("..."));
    CalendarButton->setToolTip(QStringLiteral("Kalendarz"));
    CalendarButton->setFocusPolicy(Qt::NoFocus);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Edit, 1);
    layout->addWidget(CalendarButton);

    connect(CalendarButton, &QToolButton::clicked, this, &KalendarzDateField::openCalendar);
}

QString KalendarzDateField::text() const
{
    return Edit->text();
}

void KalendarzDateField::setText(const QString &text)
{
    Edit->setText(text);
}

std::optional<QDate> KalendarzDateField::date() const
{
    const QDate date = QDate::fromString(text().trimmed(), kFieldDateFormat);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

void KalendarzDateField::setDate(QDate date)
{
    setText(date.toString(kFieldDateFormat));
}

void KalendarzDateField::openCalendar()
{
    const QDate start = CalendarStartDate(text(), clock_.today());
    if (const std::optional<QDate> chosen = calendar_.choose(start, Kalendarz::PlaceBelow(*CalendarButton)))
        setDate(*chosen);
}

bool RequireDialogDates(Prompt &prompt, std::initializer_list<KalendarzDateField *> fields)
{
    for (KalendarzDateField *field : fields) {
        if (field->date())
            continue;
        prompt.warning(QString::fromUtf8("Nieprawidłowa data : ") + field->text());
        field->Edit->setFocus();
        return false;
    }
    return true;
}
