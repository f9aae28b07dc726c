#include "base/clock.h"
#include "ledger/ui/calendar_dialog.h"
#include "ledger/ui/calendar_date_field.h"
#include "ledger/ui/qt_amount_range_dialog.h"
#include "ledger/ui/qt_cash_state_date_dialog.h"
#include "ledger/ui/qt_date_range_dialog.h"
#include "ledger/ui/qt_dialog_parts.h"
#include "ledger/ui/qt_month_dialog.h"
#include "ledger/ui/qt_renumber_dialogs.h"
#include "support/scripted_prompt.h"
#include "ui/modal_steps.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// How a dialog is left.
enum class Leave { Accept, Abort, Escape, Enter };

QString ButtonTexts(QWidget &window)
{
    QStringList texts;
    for (QPushButton *button : window.findChildren<QPushButton *>())
        texts << button->text();
    return texts.join(u'|');
}

QStringList LabelTexts(QWidget &window)
{
    QStringList texts;
    for (QLabel *label : window.findChildren<QLabel *>())
        texts << label->text();
    return texts;
}

void LeaveBy(QWidget &window, Leave leave, QWidget *field)
{
    switch (leave) {
    case Leave::Accept:
        for (const char *name : {"YesButton", "OkButton", "ChangeButton"})
            if (QPushButton *button = Named<QPushButton>(window, name))
                return button->click();
        return;
    case Leave::Abort: Named<QPushButton>(window, "AbortButton")->click(); return;
    case Leave::Escape: PressEscape(window); return;
    case Leave::Enter: QTest::keyClick(field, Qt::Key_Return); return;
    }
}

TEST(FormMasks, BecomeQtMasks)
{
    EXPECT_EQ(QtInputMask(QStringLiteral("!9999/99/00;1;_")), QStringLiteral("0000-00-99;_"));
    EXPECT_EQ(QtInputMask(QStringLiteral("!9999/99/99;1;_")), QStringLiteral("0000-00-00;_"));
    EXPECT_EQ(QtInputMask(QStringLiteral("9999999;1;")), QStringLiteral("0000000;_"));
    EXPECT_EQ(QtInputMask(QStringLiteral("!99999;1;_")), QStringLiteral("00000;_"));
    EXPECT_EQ(QtInputMask(QStringLiteral("9;1;_")), QStringLiteral("0;_"));
}

TEST(MonthDialog, OffersTheTwelveMonthsPresetAndReturnsTheChosenOneOnlyOnOk)
{
    QtMonthDialog dialog;
    QString preset;
    QStringList months;
    WhenModal([&](QWidget &window) {
        preset = dialog.Month->currentText();
        for (int i = 0; i < dialog.Month->count(); ++i)
            months << dialog.Month->itemText(i);
        EXPECT_EQ(ButtonTexts(window), QStringLiteral("Przerwij|OK"));
        EXPECT_TRUE(LabelTexts(window).contains(QString::fromUtf8("Miesiąc :")));
        dialog.Month->setCurrentIndex(6);
        LeaveBy(window, Leave::Accept, nullptr);
    });
    EXPECT_EQ(dialog.askMonth(QStringLiteral("03")), QStringLiteral("07"));
    EXPECT_EQ(preset, QStringLiteral("03"));
    EXPECT_EQ(months, QStringList({"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"}));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Raport miesięczny"));

    for (Leave leave : {Leave::Abort, Leave::Escape}) {
        WhenModal([&](QWidget &window) { LeaveBy(window, leave, nullptr); });
        EXPECT_EQ(dialog.askMonth(QStringLiteral("12")), std::nullopt);
    }
    WhenModal([&](QWidget &window) { LeaveBy(window, Leave::Enter, dialog.Month); });
    EXPECT_EQ(dialog.askMonth(QStringLiteral("12")), QStringLiteral("12"));
}

class DateDialogTest : public ::testing::Test {
protected:
    FixedClock clock{QDate(2019, 5, 10)};
    ScriptedPrompt prompt;
    Kalendarz calendar;
};

TEST_F(DateDialogTest, CashDayReturnsTheTypedDateOnYesOrEnterAndNothingOnAbort)
{
    QtCashStateDateDialog dialog(calendar, clock, prompt);
    struct Case {
        Leave leave;
        std::optional<QDate> result;
    };
    for (const Case &c : {Case{Leave::Accept, QDate(2019, 4, 30)}, Case{Leave::Enter, QDate(2019, 4, 30)},
                          Case{Leave::Abort, std::nullopt}, Case{Leave::Escape, std::nullopt}}) {
        QString preset;
        WhenModal([&](QWidget &window) {
            preset = dialog.Day->text();
            dialog.Day->Edit->selectAll();
            QTest::keyClicks(dialog.Day->Edit, QStringLiteral("20190430"));
            LeaveBy(window, c.leave, dialog.Day->Edit);
        });
        EXPECT_EQ(dialog.askDay(QDate(2019, 5, 10)), c.result);
        EXPECT_EQ(preset, QStringLiteral("2019-05-10"));
    }
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Stan kasy na dzień"));
    EXPECT_TRUE(LabelTexts(dialog).contains(QString::fromUtf8("Podaj dzień")));
    EXPECT_EQ(ButtonTexts(dialog), QStringLiteral("Przerwij|Tak"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(DateDialogTest, AFieldThatHoldsNoDateIsNamedAndTheDialogStaysOpen)
{
    QtCashStateDateDialog dialog(calendar, clock, prompt);
    bool stillOpen = false;
    WhenModal([&](QWidget &window) {
        dialog.Day->setText(QStringLiteral("2019-02-30"));
        LeaveBy(window, Leave::Accept, nullptr);
        stillOpen = window.isVisible();
        dialog.Day->setText(QStringLiteral("2019-02-28"));
        LeaveBy(window, Leave::Accept, nullptr);
    });
    EXPECT_EQ(dialog.askDay(QDate(2019, 5, 10)), QDate(2019, 2, 28));
    EXPECT_TRUE(stillOpen);
    prompt.shownOnce(QString::fromUtf8("Nieprawidłowa data : 2019-02-30"));
}

TEST_F(DateDialogTest, DateRangeStartsFromThePresetOnceAndThenKeepsTheLastDates)
{
    QtDateRangeDialog dialog(calendar, clock, prompt);
    const DateRange preset{QDate(2019, 5, 1), QDate(2019, 5, 10)};
    QStringList shown;
    WhenModal([&](QWidget &window) {
        shown = QStringList{dialog.From->text(), dialog.To->text()};
        dialog.To->setText(QStringLiteral("2019-05-31"));
        LeaveBy(window, Leave::Accept, nullptr);
    });
    const std::optional<DateRange> chosen = dialog.askDates(QStringLiteral("Wpłaty KP za okres"), preset);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->from, QDate(2019, 5, 1));
    EXPECT_EQ(chosen->to, QDate(2019, 5, 31));
    EXPECT_EQ(shown, QStringList({"2019-05-01", "2019-05-10"}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Wpłaty KP za okres"));

    QString caption;
    WhenModal([&](QWidget &window) {
        shown = QStringList{dialog.From->text(), dialog.To->text()};
        caption = window.windowTitle();
        dialog.From->setText(QStringLiteral("2019-04-01"));
        LeaveBy(window, Leave::Escape, nullptr);
    });
    EXPECT_FALSE(dialog.askDates(QStringLiteral("Historia kontrahenta"), preset));
    EXPECT_EQ(shown, QStringList({"2019-05-01", "2019-05-31"}));
    EXPECT_EQ(caption, QStringLiteral("Historia kontrahenta"));

    const QStringList labels = LabelTexts(dialog);
    EXPECT_TRUE(labels.contains(QStringLiteral("Data od :")) && labels.contains(QStringLiteral("data do :")));
    EXPECT_EQ(ButtonTexts(dialog), QStringLiteral("Przerwij|Tak"));
}

TEST(AmountRangeDialog, ReturnsTheTypedTextsOnYesAndKeepsThemWithoutSpaces)
{
    QtAmountRangeDialog dialog;
    QStringList shown{"x", "x"};
    WhenModal([&](QWidget &window) {
        shown = QStringList{dialog.From->text(), dialog.To->text()};
        QTest::keyClicks(dialog.From, QStringLiteral("1 000,50"));
        LeaveBy(window, Leave::Enter, dialog.From);
    });
    const std::optional<AmountRangeTexts> typed = dialog.askAmounts();
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->from, QStringLiteral("1 000,50"));
    EXPECT_EQ(typed->to, QString());
    EXPECT_EQ(shown, QStringList({"", ""}));

    WhenModal([&](QWidget &window) {
        shown = QStringList{dialog.From->text(), dialog.To->text()};
        LeaveBy(window, Leave::Abort, nullptr);
    });
    EXPECT_FALSE(dialog.askAmounts());
    EXPECT_EQ(shown, QStringList({"1000,50", ""}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zakres kwot"));
    const QStringList labels = LabelTexts(dialog);
    EXPECT_TRUE(labels.contains(QStringLiteral("Kwota od :")) && labels.contains(QStringLiteral("Kwota do :")));
}

TEST(RenumberDialog, ReturnsWhatTheFieldHoldsHoweverItCloses)
{
    QtRenumberDialog dialog;
    for (Leave leave : {Leave::Accept, Leave::Enter, Leave::Escape}) {
        QString preset;
        WhenModal([&](QWidget &window) {
            preset = dialog.Number->text();
            QTest::qWait(20);
            QTest::keyClicks(dialog.Number, QStringLiteral("4a"));
            LeaveBy(window, leave, dialog.Number);
        });
        EXPECT_EQ(dialog.askStartNumber(65), QStringLiteral("4"));
        EXPECT_EQ(preset, QStringLiteral("65"));
    }
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Przenumerowanie"));
    EXPECT_TRUE(LabelTexts(dialog).contains(QString::fromUtf8("Podaj numer dokumentu od kórego rozpocząć przenumerowanie:")));
    EXPECT_EQ(ButtonTexts(dialog), QStringLiteral("OK"));
}

TEST(NumberChangeDialog, ReturnsTheNewNumberOnlyAfterZmien)
{
    QtNumberChangeDialog dialog;
    struct Case {
        Leave leave;
        std::optional<QString> result;
    };
    for (const Case &c : {Case{Leave::Accept, QStringLiteral("7")}, Case{Leave::Enter, QStringLiteral("7")},
                          Case{Leave::Abort, std::nullopt}, Case{Leave::Escape, std::nullopt}}) {
        QString preset;
        WhenModal([&](QWidget &window) {
            preset = dialog.Number->text();
            QTest::qWait(20); // the proposed number gets selected: typing replaces it
            QTest::keyClicks(dialog.Number, QStringLiteral("7"));
            LeaveBy(window, c.leave, dialog.Number);
        });
        EXPECT_EQ(dialog.askNewNumber(15), c.result);
        EXPECT_EQ(preset, QStringLiteral("15"));
    }
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zmiana numeru dokumentu :"));
    // Wide enough for its whole caption.
    EXPECT_GT(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()));
    EXPECT_TRUE(LabelTexts(dialog).contains(QStringLiteral("Podaj nowy numer dokumentu :")));
    EXPECT_EQ(ButtonTexts(dialog), QString::fromUtf8("Przerwij|Zmień"));
}

} // namespace
