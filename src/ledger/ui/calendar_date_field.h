#pragma once

#include <QDate>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <optional>

class Clock;
class Kalendarz;
class Prompt;
class QLineEdit;
class QToolButton;

// A date field of the small dialogs (edit mask "!9999/99/00;1;_", shown as yyyy-mm-dd) with its
// calendar button. The button opens the calendar at the field's date (today when the field holds
// no date) just below itself and writes the chosen date back.
class KalendarzDateField final : public QWidget {
    Q_OBJECT

public:
    KalendarzDateField(Kalendarz &calendar, const Clock &clock, const QString &objectName, QWidget *parent);

    QString text() const;
    void setText(const QString &text);
    // The field's date, when it holds a valid one.
    std::optional<QDate> date() const;
    void setDate(QDate date);

    QLineEdit *Edit;
    QToolButton *CalendarButton;

private:
    void openCalendar();

    Kalendarz &calendar_;
    const Clock &clock_;
};

// True when every field holds a date. Otherwise the first field that does not gets the focus
// after the warning "Nieprawidłowa data : " + its text.
bool RequireDialogDates(Prompt &prompt, std::initializer_list<KalendarzDateField *> fields);
