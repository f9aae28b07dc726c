#include "widgets/tpraca.h"

#include "support/qt_printers.h"

#include <QLabel>
#include <QProgressBar>
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
