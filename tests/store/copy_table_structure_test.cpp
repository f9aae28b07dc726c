#include "store/copy_table_structure.h"

#include "base/global_state.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

class CopyTableStructureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        TableDefinition definition = CashReportTableDefinition();
        definition.fields[0].required = true;
        tree.createTable(source, definition,
                         {{{"SYMBOL", "A"}, {"NUMER", 1}, {"BOWARTOSC", "10"}, {"OSOBA", "Jan"}},
                          {{"SYMBOL", "A"}, {"NUMER", 2}, {"BOWARTOSC", "20"}, {"OSOBA", "Ewa"}},
                          {{"SYMBOL", "B"}, {"NUMER", 1}, {"BOWARTOSC", "30"}}});
        reports = tree.open(source);
    }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    GlobalState state;
    TableHelperContext context{tree.session(), prompt, state};
    const QString source = tree.yearTable("2019", "KASA\\RKASA.DB");
    const QString target = tree.yearTable("2020", "KASA\\RKASA.DB");
    std::unique_ptr<Table> reports;
};

TEST_F(CopyTableStructureTest, CopiesEveryRowWhateverTheSourceShowsAndClearsTheNamedFields)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    reports->setFilterCondition("SYMBOL", "A");
    reports->setFiltered(true);
    reports->last();

    ASSERT_TRUE(CopyTableStructure(*reports, target, true, "BOWARTOSC;OSOBA", context));

    TableDefinition expected = CashReportTableDefinition();
    EXPECT_EQ(tree.open(target)->definition(), expected); // nothing required in the copy
    EXPECT_EQ(tree.column(target, "NUMER"), QStringList({"1", "2", "1"}));
    EXPECT_EQ(tree.column(target, "BOWARTOSC"), QStringList({"", "", ""}));
    EXPECT_EQ(tree.column(target, "OSOBA"), QStringList({"", "", ""}));
    // The source object is where it was.
    EXPECT_TRUE(reports->filtered());
    EXPECT_EQ(reports->recordCount(), 2);
    EXPECT_EQ(reports->asInteger("NUMER"), 2);
    EXPECT_EQ(tree.column(source, "OSOBA"), QStringList({"Jan", "Ewa", ""}));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(CopyTableStructureTest, WithoutRowsOnlyTheStructureIsMade)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    ASSERT_TRUE(CopyTableStructure(*reports, target, false, QString(), context));
    EXPECT_TRUE(tree.open(target)->isEmpty());
}

TEST_F(CopyTableStructureTest, AnExistingTargetIsLeftAlone)
{
    tree.createTable(target, CashDeskTableDefinition(), {{{"SYMBOL", "Z"}}});
    EXPECT_FALSE(CopyTableStructure(*reports, target, true, QString(), context));
    EXPECT_EQ(tree.column(target, "SYMBOL"), QStringList{"Z"});
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(CopyTableStructureTest, ATargetThatCannotBeCreatedIsReported)
{
    // A file stands where the target's folder should be.
    QFile blocker(tree.dataRoot() + "2020");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(CopyTableStructure(*reports, target, true, QString(), context));
    const ScriptedPrompt::Message message = prompt.shownOnce(QString::fromUtf8("Nie mozna utworzyć tabeli"));
    EXPECT_EQ(message.caption, QString::fromUtf8("Błąd"));
}

TEST_F(CopyTableStructureTest, AFieldThatCannotBeClearedRemovesTheHalfMadeCopy)
{
    QDir().mkpath(QFileInfo(target).absolutePath());
    EXPECT_FALSE(CopyTableStructure(*reports, target, true, "NIEMA", context));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(CopyTableStructure(*reports, target, true, QString(), context));
}

} // namespace
