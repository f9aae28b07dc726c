#include "ledger/ui/calendar_dialog.h"

#include "base/clock.h"
#include "ledger/ui/calendar_date_field.h"
#include "ledger/ui/qt_cash_state_date_dialog.h"
#include "support/scripted_prompt.h"
#include "ui/modal_steps.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Clicks the day of the month the calendar shows.
void ClickDay(QCalendarWidget &calendar, int day)
{
    auto *view = calendar.findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(view, nullptr);
    const QAbstractItemModel *model = view->model();
    // Days 14 to 22 are shown once only, whatever the month.
    ASSERT_TRUE(day >= 14 && day <= 22);
    for (int row = 1; row < model->rowCount(); ++row) {
        for (int column = 1; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (index.data().toString() == QString::number(day)) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
                return;
            }
        }
    }
    FAIL() << "day not shown";
}

class KalendarzTest : public ::testing::Test {
protected:
    Kalendarz calendar;
};

TEST_F(KalendarzTest, ResultIsTheDayPlusTheOffsetAndClosingTakesIt)
{
    struct Case {
        const char *offset;
        const char *result;
    };
    for (const Case &c : {Case{"5", "2019-02-04"}, Case{"abc", "2019-01-30"}}) {
        QString shownOnOpen;
        WhenModal([&](QWidget &window) {
            shownOnOpen = calendar.Result->text();
            QTest::keyClicks(calendar.Offset, QString::fromLatin1(c.offset));
            window.close();
        });
        const std::optional<QDate> chosen = calendar.choose(QDate(2019, 1, 30), QPoint(10, 10));
        EXPECT_EQ(shownOnOpen, QStringLiteral("2019-01-30"));
        EXPECT_EQ(calendar.Result->text(), QString::fromLatin1(c.result)) << c.offset;
        EXPECT_EQ(chosen, QDate::fromString(QString::fromLatin1(c.result), Qt::ISODate)) << c.offset;
    }
}

TEST_F(KalendarzTest, AClickedDayIsChosenWithTheOffsetEnteredBefore)
{
    WhenModal([&](QWidget &window) {
        ClickDay(*calendar.Calendar, 20);
        window.close();
    });
    EXPECT_EQ(calendar.choose(QDate(2019, 3, 5), QPoint(10, 10)), QDate(2019, 3, 20));

    WhenModal([&](QWidget &) {
        QTest::keyClicks(calendar.Offset, QStringLiteral("3"));
        ClickDay(*calendar.Calendar, 14);
        QTest::keyClick(calendar.Offset, Qt::Key_Return);
    });
    EXPECT_EQ(calendar.choose(QDate(2019, 3, 5), QPoint(10, 10)), QDate(2019, 3, 17));
}

TEST_F(KalendarzTest, EscapeOrAResultThatIsNoDateChoosesNothing)
{
    WhenModal([](QWidget &window) { PressEscape(window); });
    EXPECT_EQ(calendar.choose(QDate(2019, 3, 5), QPoint(10, 10)), std::nullopt);

    WhenModal([&](QWidget &window) {
        calendar.Result->setText(QStringLiteral("2019-02-30"));
        window.close();
    });
    EXPECT_EQ(calendar.choose(QDate(2019, 3, 5), QPoint(10, 10)), std::nullopt);
}

TEST_F(KalendarzTest, OpensWithAnEmptyOffsetAtTheGivenPlaceWithWeekNumbers)
{
    QPoint shownAt;
    WhenModal([&](QWidget &window) {
        shownAt = window.pos();
        PressEscape(window);
    });
    calendar.Offset->setText(QStringLiteral("7"));
    calendar.choose(QDate(2019, 3, 5), QPoint(120, 80));

    EXPECT_EQ(shownAt, QPoint(120, 80));
    EXPECT_TRUE(calendar.Offset->text().isEmpty());
    EXPECT_EQ(calendar.Calendar->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
    EXPECT_EQ(calendar.windowTitle(), QStringLiteral("Kalendarz"));
}

// The date buttons of the dialogs open the calendar below themselves on the field's date (today
// when the field holds none) and write the chosen date back.
TEST_F(KalendarzTest, ADateButtonOpensTheCalendarOnItsFieldAndTakesTheChosenDate)
{
    FixedClock clock(QDate(2019, 5, 10));
    ScriptedPrompt prompt;
    QtCashStateDateDialog dialog(calendar, clock, prompt);
    struct Case {
        const char *typed;
        QDate calendarStart;
    };
    for (const Case &c : {Case{"2019-03-18", QDate(2019, 3, 18)}, Case{"2019-13-01", QDate(2019, 5, 10)}}) {
        QDate startShown;
        QPoint placed;
        QPoint expectedPlace;
        WhenModal([&](QWidget &dialogWindow) {
            Named<QLineEdit>(dialogWindow, "DayEdit")->setText(QString::fromLatin1(c.typed));
            WhenModal([&](QWidget &calendarWindow) {
                startShown = calendar.Calendar->selectedDate();
                placed = calendarWindow.pos();
                expectedPlace = dialog.Day->CalendarButton->mapToGlobal(QPoint(5, 30));
                QTest::keyClicks(calendar.Offset, QStringLiteral("2"));
                calendarWindow.close();
            });
            dialog.Day->CalendarButton->click();
            PressEscape(dialogWindow);
        });
        dialog.askDay(QDate(2019, 5, 10));

        EXPECT_EQ(startShown, c.calendarStart) << c.typed;
        EXPECT_EQ(placed, expectedPlace);
        EXPECT_EQ(dialog.Day->date(), c.calendarStart.addDays(2)) << c.typed;
    }
}

TEST_F(KalendarzTest, EscapeInTheCalendarLeavesTheFieldAsItWas)
{
    FixedClock clock(QDate(2019, 5, 10));
    ScriptedPrompt prompt;
    QtCashStateDateDialog dialog(calendar, clock, prompt);
    WhenModal([&](QWidget &dialogWindow) {
        WhenModal([](QWidget &calendarWindow) { PressEscape(calendarWindow); });
        dialog.Day->CalendarButton->click();
        PressEscape(dialogWindow);
    });
    dialog.askDay(QDate(2019, 4, 1));
    EXPECT_EQ(dialog.Day->text(), QStringLiteral("2019-04-01"));
}

} // namespace
