#include "ledger/ui/calendar_dialog.h"

#include "widgets/window_frame.h"
#include "ledger/calendar_arithmetic.h"
#include "ledger/ui/qt_dialog_parts.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>


Kalendarz::Kalendarz(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Kalendarz"));
    setWindowTitle(QStringLiteral("Kalendarz"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    Calendar = new QCalendarWidget(this);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    Calendar->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    Calendar->setFirstDayOfWeek(Qt::Monday);
    Calendar->setGridVisible(true);

    Offset = new QLineEdit(this);
    Offset->setObjectName(QStringLiteral("Offset"));
    Offset->setMaximumWidth(60);
    Result = MaskedLineEdit(QStringLiteral("!9999/99/99;1;_"), QStringLiteral("Result"), this);

    auto *sum = new QHBoxLayout;
    sum->addWidget(new QLabel(QStringLiteral("+"), this));
    sum->addWidget(Offset);
    sum->addWidget(new QLabel(QStringLiteral("="), this));
    sum->addWidget(Result, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Calendar);
    layout->addLayout(sum);

    connect(Calendar, &QCalendarWidget::clicked, this, &Kalendarz::computeResult);
    connect(Calendar, &QCalendarWidget::selectionChanged, this, &Kalendarz::computeResult);
    connect(Calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    connect(Offset, &QLineEdit::textChanged, this, &Kalendarz::computeResult);
    connect(Offset, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(Result, &QLineEdit::returnPressed, this, &QDialog::accept);
}

std::optional<QDate> Kalendarz::choose(const QDate &start, std::optional<QPoint> position)
{
    Calendar->setSelectedDate(start);
    Offset->clear();
    computeResult();
    Calendar->setFocus();
    if (position)
        move(*position);
    else
        CentreOnScreen(*this);
    if (exec() != Accepted)
        return std::nullopt;
    return resultDate();
}

QPoint Kalendarz::PlaceBelow(const QWidget &button)
{
    return button.mapToGlobal(QPoint(5, 30));
}

void Kalendarz::closeEvent(QCloseEvent *event)
{
    // The window has no OK button: closing it takes the date shown.
    event->accept();
    accept();
}

void Kalendarz::computeResult()
{
    Result->setText(CalendarResultText(Calendar->selectedDate(), Offset->text()));
}

std::optional<QDate> Kalendarz::resultDate() const
{
    const QDate date = QDate::fromString(Result->text(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return date;
}
