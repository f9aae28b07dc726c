#include "store/table_edit_helpers.h"

#include "store/engine_error.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace {

class TableEditHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        path = tree.workingFolder() + "KASA.DB";
        tree.createTable(path, CashDeskTableDefinition(), {{{"SYMBOL", "A"}, {"NAZWA", "Kasa A"}}});
        desks = tree.open(path);
    }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    QString path;
    std::unique_ptr<Table> desks;
};

TEST_F(TableEditHelpersTest, ARefusedPostIsCancelledAndReported)
{
    desks->append();
    desks->setString("SYMBOL", "A");
    EXPECT_FALSE(PostAndFlush(*desks, prompt));

    EXPECT_EQ(prompt.shownOnce(QString::fromUtf8("Błąd zapisu")).icon, PromptIcon::Error);
    EXPECT_EQ(desks->state(), TableState::Browse);
    EXPECT_EQ(desks->recordCount(), 1);
}

TEST_F(TableEditHelpersTest, APostedRowIsOnDiskAndANonEditingTableIsLeftAlone)
{
    EnsureEditing(*desks);
    EXPECT_EQ(desks->state(), TableState::Edit);
    desks->setString("NAZWA", "Kasa główna");
    EXPECT_TRUE(PostAndFlush(*desks, prompt));
    EXPECT_EQ(tree.column(path, "NAZWA"), QStringList{QString::fromUtf8("Kasa główna")});

    EXPECT_TRUE(PostAndFlush(*desks, prompt)); // browsing: nothing to post
    desks->close();
    EXPECT_TRUE(PostAndFlush(*desks, prompt));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(TableEditHelpersTest, EnsureEditingKeepsANewRow)
{
    desks->append();
    EnsureEditing(*desks);
    EXPECT_EQ(desks->state(), TableState::Insert);
}

TEST_F(TableEditHelpersTest, ARuleThatRefusesThePostHasTheLastWord)
{
    desks->events.beforePost = [](Table &) {
        struct Abort refused;
        throw refused;
    };
    desks->append();
    desks->setString("SYMBOL", "B");
    EXPECT_THROW(PostAndFlush(*desks, prompt), struct Abort);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(desks->state(), TableState::Insert);
}

} // namespace
