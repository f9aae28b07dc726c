#include "app/clock.h"
#include "app/process_environment.h"
#include "app/ui/qt_prompt.h"
#include "app/ui/startup.h"
#include "store/data_tree_initializer.h"
#include "store/session.h"
#include "store/tdane.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstring>
#include <memory>
#include <sqlite3.h>

int main(int argc, char **argv)
{
    // "kasa --init DIR [--demo] [--year YYYY]" makes a new installation in DIR and ends.
    if (argc > 1 && std::strcmp(argv[1], "--init") == 0) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunDataTreeInitializer(app.arguments().mid(1), out, err, SystemClock());
    }
    QApplication app(argc, argv);
    SystemClock clock;
    QtPrompt prompt;
    const ProcessEnvironment environment = ProcessEnvironment::fromProcess();
    // The session and the data module live until the program ends.
    Session session;
    session.setWorkingFolder(environment.workingFolder);
    std::unique_ptr<TDANE> dataModule;
    const StartupContext context{
        .environment = environment,
        .clock = clock,
        .prompt = prompt,
        // The table engine is SQLite, linked into the program.
        .initialiseEngine = [] { return sqlite3_initialize() == SQLITE_OK; },
        .createDataModule =
            [&] {
                dataModule = std::make_unique<TDANE>(DataModuleContext{session, prompt, globalState(), environment});
                dataModule->runOpenSequence();
            },
    };
    return RunStartup(context);
}
