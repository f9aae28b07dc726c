#include "app/table_engine_check.h"

#include "support/qt_printers.h"
#include "support/scripted_prompt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kInstallQuestion = "BDE nie jest zainstalowane. Zainstalować BDE teraz?";
const QString kInstallerFailed = "Błąd! Przeinstaluj BDE.";
const QString kRestartAfterInstall = "Proszę uruchomić ponownie program po instalacji BDE";

struct EngineCheck {
    ScriptedPrompt prompt;
    bool engineWorks = false;
    bool installerStarts = true;
    int installerStarted = 0;

    bool run()
    {
        return CheckTableEngine(
            prompt, [this] { return engineWorks; },
            [this] {
                ++installerStarted;
                return installerStarts;
            });
    }
};

}  // namespace

TEST(TableEngineCheck, AWorkingEngineAsksNothing)
{
    EngineCheck check;
    check.engineWorks = true;
    EXPECT_TRUE(check.run());
    EXPECT_TRUE(check.prompt.messages().isEmpty());
    EXPECT_EQ(check.installerStarted, 0);
}

TEST(TableEngineCheck, DecliningTheInstallerEndsWithoutStartingIt)
{
    EngineCheck check;
    check.prompt.answer(No);
    EXPECT_FALSE(check.run());
    EXPECT_EQ(check.prompt.texts(), QStringList{kInstallQuestion});
    EXPECT_EQ(check.prompt.messages()[0].icon, PromptIcon::None);
    EXPECT_EQ(check.prompt.messages()[0].buttons, Yes | No);
    EXPECT_EQ(check.installerStarted, 0);
}

TEST(TableEngineCheck, AcceptingStartsTheInstallerAndAsksForARestart)
{
    EngineCheck check;
    check.prompt.answer(Yes);
    EXPECT_FALSE(check.run());
    EXPECT_EQ(check.installerStarted, 1);
    EXPECT_EQ(check.prompt.texts(), (QStringList{kInstallQuestion, kRestartAfterInstall}));
    EXPECT_EQ(check.prompt.messages()[1].icon, PromptIcon::Warning);
}

TEST(TableEngineCheck, AnInstallerThatDoesNotStartIsReportedBeforeTheRestartNote)
{
    EngineCheck check;
    check.installerStarts = false;
    check.prompt.answer(Yes);
    EXPECT_FALSE(check.run());
    EXPECT_EQ(check.prompt.texts(),
              (QStringList{kInstallQuestion, kInstallerFailed, kRestartAfterInstall}));
}

TEST(TableEngineCheck, TheRealInstallerIsNotFoundInAFolderWithoutIt)
{
    QTemporaryDir workingFolder;
    ASSERT_TRUE(workingFolder.isValid());
    EXPECT_FALSE(StartTableEngineInstaller(workingFolder.path() + "/"));
}
