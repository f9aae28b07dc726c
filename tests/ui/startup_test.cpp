#include "app/ui/startup.h"

#include "base/clock.h"
#include "widgets/progress_window.h"
#include "app/ui/splash_window.h"
#include "ledger/ui/main_window.h"
#include "support/qt_printers.h"
#include "support/scripted_prompt.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

template <typename Window>
QList<Window *> TopLevel()
{
    QList<Window *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget))
            found.append(window);
    }
    return found;
}

// Start-up on a fixed day, with a data module that only writes the global state it is told to.
struct StartupRun {
    GlobalState state;
    FixedClock clock{QDate(2019, 3, 5)};
    ScriptedPrompt prompt;
    bool engineWorks = true;
    std::function<void(GlobalState &)> openSequence = [](GlobalState &) {};
    QPointer<TZERO> splashDuringOpen;
    bool splashVisibleDuringOpen = false;
    int splashPositionDuringOpen = -1;
    bool printModuleCreated = false;

    StartupContext context()
    {
        return StartupContext{
            .environment = {},
            .clock = clock,
            .prompt = prompt,
            .initialiseEngine = [this] { return engineWorks; },
            .createDataModule =
                [this] {
                    const QList<TZERO *> splashes = TopLevel<TZERO>();
                    if (splashes.size() == 1) {
                        splashDuringOpen = splashes.first();
                        splashVisibleDuringOpen = splashes.first()->isVisible();
                        splashPositionDuringOpen = splashes.first()->budowa->value();
                    }
                    openSequence(state);
                },
            .createPrintModule = [this](Progress &) { printModuleCreated = true; },
            .startInstaller = [] { return false; },
            .state = state,
            .runEventLoop = false,
        };
    }
};

}  // namespace

TEST(Startup, ReachesTheMainWindowWithTheCompanyAndTheOperator)
{
    StartupRun run;
    run.openSequence = [](GlobalState &state) {
        state.CompanyShortName = "Firma ABC";
        state.OperatorName = "Jan Kowalski";
    };
    const StartupContext context = run.context();
    Startup startup(context);

    EXPECT_EQ(startup.run(), 0);

    EXPECT_EQ(run.state.TodayText, "2019.03.05");
    EXPECT_EQ(run.state.ProgramNumber, 9);
    EXPECT_TRUE(run.prompt.messages().isEmpty());

    EXPECT_TRUE(run.splashVisibleDuringOpen);  // shown while the tables open...
    EXPECT_EQ(run.splashPositionDuringOpen, 0);
    EXPECT_EQ(startup.splashPositionAtClose(), 99);
    EXPECT_FALSE(run.splashDuringOpen);  // ...and destroyed before the main window runs
    EXPECT_TRUE(TopLevel<TZERO>().isEmpty());

    TKASAF *window = startup.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Kasa Firma ABC");
    ASSERT_EQ(window->PageControl->count(), 2);
    EXPECT_EQ(window->PageControl->tabText(0), "Raporty Kasowe");
    EXPECT_EQ(window->PageControl->tabText(1), "Dokumenty");
    EXPECT_EQ(window->PageControl->currentIndex(), 0);
    EXPECT_EQ(window->StatusPanels[0]->text(), "");
    EXPECT_EQ(window->StatusPanels[1]->text(), "2019");
    EXPECT_EQ(window->StatusPanels[2]->text(), "Jan Kowalski");

    ASSERT_NE(startup.progressWindow(), nullptr);
    EXPECT_FALSE(startup.progressWindow()->isVisible());
    EXPECT_TRUE(run.printModuleCreated);
    EXPECT_EQ(QCoreApplication::applicationName(), "Kasa");
}

TEST(Startup, ClosingTheMainWindowEndsTheProgram)
{
    StartupRun run;
    StartupContext context = run.context();
    context.runEventLoop = true;
    Startup startup(context);
    // Start-up paints its windows on the way, so wait until the main window is really up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        for (TKASAF *window : TopLevel<TKASAF>()) {
            if (window->isVisible())
                window->close();
        }
    });
    closer.start(10);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // a hung test fails instead

    EXPECT_EQ(startup.run(), 0);
}

TEST(Startup, AStopFromTheDataModuleEndsWithoutTheMainWindow)
{
    StartupRun run;
    run.openSequence = [](GlobalState &state) { state.StartupStop = true; };
    const StartupContext context = run.context();
    Startup startup(context);

    EXPECT_EQ(startup.run(), 2);

    EXPECT_EQ(startup.mainWindow(), nullptr);
    EXPECT_EQ(startup.progressWindow(), nullptr);
    EXPECT_TRUE(TopLevel<TKASAF>().isEmpty());
    EXPECT_TRUE(run.splashVisibleDuringOpen);
    EXPECT_EQ(startup.splashPositionAtClose(), 33);
    EXPECT_FALSE(run.splashDuringOpen);
    EXPECT_TRUE(TopLevel<TZERO>().isEmpty());
    EXPECT_FALSE(run.printModuleCreated);
}

TEST(Startup, WithoutATableEngineNoWindowIsShown)
{
    StartupRun run;
    run.engineWorks = false;
    bool dataModuleCreated = false;
    run.openSequence = [&](GlobalState &) { dataModuleCreated = true; };
    run.prompt.answer(No);
    const StartupContext context = run.context();
    Startup startup(context);

    EXPECT_NE(startup.run(), 0);

    EXPECT_EQ(run.prompt.texts(),
              (QStringList{"BDE nie jest zainstalowane. Zainstalować BDE teraz?",
                           "Po instalacji BDE, uruchom ponownie program. "}));
    EXPECT_EQ(run.prompt.messages().last().icon, PromptIcon::Error);
    EXPECT_FALSE(dataModuleCreated);
    EXPECT_FALSE(run.splashVisibleDuringOpen);
    EXPECT_TRUE(TopLevel<TZERO>().isEmpty());
    EXPECT_EQ(startup.mainWindow(), nullptr);
}

TEST(TZERO, GreetsWithTheProgramsNameAndAnEmptyBar)
{
    TZERO splash;
    EXPECT_EQ(splash.windowTitle(), "Dzień dobry");
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(splash.nazwa->text(), "Kasa");
    EXPECT_FALSE(splash.obraz->pixmap().isNull());
    EXPECT_EQ(splash.budowa->minimum(), 0);
    EXPECT_EQ(splash.budowa->maximum(), 100);
    EXPECT_EQ(splash.budowa->value(), 0);
}
