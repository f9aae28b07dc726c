#include "store/select_year.h"

#include "base/clock.h"
#include "base/date_state.h"
#include "base/global_state.h"
#include "support/qt_printers.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString MissingYearWarning(const QString &year, const QString &last)
{
    return "Brak otwartego roku : " + year + "\r" + "Rok zostanie zmieniony na : " + last;
}

QString NewYearReminder(const QString &year)
{
    return "Proszę otworzyć nowy rok " + year + "\r"
           + "w celu poprawnego działania programu w nowym roku.";
}

// A data root in a temporary folder, today's date and the arguments the program was given.
class SelectYearTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        state.DataRoot = rootPath();
    }

    QString rootPath() const { return QDir::toNativeSeparators(root.path()) + QDir::separator(); }

    void addFolders(const QStringList &names)
    {
        for (const QString &name : names)
            ASSERT_TRUE(QDir(root.path()).mkpath(name));
    }

    void addFile(const QString &name)
    {
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    // The first opening of the day: the date state is set just before, as at start-up.
    void select(QDate today, std::optional<QString> fiscalYearStart = std::nullopt)
    {
        InitDateState(state, FixedClock(today));
        SelectYear(state, arguments, programFolder, fiscalYearStart, prompt);
    }

    QTemporaryDir root;
    GlobalState state;
    ScriptedPrompt prompt;
    QStringList arguments;
    QString programFolder = "/opt/kasa/";
};

}  // namespace

TEST_F(SelectYearTest, YearFoldersAreFoldersBeginningWithOneOrTwoInCodeUnitOrder)
{
    addFolders({"2019", "2018", "1abc", "KASA", "3000", "2019a", "BAZA"});
    addFile("2020");
    addFile("1999.txt");

    select(QDate(2019, 6, 1));

    EXPECT_EQ(state.YearFolders, (QStringList{"1abc", "2018", "2019", "2019a"}));
    EXPECT_EQ(state.CurrentYear, "2019");
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(SelectYearTest, YearFoldersAreRebuiltOnEveryRun)
{
    addFolders({"2019"});
    state.YearFolders = QStringList{"2005", "2006"};
    select(QDate(2019, 6, 1));
    EXPECT_EQ(state.YearFolders, QStringList{"2019"});
}

TEST_F(SelectYearTest, AnEmptyDataRootFallsBackToTheProgramFolder)
{
    state.DataRoot.clear();
    programFolder = rootPath();
    addFolders({"2019"});

    select(QDate(2019, 6, 1));

    EXPECT_EQ(state.DataRoot, rootPath());
    EXPECT_EQ(state.YearFolders, QStringList{"2019"});
}

struct FiscalYearCase {
    QDate today;
    std::optional<QString> fiscalYearStart;
    QString year;
};

class FiscalYearStart : public SelectYearTest,
                        public testing::WithParamInterface<FiscalYearCase> {};

TEST_P(FiscalYearStart, BeforeTheStartTheBooksBelongToThePreviousYear)
{
    addFolders({"2018", "2019"});
    select(GetParam().today, GetParam().fiscalYearStart);
    EXPECT_EQ(state.CurrentYear, GetParam().year);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FiscalYearStart,
    testing::Values(FiscalYearCase{QDate(2019, 3, 15), "04.01", "2018"},
                    FiscalYearCase{QDate(2019, 4, 1), "04.01", "2019"},
                    FiscalYearCase{QDate(2019, 3, 31), "4.01", "2019"},  // "4." is no month
                    FiscalYearCase{QDate(2019, 1, 1), "01.01", "2019"},
                    FiscalYearCase{QDate(2019, 1, 1), "", "2019"},
                    FiscalYearCase{QDate(2019, 1, 1), "ab.cd", "2019"},
                    FiscalYearCase{QDate(2019, 1, 1), std::nullopt, "2019"}));

TEST_F(SelectYearTest, RokArgumentMovesToTheLastYearWhenItsFolderIsMissing)
{
    addFolders({"2018", "2019"});
    for (const QString &word : {"rok", "ROK"}) {
        prompt.clear();
        arguments = QStringList{word, "2017", "nowy"};

        select(QDate(2019, 6, 1));

        const ScriptedPrompt::Message shown = prompt.shownOnce(MissingYearWarning("2017", "2019"));
        EXPECT_EQ(shown.icon, PromptIcon::Warning);
        EXPECT_EQ(shown.buttons, Ok);
        EXPECT_EQ(prompt.messages().size(), 1);
        EXPECT_EQ(state.CurrentYear, "2019");
        EXPECT_EQ(state.CommandArgIndex, 3);
    }
}

// A rok argument that is no four-digit year never becomes part of a path, with year folders or
// without.
TEST_F(SelectYearTest, RokArgumentThatIsNoYearIsRefused)
{
    for (const bool folders : {true, false}) {
        if (folders)
            addFolders({"2018", "2019", "2019_stary"});
        for (const QString &year : {"../../tmp", "19", "2019_stary", "20190", "２０１９", ""}) {
            SCOPED_TRACE(year.toStdString());
            prompt.clear();
            arguments = QStringList{"rok", year};
            select(QDate(2019, 6, 1));
            EXPECT_EQ(state.CurrentYear, "2019");
            prompt.shownOnce(MissingYearWarning(year, "2019"));
            EXPECT_EQ(prompt.messages().size(), 1);
        }
    }
}

TEST_F(SelectYearTest, RokArgumentSelectsAnExistingYearAfterTheFiscalShift)
{
    addFolders({"2017", "2018", "2019"});
    arguments = QStringList{"rok", "2017"};

    select(QDate(2019, 3, 15), "04.01");

    EXPECT_EQ(state.CurrentYear, "2017");
    EXPECT_EQ(state.CommandArgIndex, 3);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(SelectYearTest, WithoutRokTheFirstArgumentIsInterpreted)
{
    addFolders({"2019"});
    state.CommandArgIndex = 3;
    arguments = QStringList{"nowy", "RD=KP"};
    select(QDate(2019, 6, 1));
    EXPECT_EQ(state.CommandArgIndex, 1);
}

TEST_F(SelectYearTest, NoYearFoldersKeepTheYearWithoutWarnings)
{
    arguments = QStringList{"rok", "2017"};
    select(QDate(2019, 12, 20));
    EXPECT_EQ(state.CurrentYear, "2017");
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(SelectYearTest, NewYearReminderFromTheSixteenthOfDecember)
{
    addFolders({"2018", "2019"});

    select(QDate(2019, 12, 15));
    EXPECT_TRUE(prompt.messages().isEmpty());

    select(QDate(2019, 12, 16));
    const ScriptedPrompt::Message shown = prompt.shownOnce(NewYearReminder("2020"));
    EXPECT_EQ(shown.icon, PromptIcon::Warning);
    EXPECT_EQ(state.CurrentYear, "2019");

    prompt.clear();
    addFolders({"2020"});
    select(QDate(2019, 12, 31));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(SelectYearTest, ReminderNamesTheYearAfterTodayNotAfterTheWorkingYear)
{
    addFolders({"2018"});
    arguments = QStringList{"rok", "2018"};

    select(QDate(2019, 12, 20));

    EXPECT_EQ(prompt.texts(), QStringList{NewYearReminder("2020")});
}

TEST_F(SelectYearTest, ReopeningKeepsTheChosenYear)
{
    addFolders({"2017", "2018", "2019"});
    arguments = QStringList{"rok", "2019"};
    select(QDate(2019, 3, 15), "04.01");
    ASSERT_EQ(state.CurrentYear, "2019");

    // The year change picks 2017; opening the tables again must not undo or shift that choice.
    state.CurrentYear = "2017";
    SelectYear(state, arguments, programFolder, "04.01", prompt, YearSelectionRun::Reopen);

    EXPECT_EQ(state.CurrentYear, "2017");
    EXPECT_EQ(state.CommandArgIndex, 3);
    EXPECT_TRUE(prompt.messages().isEmpty());
}
