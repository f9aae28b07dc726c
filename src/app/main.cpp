#include "base/clock.h"
#include "base/process_environment.h"
#include "widgets/polish_translations.h"
#include "widgets/qt_prompt.h"
#include "app/ui/settings_wiring.h"
#include "app/ui/contractors_wiring.h"
#include "app/ui/exchange_wiring.h"
#include "app/ui/maintenance_wiring.h"
#include "app/ui/money_pictures_wiring.h"
#include "app/ui/form_printing_wiring.h"
#include "app/ui/forms_export.h"
#include "app/commands/command_tool.h"
#include "app/ui/startup.h"
#include "app/ui/users_wiring.h"
#include "ledger/cash_ledger.h"
#include "ledger/ui/auxiliary_windows.h"
#include "ledger/ui/main_window.h"
#include "print/ui/print_module.h"
#include "store/data_tree_initializer.h"
#include "store/session.h"
#include "store/data_module.h"

#include <QApplication>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QTextStream>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    // "kasa --init DIR [--demo] [--year YYYY]" makes a new installation in DIR and ends.
    if (argc > 1 && std::strcmp(argv[1], "--init") == 0) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunDataTreeInitializer(app.arguments().mid(1), out, err, SystemClock());
    }
    // "kasa COMMAND ..." runs one job without a window (the forms it prints need fonts, not a display).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (IsToolCommandLine(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // A job from cron has no session folder; Qt only needs one of its own.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QByteArray runtime = QFile::encodeName(QDir::tempPath()) + "/kasa-runtime-" + QByteArray::number(::getuid());
            QDir().mkpath(QFile::decodeName(runtime));
            QFile::setPermissions(QFile::decodeName(runtime), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime);
        }
        const std::unique_ptr<QCoreApplication> app = ToolCommandDraws(arguments)
                                                          ? std::make_unique<QGuiApplication>(argc, argv)
                                                          : std::make_unique<QCoreApplication>(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunCommandTool(app->arguments().mid(1), out, err, SystemClock());
    }
    // Writing the forms to files needs no display; without one they are drawn off screen.
    const bool forms = argc > 1 && std::strcmp(argv[1], "--forms") == 0;
    if (forms && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallPolishTranslations(app);
    // "kasa --forms OUTDIR" writes every graphic form of the data tree here as PDF and ends.
    if (forms) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunFormsExport(app.arguments().mid(1), out, err);
    }
    SystemClock clock;
    QtPrompt prompt;
    const ProcessEnvironment environment = ProcessEnvironment::fromProcess();
    // The session and the data module live until the program ends.
    Session session;
    session.setWorkingFolder(environment.workingFolder);
    std::unique_ptr<TDANE> dataModule;
    // The ledger's rules live on the data module's tables, so it goes before them.
    std::unique_ptr<CashLedger> ledger;
    std::unique_ptr<PrintModule> printModule;
    std::unique_ptr<LedgerAuxiliaryWindows> auxiliaryWindows;
    TKASAF *mainWindow = nullptr;
    std::unique_ptr<MaintenanceWiring> maintenance;
    std::unique_ptr<FormPrintingWiring> formPrinting;
    UsersWiring users(session, prompt, globalState(), environment);
    std::unique_ptr<ContractorWiring> contractors;
    const StartupContext context{
        .environment = environment,
        .clock = clock,
        .prompt = prompt,
        // The table engine is SQLite, linked into the program.
        .initialiseEngine = [] { return sqlite3_initialize() == SQLITE_OK; },
        .createDataModule =
            [&] {
                dataModule = std::make_unique<TDANE>(DataModuleContext{session, prompt, globalState(), environment, users.loginUser()});
                dataModule->runOpenSequence();
                TDANE &d = *dataModule;
                ledger = std::make_unique<CashLedger>(
                    LedgerTables{d.TPARA, d.TKASA, d.TRKASA, d.TNAG, d.TPOZ, d.KNAG, d.TSLO, d.TKONTA, d.TWALUTA},
                    prompt, globalState(), clock);
            },
        .createMainWindow =
            [&](GlobalState &state) {
                MainWindowServices services{*dataModule, *ledger, prompt, clock};
                maintenance = std::make_unique<MaintenanceWiring>(*dataModule, prompt);
                maintenance->addCommands(services.commands);
                formPrinting = std::make_unique<FormPrintingWiring>(
                    *dataModule, prompt, state, [&]() -> TDRUK * { return printModule ? &printModule->druk() : nullptr; });
                formPrinting->wire(services.commands);
                users.addCommands(services.commands, *dataModule, [&] { return mainWindow; });
                contractors = std::make_unique<ContractorWiring>(*dataModule, prompt, [&] { return mainWindow; });
                contractors->wire(services.commands);
                WireExchangeCommands(services.commands, *dataModule, [&] { return static_cast<QWidget *>(mainWindow); });
                WireCatalogueExchange(*contractors, *dataModule);
                WireMoneyPictures(services.commands, *ledger, state, [&] { return static_cast<QWidget *>(mainWindow); });
                auto window = std::make_unique<TKASAF>(state, services);
                mainWindow = window.get();
                formPrinting->setParentWindow(mainWindow);
                auxiliaryWindows = std::make_unique<LedgerAuxiliaryWindows>(*ledger, clock, mainWindow);
                mainWindow->setAuxiliaryWindows(auxiliaryWindows.get());
                WireSettingsWindows(*mainWindow, *dataModule, prompt);
                return window;
            },
        .createPrintModule =
            [&](Progress &progress) {
                printModule = std::make_unique<PrintModule>(prompt, progress, mainWindow);
                mainWindow->externalCommands().printSettings = [&] { printModule->window().showSettings(); };
                mainWindow->setPrintModule(&printModule->druk());
            },
    };
    return RunStartup(context);
}
