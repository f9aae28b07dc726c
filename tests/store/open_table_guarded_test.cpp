#include "store/open_table_guarded.h"

#include "base/global_state.h"
#include "store/structure_listing.h"
#include "store/table_connection.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class OpenTableGuardedTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tree.isValid()); }

    // A cash-desk table in the working folder; its path without extension.
    QString desks(const QString &name = QStringLiteral("KASA"))
    {
        const QString path = tree.workingFolder() + name;
        tree.createTable(path + ".DB", CashDeskTableDefinition(), {{{"SYMBOL", "A"}}});
        return path;
    }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    GlobalState state;
    TableHelperContext context{tree.session(), prompt, state};
};

TEST_F(OpenTableGuardedTest, WithoutADisplayNameTheTableOpensSilently)
{
    const QString path = desks();
    Table t(tree.session());
    EXPECT_TRUE(OpenTableGuarded(t, path, QString(), context));
    EXPECT_TRUE(t.isOpen());
    EXPECT_TRUE(state.OpenedTableList.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path + ".STR"));

    EXPECT_FALSE(OpenTableGuarded(t, tree.workingFolder() + "BRAK", QString(), context));
    EXPECT_FALSE(t.isOpen());
    EXPECT_TRUE(prompt.messages().isEmpty());
}

// Another program holds the table exclusively (its open-lock on the file): the engine's message
// and another try, not the advice to repair indexes.
TEST_F(OpenTableGuardedTest, ATableInUseByAnotherProgramIsOfferedAnotherTry)
{
    const QString path = desks();
    const int otherProgram = ::open(QFile::encodeName(path + ".DB").constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(otherProgram, LOCK_EX | LOCK_NB), 0);
    Table t(tree.session());
    prompt.answers({Retry, Cancel});
    EXPECT_FALSE(OpenTableGuarded(t, path, QStringLiteral("Baza Kasy"), context));
    const QString locked = LockedMessage(path + ".DB");
    EXPECT_EQ(prompt.texts(), (QStringList{locked, locked}));
    EXPECT_EQ(prompt.messages().first().buttons, Retry | Cancel);

    ::close(otherProgram);
    prompt.clear();
    EXPECT_TRUE(OpenTableGuarded(t, path, QStringLiteral("Baza Kasy"), context));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(OpenTableGuardedTest, AnExistingListingIsNotRewrittenEvenWhenTheStructureChanged)
{
    const QString path = desks();
    TableDefinition earlier;
    earlier.fields = {{"SYMBOL", FieldType::Text, 3, false}};
    ASSERT_TRUE(WriteStructureListingFile(path + ".STR", earlier));
    Table t(tree.session());
    EXPECT_TRUE(OpenTableGuarded(t, path, QStringLiteral("Baza Kasy"), context));

    QFile listing(path + ".STR");
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    EXPECT_EQ(listing.readAll(), StructureListingText(earlier));
    EXPECT_EQ(state.OpenedTableList, QStringList{path});
}

TEST_F(OpenTableGuardedTest, AtMostFiftyTablesAreRecorded)
{
    const QString path = desks();
    Table t(tree.session());
    for (int i = 0; i < 55; ++i)
        OpenTableGuarded(t, path, QStringLiteral("Baza Kasy"), context);
    EXPECT_EQ(state.OpenedTableList.size(), 50);
}

TEST_F(OpenTableGuardedTest, AFileThatStaysReadOnlyIsReportedForEachSuchFile)
{
    const QString path = desks();
    ASSERT_TRUE(QFile::setPermissions(path + ".DB", QFileDevice::ReadOwner));
    // A companion whose attribute cannot be changed: a link to nothing.
    ASSERT_TRUE(QFile::link(tree.workingFolder() + "nie-ma", path + ".LCK"));
    prompt.answer(Yes);
    Table t(tree.session());
    EXPECT_TRUE(OpenTableGuarded(t, path, QStringLiteral("Baza Kasy"), context));

    EXPECT_EQ(prompt.shownOnce(QString::fromUtf8("Próba automatycznej zmiany atrybutu niepowiodła się.\r"
                                                 "Proszę atrybuty bazy zmienic ręcznie."))
                  .icon,
              PromptIcon::None);
    EXPECT_EQ(prompt.messages().size(), 2);
    EXPECT_TRUE(t.isOpen());
    EXPECT_FALSE(t.isReadOnly());
}

TEST_F(OpenTableGuardedTest, ATableObjectOfTheDataModuleNeedsItsKeyAndLinkFields)
{
    // A report table of the oldest version has no desk symbol.
    const QString path = tree.workingFolder() + "RKASA";
    tree.createTable(path + ".DB", OldCashReportTableDefinition());
    Table reports(tree.session(), QStringLiteral("TRKASA"));
    EXPECT_FALSE(OpenTableGuarded(reports, path, QStringLiteral("Baza Raport Kasowy"), context));
    EXPECT_EQ(prompt.count(QString::fromUtf8("Błąd otwarcia bazy : Baza Raport Kasowy\rBaza : ") + path
                           + QString::fromUtf8(".DB\rUżyj polecenia Narzędzia/Naprawa indeksów.\r"
                                               "Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM")),
              1);

    // The probe for the oldest structure opens it, and does not open a current one.
    Table probe(tree.session(), QStringLiteral("TRKASAS"));
    EXPECT_TRUE(OpenTableGuarded(probe, path, QString(), context));
    const QString current = tree.workingFolder() + "NOWE";
    tree.createTable(current + ".DB", CashReportTableDefinition());
    EXPECT_FALSE(OpenTableGuarded(probe, current, QString(), context));
}

} // namespace
