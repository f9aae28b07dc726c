#include "app/ui/startup.h"

#include "base/application_title.h"
#include "base/date_state.h"
#include "base/format_settings.h"
#include "base/prompt.h"
#include "app/table_engine_check.h"
#include "widgets/progress_window.h"
#include "app/ui/splash_window.h"
#include "widgets/window_frame.h"
#include "ledger/ui/main_window.h"

#include <QApplication>
#include <QProgressBar>

namespace {

constexpr int kSplashStep = 33;
constexpr int kExitAfterEngineFailure = 1;
// The program ended before its main window: scripts that start it can tell.
constexpr int kExitAfterStop = 2;

}  // namespace

Startup::Startup(const StartupContext &context) : context_(context), state_(context.state) {}

Startup::~Startup() = default;

int Startup::run()
{
    InitFormatSettings();
    // The application object of the window system is created by the caller: Qt needs it before
    // any of the steps below.
    InitDateState(state_, context_.clock);
    state_.ProgramNumber = 9;
    if (!tableEngineReady()) {
        context_.prompt.error(QStringLiteral("Po instalacji BDE, uruchom ponownie program. "));
        return kExitAfterEngineFailure;
    }
    showSplash();
    if (context_.createDataModule)
        context_.createDataModule();
    QCoreApplication::setApplicationName(ApplicationTitle());

    advanceSplash();
    if (state_.StartupStop)
        return endWithoutMainWindow();
    createMainWindow();
    advanceSplash();
    if (state_.StartupStop)
        return endWithoutMainWindow();
    createProgressWindow();
    advanceSplash();
    if (state_.StartupStop)
        return endWithoutMainWindow();
    createPrintModule();
    closeSplash();
    return runMainWindow();
}

bool Startup::tableEngineReady()
{
    const QString workingFolder = context_.environment.workingFolder;
    const std::function<bool()> startInstaller =
        context_.startInstaller ? context_.startInstaller
                                : [workingFolder] { return StartTableEngineInstaller(workingFolder); };
    return CheckTableEngine(context_.prompt, context_.initialiseEngine, startInstaller);
}

void Startup::showSplash()
{
    splash_ = std::make_unique<TZERO>();
    splash_->budowa->setValue(0);
    splash_->show();
    CentreOnScreen(*splash_);
    // The tables open right after this on the same thread: paint the splash before that.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    splash_->repaint();
}

void Startup::advanceSplash()
{
    splash_->advance(kSplashStep);
}

void Startup::closeSplash()
{
    splashPositionAtClose_ = splash_->budowa->value();
    splash_->close();
    splash_.reset();
}

void Startup::createMainWindow()
{
    mainWindow_ = context_.createMainWindow ? context_.createMainWindow(state_) : std::make_unique<TKASAF>(state_);
}

void Startup::createProgressWindow()
{
    progressWindow_ = std::make_unique<TPRACA>(mainWindow_.get());
}

void Startup::createPrintModule()
{
    if (context_.createPrintModule)
        context_.createPrintModule(*progressWindow_);
}

int Startup::runMainWindow()
{
    mainWindow_->show();
    if (!context_.runEventLoop)
        return 0;
    return QApplication::exec();
}

int Startup::endWithoutMainWindow()
{
    closeSplash();
    return kExitAfterStop;
}

int RunStartup(const StartupContext &context)
{
    Startup startup(context);
    return startup.run();
}
