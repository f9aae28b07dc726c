#include "widgets/progress_window.h"

#include "support/qt_printers.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

TEST(TPRACA, StartShowsTheTitleAndAnEmptyGaugeThatStopEmptiesAgain)
{
    TPRACA window;
    EXPECT_EQ(window.windowTitle(), "Postęp ...");
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);

    window.pasek->setRange(5, 50);
    window.pasek->setValue(20);
    window.Start("Archiwowanie", 3);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.Etytul->text(), "Archiwowanie");
    EXPECT_EQ(window.pasek->minimum(), 0);
    EXPECT_EQ(window.pasek->maximum(), 3);
    EXPECT_EQ(window.pasek->value(), 0);

    window.Postep();
    window.Postep();
    EXPECT_EQ(window.pasek->value(), 2);
    window.Postep();
    window.Postep();  // one step too many stays at the end
    EXPECT_EQ(window.pasek->value(), 3);

    window.Stop();
    EXPECT_EQ(window.pasek->value(), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST(TPRACA, KeepsItsSizeBetweenTitles)
{
    TPRACA window;
    window.Start("Krótki", 10);
    const QSize size = window.size();
    window.Start(QString(200, u'x'), 10);
    EXPECT_EQ(window.size(), size);
    window.Stop();
}

// While work runs the program keeps answering between steps (a timer fires, the gauge paints),
// but the user's clicks and keys reach no window, so no other command can start; after Stop
// they do again.
TEST(TPRACA, LetsEventsThroughBetweenStepsButHoldsOffTheUsersInput)
{
    QPushButton other(QStringLiteral("Inna komenda"));
    other.show();
    int clicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++clicks; });

    TPRACA window;
    window.Start("Raport", 1000);
    bool timerFired = false;
    QTimer::singleShot(0, [&] { timerFired = true; });
    QTest::mouseClick(&other, Qt::LeftButton);
    QTest::keyClick(&other, Qt::Key_Space);
    QThread::msleep(120);
    window.Postep();
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(clicks, 0);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());

    // A message the work shows on its way is answered as usual.
    QDialog message;
    message.setModal(true);
    auto *answer = new QPushButton(QStringLiteral("OK"), &message);
    int answers = 0;
    QObject::connect(answer, &QPushButton::clicked, [&] { ++answers; });
    message.show();
    QTest::mouseClick(answer, Qt::LeftButton);
    EXPECT_EQ(answers, 1);
    message.hide();

    window.Stop();
    EXPECT_FALSE(window.isVisible());
    QTest::mouseClick(&other, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
