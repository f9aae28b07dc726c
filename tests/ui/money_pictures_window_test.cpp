#include "main_window_fixture.h"

#include "app/ui/money_pictures_wiring.h"
#include "print/ui/money_pictures_window.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>

namespace {

// "Wykresy" from the listings' menu: the three pictures of desk K1's money in 2019 (opening
// balance 1000, a KP of 100 and a KW of 30 in March), and the picture saved as PDF and PNG.
TEST_F(MainWindowTest, WykresyShowsTheDesksMoneyAndSavesThePicture)
{
    addDesk("K1");
    addReport("K1", 1, Amount("1000"));
    addDocument("K1", 1, "KP", 1, Amount("100"), {}, "2019.03.10");
    addDocument("K1", 1, "KW", 1, Amount("30"), {}, "2019.03.12");
    start();
    WireMoneyPictures(window->externalCommands(), *ledger, state, [&] { return static_cast<QWidget *>(window.get()); });
    window->updateCommandAvailability();
    QAction *entry = nullptr;
    for (QAction *action : window->ListingMenu->actions())
        if (action->text() == QStringLiteral("Wykresy"))
            entry = action;
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());

    QTemporaryDir dir;
    withModal<MoneyPicturesWindow>([&] { entry->trigger(); }, [&](MoneyPicturesWindow &pictures) {
        EXPECT_EQ(pictures.windowTitle(), QStringLiteral("Wykresy"));
        EXPECT_EQ(pictures.DeskChoice->currentText().left(2), QStringLiteral("K1"));
        ASSERT_EQ(pictures.shownSeries().size(), 1);
        EXPECT_EQ(pictures.shownSeries()[0].second, QList<Money>{Amount("1070")});
        EXPECT_EQ(pictures.ChartView->chart()->title(), QStringLiteral("Stan kasy K1 w roku 2019"));

        pictures.PictureChoice->setCurrentIndex(MoneyPicturesWindow::Turnover);
        ASSERT_EQ(pictures.shownSeries().size(), 2);
        EXPECT_EQ(pictures.shownSeries()[0].first, QStringLiteral("Wpłaty KP"));
        EXPECT_EQ(pictures.shownSeries()[0].second.value(2), Amount("100"));
        EXPECT_EQ(pictures.shownSeries()[1].second.value(2), Amount("30"));
        EXPECT_EQ(pictures.shownSeries()[1].second.value(3), Money());

        pictures.PictureChoice->setCurrentIndex(MoneyPicturesWindow::Accounts);
        ASSERT_EQ(pictures.shownSeries().size(), 2);
        EXPECT_EQ(pictures.shownSeries()[0].second, QList<Money>{Amount("100")});

        EXPECT_TRUE(pictures.savePdf(dir.filePath(QStringLiteral("wykres.pdf"))));
        EXPECT_TRUE(pictures.savePng(dir.filePath(QStringLiteral("wykres.png"))));
        pictures.accept();
    });
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("wykres.pdf"))).size(), 1000);
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("wykres.png"))).size(), 1000);
}

} // namespace
