#include "maintenance_fixture.h"

#include "maintenance/archive_reminder.h"
#include "support/scripted_prompt.h"
#include "store/table.h"

#include <optional>

TEST(ArchiveDayCount, CalendarDaysOrZeroForNoDay)
{
    const QList<std::tuple<const char *, const char *, int>> cases = {
        {"2019.05.07", "2019.05.10", 3}, {"2019.02.27", "2019.03.02", 3}, {"2020.02.27", "2020.03.02", 4},
        {"2019.12.30", "2020.01.02", 3}, {"2018.05.10", "2019.05.10", 365}, {"2019.13.45", "2019.05.10", 0},
        {"2019.02.30", "2019.05.10", 0}, {"abcd.ef.gh", "2019.05.10", 0}, {"2019.05.10", "2019.05.10", 0},
    };
    for (const auto &[from, to, days] : cases)
        EXPECT_EQ(ArchiveDayCount(QString::fromUtf8(from), QString::fromUtf8(to)), days) << from << " " << to;
}

class ArchiveReminderTest : public MaintenanceTest {};

// The reminder's question, what it stores on the company row, and when it asks.
TEST_F(ArchiveReminderTest, AsksWhenTheIntervalHasPassed)
{
    struct Case {
        std::optional<int> interval; // empty: ARCHDNI left empty
        const char *archiveDate;
        const char *today;
        int storedInterval;
        const char *storedDate;
        int askedDays; // -1: no question
    };
    const QList<Case> cases = {
        {std::nullopt, "2019.05.07", "2019.05.10", 3, "2019.05.07", 3},
        {3, "2019.05.08", "2019.05.10", 3, "2019.05.08", -1},
        {3, "2019.12.30", "2020.01.02", 3, "2019.12.30", 3},
        {0, "2000.01.01", "2019.05.10", 0, "2000.01.01", -1},
        {-2, "2000.01.01", "2019.05.10", -2, "2000.01.01", -1},
        {3, "2019.13.45", "2019.05.10", 3, "2019.13.45", -1},
        {3, "", "2019.05.10", 3, "2019.05.10", -1},
        {3, "2019.5.1", "2019.05.10", 3, "2019.05.10", -1},
        {30, "2019.04.10", "2019.05.10", 30, "2019.04.10", 30},
    };
    auto company = tree.open(tree.companyTable());
    for (const Case &c : cases) {
        company->edit();
        if (c.interval)
            company->setInteger(QStringLiteral("ARCHDNI"), *c.interval);
        else
            company->clear(QStringLiteral("ARCHDNI"));
        company->setString(QStringLiteral("ARCHDATA"), QString::fromUtf8(c.archiveDate));
        company->post();
        ScriptedPrompt prompt;
        prompt.answer(Yes);
        int shown = 0;
        SPRAWDZ(*company, prompt, QString::fromUtf8(c.today), [&] { ++shown; });

        const std::string label = std::string(c.archiveDate) + " " + c.today;
        auto stored = tree.open(tree.companyTable());
        EXPECT_EQ(stored->asInteger(QStringLiteral("ARCHDNI")), c.storedInterval) << label;
        EXPECT_EQ(stored->asString(QStringLiteral("ARCHDATA")), QString::fromUtf8(c.storedDate)) << label;
        if (c.askedDays < 0) {
            EXPECT_TRUE(prompt.messages().isEmpty()) << label;
            EXPECT_EQ(shown, 0) << label;
        } else {
            const auto question = prompt.shownOnce(QStringLiteral("Minęły %1 od ostatniej aktualizacji ARCHIWUM.\r"
                                                                  "Czy chcesz zarchiwować dane ?")
                                                       .arg(c.askedDays));
            EXPECT_EQ(question.icon, PromptIcon::Warning);
            EXPECT_EQ(shown, 1) << label;
        }
    }
}

TEST_F(ArchiveReminderTest, NoMeansNoWindowAndAClosedTableNothing)
{
    auto company = tree.open(tree.companyTable());
    company->edit();
    company->setInteger(QStringLiteral("ARCHDNI"), 3);
    company->setString(QStringLiteral("ARCHDATA"), QStringLiteral("2019.01.01"));
    company->post();
    ScriptedPrompt prompt;
    prompt.answer(No);
    int shown = 0;
    SPRAWDZ(*company, prompt, QStringLiteral("2019.05.10"), [&] { ++shown; });
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(shown, 0);

    company->close();
    SPRAWDZ(*company, prompt, QStringLiteral("2019.05.10"), [&] { ++shown; });
    EXPECT_EQ(prompt.messages().size(), 1);
}
