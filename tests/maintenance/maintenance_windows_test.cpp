#include "maintenance_fixture.h"

#include "base/progress.h"
#include "maintenance/ui/archive_window.h"
#include "maintenance/ui/year_change_window.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QGroupBox>
#include <QTabWidget>
#include <QTimer>

class MaintenanceWindowsTest : public MaintenanceTest {};

// A folder typed without its trailing separator is used and then shown with it; each showing
// starts again from the default folder on the first page.
TEST_F(MaintenanceWindowsTest, ArchiveWindowTakesATypedFolder)
{
    auto company = tree.open(tree.companyTable());
    ScriptedPrompt prompt;
    NullProgress progress;
    TARCHF window({*company, prompt, progress, state, {}, {}});
    const auto showAndClose = [&] {
        QTimer::singleShot(0, &window, [&] { window.reject(); });
        window.showModal();
    };
    showAndClose();
    const QString defaultFolder = tree.dataRoot() + QStringLiteral("ARCHIWUM");
    EXPECT_EQ(window.Archiwowanie.path->text(), defaultFolder);
    EXPECT_EQ(window.Odtwarzanie.path->text(), defaultFolder);
    EXPECT_FALSE(window.Archiwowanie.pathGroup->isEnabled());
    window.Archiwowanie.anyLocation->setChecked(true);
    EXPECT_TRUE(window.Archiwowanie.pathGroup->isEnabled());
    EXPECT_EQ(window.Archiwowanie.path->text(), defaultFolder);

    const QString typed = QDir(tree.root()).filePath(QStringLiteral("kopia"));
    window.Archiwowanie.path->setText(typed);
    window.ArchiwizujClick();
    EXPECT_EQ(window.Archiwowanie.path->text(), typed + QDir::separator());
    EXPECT_EQ(documentCount(documents(typed)), 0);
    EXPECT_EQ(company->asString(QStringLiteral("ARCHDATA")), QStringLiteral("2019.05.10"));
    EXPECT_EQ(window.Archiwowanie.archiveDate->text(), QStringLiteral("2019.05.10"));

    window.PageControl->setCurrentWidget(window.TabOdtwarzanie);
    showAndClose();
    EXPECT_EQ(window.PageControl->currentWidget(), window.TabArchiwowanie);
    EXPECT_EQ(window.Archiwowanie.path->text(), defaultFolder);
}

TEST_F(MaintenanceWindowsTest, YearChangeNeedsAChosenYear)
{
    state.YearFolders = {QStringLiteral("2019"), QStringLiteral("2020")};
    int reopened = 0;
    YearChangeWindow window(state, [&] { ++reopened; });
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(window.Years->count(), 2);
        window.Years->clearSelection();
        window.ZmienRokClick();
        EXPECT_EQ(reopened, 0);
        EXPECT_TRUE(window.isVisible());
        window.Years->setCurrentRow(1);
        window.ZmienRokClick();
    });
    window.showModal();
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(state.CurrentYear, QStringLiteral("2020"));
    EXPECT_FALSE(window.isVisible());
}
