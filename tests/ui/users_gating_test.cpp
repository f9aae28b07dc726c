// One start-up per permission level, through the real start-up, open sequence and login, and
// which commands the main window then offers.

#include "app/ui/startup.h"
#include "base/clock.h"
#include "ledger/cash_ledger.h"
#include "ledger/ui/auxiliary_windows.h"
#include "ledger/ui/main_window.h"
#include "store/session.h"
#include "store/table_schemas.h"
#include "store/data_module.h"
#include "support/data_tree_builder.h"
#include "support/scripted_login_dialog.h"
#include "support/scripted_prompt.h"
#include "users/login_user.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

QAction *MenuEntry(QMenu *menu, const char *text)
{
    for (QAction *action : menu->actions())
        if (action->text() == QString::fromUtf8(text))
            return action;
    ADD_FAILURE() << "no entry " << text;
    return nullptr;
}

class LevelStart : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withStandardTree(QStringLiteral("2019")).withParameterTable(2);
        tree.createTable(tree.workingFolder() + QStringLiteral("BAZA") + QDir::separator() + QStringLiteral("USER.DB"),
                         UsersTableDefinition(),
                         {{{"LOGIN", "ADMIN"}, {"P9", 255}}, {{"LOGIN", "JAN"}, {"HASLO", "jan"}, {"P9", GetParam()}}});
        tree.addRows(tree.yearTable("2019", "KASA\\KASA.DB"), {{{"SYMBOL", "KAS1"}, {"NAZWA", "Kasa"}}});
        tree.addRows(tree.yearTable("2019", "KASA\\RKASA.DB"),
                     {{{"SYMBOL", "KAS1"}, {"NUMER", 1}, {"OZNACZENIE", "RK"}, {"DATAOD", "2019.03.01"},
                       {"ZAMKNIETY", false}}});
        session.setWorkingFolder(tree.workingFolder());
    }

    void TearDown() override
    {
        startup.reset();
        auxiliary.reset();
        ledger.reset();
        data.reset();
    }

    // The program's start-up with the login dialog answered "JAN" / "jan".
    void start()
    {
        const ProcessEnvironment environment = tree.environment({tree.dataRootArgument()});
        login = std::make_unique<UserLogin>(UserLoginContext{session, prompt, state, {}, [] {
                                                auto dialog = std::make_unique<ScriptedLoginDialog>();
                                                dialog->tries.push_back({"JAN", "jan"});
                                                return dialog;
                                            }});
        startup = std::make_unique<Startup>(StartupContext{
            .environment = environment,
            .clock = clock,
            .prompt = prompt,
            .initialiseEngine = [] { return true; },
            .createDataModule =
                [this, environment] {
                    data = std::make_unique<TDANE>(DataModuleContext{
                        session, prompt, state, environment, [this](Table &parameters) { return login->LoginUser(parameters); }});
                    data->runOpenSequence();
                    TDANE &d = *data;
                    ledger = std::make_unique<CashLedger>(
                        LedgerTables{d.TPARA, d.TKASA, d.TRKASA, d.TNAG, d.TPOZ, d.KNAG, d.TSLO, d.TKONTA, d.TWALUTA},
                        prompt, state, clock);
                },
            .createMainWindow =
                [this](GlobalState &) {
                    MainWindowServices services{*data, *ledger, prompt, clock};
                    services.commands.users = [] {};
                    services.commands.changeUser = [] {};
                    auto window = std::make_unique<TKASAF>(state, services);
                    auxiliary = std::make_unique<LedgerAuxiliaryWindows>(*ledger, clock, window.get());
                    window->setAuxiliaryWindows(auxiliary.get());
                    return window;
                },
            .startInstaller = [] { return false; },
            .state = state,
            .runEventLoop = false,
        });
        startup->run();
    }

    DataTreeBuilder tree;
    Session session;
    GlobalState state;
    ScriptedPrompt prompt;
    FixedClock clock{QDate(2019, 3, 15)};
    std::unique_ptr<UserLogin> login;
    std::unique_ptr<TDANE> data;
    std::unique_ptr<CashLedger> ledger;
    std::unique_ptr<LedgerAuxiliaryWindows> auxiliary;
    std::unique_ptr<Startup> startup;
};

TEST_P(LevelStart, OffersTheCommandsOfTheLevel)
{
    const int level = GetParam();
    start();
    if (level == 0) {
        EXPECT_TRUE(state.StartupStop);
        EXPECT_EQ(startup->mainWindow(), nullptr);
        EXPECT_EQ(prompt.texts(), QStringList{QString::fromUtf8("Brak uprawnień do obsługi programu")});
        return;
    }
    TKASAF *window = startup->mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(state.LoginName, "JAN");
    EXPECT_EQ(state.AccessLevel, level);
    const bool mayChangeData = level >= 100;

    const QList<QAction *> gated{window->NewReportAction,
                                 window->EditingAction,
                                 window->DeleteReportAction,
                                 window->CloseReportAction,
                                 window->OpenReportAction,
                                 window->ReceiptAction,
                                 window->PayoutAction,
                                 window->DictionaryMenu->menuAction(),
                                 window->ParameterMenu->menuAction(),
                                 MenuEntry(window->TaskMenu, "Nowy dokument KP"),
                                 MenuEntry(window->TaskMenu, "Nowy dokument KW"),
                                 window->RenumberByDateAction,
                                 window->RenumberByEntryAction,
                                 window->RenumberDocumentsByDateAction,
                                 window->RenumberFromPlaceAction,
                                 window->CopyAction,
                                 window->SettlementAction,
                                 window->AdvanceRequestAction,
                                 window->DeleteDocumentAction,
                                 window->FreeReceiptAction,
                                 window->FreePayoutAction};
    // "Edycja" shows the document to a user who may only look.
    const QList<QAction *> always{MenuEntry(window->TaskMenu, "Zapisz i zamknij"), window->EditDocumentAction};
    const auto check = [&](const char *when) {
        for (QAction *action : gated)
            EXPECT_EQ(action->isEnabled(), mayChangeData) << when << ": " << action->text().toStdString();
        for (QAction *action : always)
            EXPECT_TRUE(action->isEnabled()) << when << ": " << action->text().toStdString();
    };
    check("at start");
    // Below 100 the whole menu is closed to the user; from 100 on the users' entries are live.
    if (mayChangeData) {
        EXPECT_TRUE(MenuEntry(window->ParameterMenu, "Użytkownicy")->isEnabled());
        EXPECT_TRUE(MenuEntry(window->ParameterMenu, "Zmiana użytkownika")->isEnabled());
    }
    // Showing the documents of an open report does not give back "Wpłata KP" and "Wypłata KW".
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    check("on the documents");
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelStart, ::testing::Values(0, 1, 50, 100, 200, 255));

} // namespace
