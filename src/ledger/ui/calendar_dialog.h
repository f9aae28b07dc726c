#pragma once

#include <QDate>
#include <QDialog>
#include <QPoint>
#include <optional>

class QCalendarWidget;
class QLineEdit;

// "Kalendarz": a month calendar with week numbers and, below it, "+", a day offset, "=" and the
// resulting date. Clicking a day or changing the offset gives the day plus the offset. Closing
// the window (or a double click, or Enter) takes the result; Esc leaves without a date.
// Created once and shown modally by the date buttons.
class Kalendarz final : public QDialog {
    Q_OBJECT

public:
    explicit Kalendarz(QWidget *parent = nullptr);

    // Shows the calendar on the start date with its top-left corner at the position (screen
    // coordinates; without one, in the middle of the screen); the date of the result field when
    // it closes, nothing after Esc or when the field holds no date.
    std::optional<QDate> choose(const QDate &start, std::optional<QPoint> position);
    // Where a date button puts the calendar: 5 pixels right of its left edge and 30 below its top.
    static QPoint PlaceBelow(const QWidget &button);

    QCalendarWidget *Calendar;
    QLineEdit *Offset;
    QLineEdit *Result;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void computeResult();
    std::optional<QDate> resultDate() const;
};
