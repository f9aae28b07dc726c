#include "main_window_fixture.h"

#include "app/ui/help_keys.h"
#include "app/ui/settings_wiring.h"
#include "ledger/ui/receipt_payout_editor.h"
#include "settings/ui/help_window.h"
#include "settings/ui/company_window.h"
#include "settings/ui/program_parameters_window.h"
#include "settings/ui/program_information_window.h"
#include "widgets/table_field_edit.h"
#include "widgets/table_grid.h"

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

// The settings windows behind the main window's entries, as the program wires them.
class SettingsWindows : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        addDesk("K1", "Kasa główna");
        addReport("K1", 1, Amount("100"));
    }

    void startWired()
    {
        start();
        WireSettingsWindows(*window, *data, prompt);
    }

    QAction *entry(QMenu *menu, const char *text) const
    {
        for (QAction *action : menu->actions())
            if (action->text() == QString::fromUtf8(text))
                return action;
        ADD_FAILURE() << "no entry " << text;
        return nullptr;
    }

    QString stored(const QString &path, const char *field)
    {
        return tree.column(path, QString::fromLatin1(field)).value(0);
    }

    // Chooses the entries (an empty slot leaves the position as shown) and the accounts.
    void setParameters(const QList<int> &choices, bool accounts)
    {
        withModal<TKASAF7>([&] { entry(window->ParameterMenu, "Parametry programu")->trigger(); },
                           [&](TKASAF7 &parameters) {
                               for (int position = 0; position < choices.size(); ++position)
                                   if (choices[position] >= 0)
                                       parameters.OptionGroups[position]->button(choices[position])->click();
                               (accounts ? parameters.AccountsOn : parameters.AccountsOff)->click();
                               parameters.accept();
                           });
    }

    bool accountColumnShown() const
    {
        const TableModel &documents = window->DocumentGrid->tableModel();
        const bool shown = !window->DocumentGrid->isColumnHidden(documents.columnOf(QStringLiteral("KONTO")));
        EXPECT_EQ(window->DocumentGrid->columnWidth(documents.columnOf(QStringLiteral("TYT1"))), shown ? 150 : 230);
        return shown;
    }
};

TEST_F(SettingsWindows, ParametersShowTheDefaultsOfANewInstallation)
{
    startWired();
    withModal<TKASAF7>([&] { entry(window->ParameterMenu, "Parametry programu")->trigger(); },
                       [&](TKASAF7 &parameters) {
                           EXPECT_EQ(parameters.choices(), (ProgramOptionChoices{0, 0, 0, 0, 0}));
                           EXPECT_EQ(parameters.NumberTemplateEdit->text(), "[RD] [NRD]");
                           EXPECT_TRUE(parameters.AccountsOff->isChecked());
                       });
    EXPECT_EQ(stored(tree.parameterTable(), "P1"), "[RD] [NRD]");
    EXPECT_EQ(stored(tree.parameterTable(), "P2"), "00000");
}

TEST_F(SettingsWindows, TheMainWindowAndTheEditorsFollowTheParametersAtOnce)
{
    startWired();
    ASSERT_FALSE(accountColumnShown());
    ASSERT_TRUE(window->RenumberDocumentsByDateAction->isEnabled());

    setParameters({2, -1, -1, -1, 1}, true);
    EXPECT_EQ(stored(tree.parameterTable(), "P2"), "20001");
    EXPECT_EQ(stored(tree.parameterTable(), "B3"), "True");
    EXPECT_TRUE(accountColumnShown());
    EXPECT_FALSE(window->RenumberDocumentsByDateAction->isEnabled());
    window->PageControl->setCurrentWidget(window->TabDokumenty);
    bool accountPanel = false;
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); },
                       [&](TKASAF1 &editor) { accountPanel = editor.AccountPanel->isVisible(); });
    EXPECT_TRUE(accountPanel);

    setParameters({1, -1, -1, -1, -1}, false);
    EXPECT_EQ(stored(tree.parameterTable(), "P2"), "10001");
    EXPECT_FALSE(accountColumnShown());
    EXPECT_TRUE(window->RenumberDocumentsByDateAction->isEnabled());
    withModal<TKASAF1>([&] { window->ReceiptAction->trigger(); },
                       [&](TKASAF1 &editor) { accountPanel = editor.AccountPanel->isVisible(); });
    EXPECT_FALSE(accountPanel);
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'\n').toStdString();
}

TEST_F(SettingsWindows, CompanyDataFillsTheResidenceAddressAndRefusesWhatItCannotKeep)
{
    startWired();
    const QString tooLong = QStringLiteral("/dane/") + QString(45, u'x');
    withModal<TFIRMAF>([&] { entry(window->ParameterMenu, "Dane o Firmie")->trigger(); }, [&](TFIRMAF &company) {
        EXPECT_EQ(company.PageControl->currentIndex(), 0);
        company.PageControl->setCurrentIndex(1);
        auto *street = qobject_cast<QLineEdit *>(company.control(QStringLiteral("ULICA")));
        auto *residence = qobject_cast<QLineEdit *>(company.control(QStringLiteral("ZULICA")));
        QTest::keyClicks(street, QStringLiteral("Kwiatowa"));
        // The street is left for the house number (the focus itself is not dependable on the
        // test platform, so its change is announced as the application would).
        QTest::keyClick(street, Qt::Key_Return);
        emit qApp->focusChanged(street, company.control(QStringLiteral("NUMER")));
        Process();
        EXPECT_EQ(residence->text(), "Kwiatowa");

        company.PageControl->setCurrentIndex(4);
        auto *path = qobject_cast<QLineEdit *>(company.control(QStringLiteral("DR")));
        QTest::keyClicks(path, tooLong);
        QTest::keyClick(path, Qt::Key_Return);
        EXPECT_EQ(prompt.count(QStringLiteral("Wpisany tekst ma 51 znaków, a pole mieści najwyżej 50.\r"
                                              "Tekst nie został zapisany.")),
                  1);
        // Closing keeps the window open on the refused text, until it is mended.
        company.accept();
        EXPECT_TRUE(company.isVisible());
        EXPECT_EQ(path->text(), tooLong);
        path->selectAll();
        QTest::keyClick(path, Qt::Key_Backspace);
        company.accept();
        EXPECT_FALSE(company.isVisible());
    });
    EXPECT_EQ(stored(tree.companyTable(), "ULICA"), "Kwiatowa");
    EXPECT_EQ(stored(tree.companyTable(), "ZULICA"), "Kwiatowa");
    EXPECT_EQ(stored(tree.companyTable(), "DR"), "");
    EXPECT_EQ(window->windowTitle(), "Kasa Firma Testowa");
}

TEST_F(SettingsWindows, F1OpensTheGuideWhichFindsAWord)
{
    startWired();
    QAction *help = entry(window->HelpMenu, "Pomoc");
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
    help->trigger();
    auto *guide = window->findChild<HelpWindow *>();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_TRUE(guide->headings().contains(QStringLiteral("Dzień przy kasie")));
    EXPECT_TRUE(guide->headings().contains(QStringLiteral("Parametry programu")));

    EXPECT_TRUE(guide->findText(QStringLiteral("raport kasowy")));
    EXPECT_EQ(guide->Browser->textCursor().selectedText().toLower(), "raport kasowy");
    EXPECT_FALSE(guide->findText(QStringLiteral("qwzxq")));
    EXPECT_EQ(guide->SearchResult->text(), "Nie znaleziono.");
    // A text found once is found again from the beginning.
    ASSERT_TRUE(guide->findText(QStringLiteral("instrukcja obsługi programu")));
    const int first = guide->Browser->textCursor().position();
    EXPECT_TRUE(guide->findText(QStringLiteral("instrukcja obsługi programu")));
    EXPECT_EQ(guide->Browser->textCursor().position(), first);
}

// F1 in a window that waits for an answer opens the guide at that window's chapter, over the
// window, so the guide can be read while it stays open.
TEST_F(SettingsWindows, F1InAWindowOpensTheGuideAtItsChapter)
{
    startWired();
    withModal<TFIRMAF>([&] { entry(window->ParameterMenu, "Dane o Firmie")->trigger(); }, [&](TFIRMAF &company) {
        QTest::keyClick(&company, Qt::Key_F1);
        auto *guide = company.findChild<HelpWindow *>();
        ASSERT_NE(guide, nullptr);
        EXPECT_TRUE(guide->isVisible());
        EXPECT_EQ(guide->Contents->currentItem()->text(0), QStringLiteral("Dane o firmie"));
        company.reject();
    });
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    // Every chapter a window names is one the guide has.
    entry(window->HelpMenu, "Pomoc")->trigger();
    const QStringList headings = window->findChild<HelpWindow *>()->headings();
    for (const QString &chapter : HelpKeys::chapters())
        EXPECT_TRUE(headings.contains(chapter)) << chapter.toStdString();
}

TEST_F(SettingsWindows, TheInformationWindowNamesThisProgram)
{
    startWired();
    withModal<TPROGF>([&] { entry(window->HelpMenu, "O programie")->trigger(); }, [&](TPROGF &information) {
        EXPECT_EQ(information.windowTitle(), "Informacja o programie");
        EXPECT_EQ(information.Heading->text(), "Program Kasa");
        EXPECT_TRUE(information.Version->text().startsWith(QStringLiteral("Wersja ")));
        EXPECT_TRUE(information.FolderLink->text().contains(QStringLiteral("href=\"file://")));
    });
}

// The seller and the author come from the installation's file; web and mail entries are links,
// and "ZAMÓWIENIE" opens only an address that was given.
TEST_F(SettingsWindows, TheInformationWindowShowsTheSellerAndTheAuthorTheInstallationGives)
{
    QFile file(QDir(tree.workingFolder()).filePath(QStringLiteral("informacja.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Sprzedaz]\nNazwa1=Biuro Rachunkowe Żak\nWWW1=zak.example.pl\nEmail1=biuro@zak.example.pl\n"
               "[Autor]\nNazwa=Zespół Kasy\n");
    file.close();
    startWired();
    withModal<TPROGF>([&] { entry(window->HelpMenu, "O programie")->trigger(); }, [&](TPROGF &information) {
        QStringList groups, texts;
        for (const QGroupBox *group : information.findChildren<QGroupBox *>())
            groups.append(group->title());
        for (const QLabel *label : information.findChildren<QLabel *>())
            texts.append(label->text());
        EXPECT_TRUE(groups.contains(QStringLiteral(" Sprzedaż programu : ")));
        EXPECT_TRUE(groups.contains(QStringLiteral(" Autor : ")));
        const QString shown = texts.join(u'\n');
        EXPECT_TRUE(shown.contains(QStringLiteral("Biuro Rachunkowe Żak"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("href=\"http://zak.example.pl\"")));
        EXPECT_TRUE(shown.contains(QStringLiteral("href=\"mailto:biuro@zak.example.pl\"")));
        EXPECT_TRUE(shown.contains(QStringLiteral("Zespół Kasy")));
        EXPECT_EQ(information.OrderButton->text(), QStringLiteral("ZAMÓWIENIE"));
        EXPECT_FALSE(information.OrderButton->isEnabled());
    });
}

} // namespace
