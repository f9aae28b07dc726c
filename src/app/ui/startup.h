#pragma once

#include "base/global_state.h"
#include "base/process_environment.h"

#include <functional>
#include <memory>

class Clock;
class Progress;
class Prompt;
class TKASAF;
class TPRACA;
class TZERO;

// What start-up is given: the process, the clock, the way to speak to the user, and the steps
// that belong to other parts of the program.
struct StartupContext {
    ProcessEnvironment environment;
    const Clock &clock;
    Prompt &prompt;
    // Initialises the table engine; false when it cannot run.
    std::function<bool()> initialiseEngine;
    // Creates the data module, which opens the tables, logs the user in and chooses the year;
    // it sets StartupStop when the program must not go on.
    std::function<void()> createDataModule;
    // Creates the main window once the data module is open; empty: the window without data.
    std::function<std::unique_ptr<TKASAF>(GlobalState &state)> createMainWindow = {};
    // Creates the print module on the progress window; empty until printing exists.
    std::function<void(Progress &progressWindow)> createPrintModule = {};
    // Starts the table-engine installer; empty means "bde.exe" from the working folder.
    std::function<bool()> startInstaller = {};
    GlobalState &state = globalState();
    // False returns right after the main window is shown instead of running the event loop.
    bool runEventLoop = true;
};

// The start-up sequence: formats and dates, the table-engine check, the splash while the data
// module opens the tables, then the main window, the progress window and the print module.
// The QApplication must exist before run() is called.
class Startup {
public:
    explicit Startup(const StartupContext &context);
    ~Startup();

    // Runs start-up; returns the program's exit code.
    int run();

    TKASAF *mainWindow() const { return mainWindow_.get(); }
    TPRACA *progressWindow() const { return progressWindow_.get(); }
    // The splash exists only while start-up runs.
    TZERO *splash() const { return splash_.get(); }
    // Where the splash bar stood when the splash was closed (-1 before that).
    int splashPositionAtClose() const { return splashPositionAtClose_; }

private:
    bool tableEngineReady();
    void showSplash();
    void advanceSplash();
    void closeSplash();
    void createMainWindow();
    void createProgressWindow();
    void createPrintModule();
    int runMainWindow();
    int endWithoutMainWindow();

    const StartupContext context_;
    GlobalState &state_;
    std::unique_ptr<TKASAF> mainWindow_;
    // Declared after the main window, its parent, so it goes first.
    std::unique_ptr<TPRACA> progressWindow_;
    std::unique_ptr<TZERO> splash_;
    int splashPositionAtClose_ = -1;
};

// Runs the whole start-up and, unless told otherwise, the program until the main window closes.
int RunStartup(const StartupContext &context);
