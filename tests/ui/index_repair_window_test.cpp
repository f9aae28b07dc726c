#include "maintenance/ui/index_repair_window.h"

#include "base/global_state.h"
#include "support/listed_table.h"
#include "support/scripted_prompt.h"
#include "store/session.h"
#include "store/table_schemas.h"

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList LogLines(const QListWidget &log)
{
    QStringList lines;
    for (int i = 0; i < log.count(); ++i)
        lines << log.item(i)->text();
    return lines;
}

class IndexRepairWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        desks_ = dir_.filePath(QStringLiteral("KASA"));
        reports_ = dir_.filePath(QStringLiteral("RKASA"));
        CreateListedTable(session_, desks_, CashDeskTableDefinition());
        CreateListedTable(session_, reports_, CashReportTableDefinition());
        state_.OpenedTableList = {desks_, reports_};
    }

    // The open sequence records its tables afresh each time it runs.
    void rerunOpenSequence()
    {
        ++reruns_;
        state_.OpenedTableList.clear();
        state_.OpenedTableList << desks_ << reports_;
    }

    QTemporaryDir dir_;
    Session session_;
    GlobalState state_;
    ScriptedPrompt prompt_;
    QString desks_;
    QString reports_;
    int reruns_ = 0;
    IndexRepairWindow window_{session_, state_, [this] { rerunOpenSequence(); }, &prompt_};
};

TEST_F(IndexRepairWindowTest, StartButtonAboveALogThatFillsTheWindow)
{
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));

    EXPECT_EQ(window_.windowTitle(), QString::fromUtf8("Naprawa Indeksów"));
    EXPECT_EQ(window_.StartButton->text(), QStringLiteral("START"));
    EXPECT_TRUE(window_.isModal());
    EXPECT_LT(window_.StartButton->geometry().bottom(), window_.Log->geometry().top());
    EXPECT_GT(window_.Log->height(), window_.height() / 2);
    EXPECT_GT(window_.Log->width(), window_.width() * 9 / 10);
}

TEST_F(IndexRepairWindowTest, StartRepairsTheRecordedTablesAndRunningItAgainDoesTheSame)
{
    const QStringList expected{QString::fromUtf8("Bazy danych używane w programie:"), desks_, reports_,
                               QString::fromUtf8("Odtwarzanie baz danych używanych w programie:"),
                               desks_ + " naprawiono.", reports_ + " naprawiono.", "KONIEC"};
    prompt_.answers({Yes, Yes});

    QTest::mouseClick(window_.StartButton, Qt::LeftButton);
    const QStringList first = LogLines(*window_.Log);
    QTest::mouseClick(window_.StartButton, Qt::LeftButton);

    EXPECT_EQ(first, expected);
    EXPECT_EQ(LogLines(*window_.Log), expected);
    EXPECT_EQ(reruns_, 2);
    EXPECT_TRUE(window_.StartButton->isEnabled());
}

TEST_F(IndexRepairWindowTest, AnsweringNoLeavesTheLogAsItWas)
{
    window_.Log->addItem(QStringLiteral("poprzedni przebieg"));
    prompt_.answer(No);

    window_.StartClick();

    EXPECT_EQ(LogLines(*window_.Log), QStringList{QStringLiteral("poprzedni przebieg")});
    EXPECT_EQ(reruns_, 0);
}

} // namespace
