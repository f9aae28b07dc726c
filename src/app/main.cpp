#include "app/clock.h"
#include "app/process_environment.h"
#include "app/ui/qt_prompt.h"
#include "app/ui/startup.h"

#include <QApplication>
#include <sqlite3.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    SystemClock clock;
    QtPrompt prompt;
    const StartupContext context{
        .environment = ProcessEnvironment::fromProcess(),
        .clock = clock,
        .prompt = prompt,
        // The table engine is SQLite, linked into the program.
        .initialiseEngine = [] { return sqlite3_initialize() == SQLITE_OK; },
        // The data module with the open sequence is not there yet: no tables are opened.
        .createDataModule = [] {},
    };
    return RunStartup(context);
}
