#include "store/old_version_conversion.h"

#include "base/global_state.h"
#include "store/folder_files.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kYear = QStringLiteral("2019");

// The year's cash tables in the oldest structure.
class OldVersionConversionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        state.DataRoot = tree.dataRoot();
        state.CurrentYear = kYear;
    }

    QString cash(const QString &name) const { return tree.yearTable(kYear, QStringLiteral("KASA\\") + name); }

    void createOldTables(const QList<RowValues> &desks, const QList<RowValues> &reports, const QList<RowValues> &documents)
    {
        tree.createTable(cash("KASA.DB"), OldCashDeskTableDefinition(), desks);
        tree.createTable(cash("RKASA.DB"), OldCashReportTableDefinition(), reports);
        tree.createTable(cash("NAGKASA.DB"), OldCashDocumentTableDefinition(), documents);
    }

    // "SYMBOL/NUMER" of every report, in key order.
    QStringList reportKeys()
    {
        auto reports = tree.open(cash("RKASA.DB"));
        QStringList keys;
        for (reports->first(); !reports->eof(); reports->next())
            keys << reports->asString("SYMBOL") + u'/' + reports->asString("NUMER");
        return keys;
    }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    GlobalState state;
    TableHelperContext context{tree.session(), prompt, state};
};

TEST_F(OldVersionConversionTest, DesksGetSymbolsAndReportsNumbersWithTheirDocuments)
{
    TableDefinition desks = OldCashDeskTableDefinition();
    desks.fields.append({"SYMBOL", FieldType::Text, 5, false}); // one desk already has a symbol
    tree.createTable(cash("KASA.DB"), desks,
                     {{{"AUTOKASA", 1}, {"NAZWA", "Kasa A"}},
                      {{"AUTOKASA", 2}, {"NAZWA", "Kasa B"}, {"SYMBOL", "1"}},
                      {{"AUTOKASA", 3}, {"NAZWA", "Kasa C"}, {"KONTO", "101-3"}}});
    // Desk 1: two reports without a number and one numbered 1; desk 3: one numbered 4.
    tree.createTable(cash("RKASA.DB"), OldCashReportTableDefinition(),
                     {{{"AUTOKASA", 1}, {"OZNACZENIE", "a"}}, {{"AUTOKASA", 1}, {"NUMER", 1}, {"OZNACZENIE", "b"}},
                      {{"AUTOKASA", 1}, {"NUMER", 0}, {"OZNACZENIE", "c"}, {"ZAMKNIETY", true}},
                      {{"AUTOKASA", 3}, {"NUMER", 4}, {"OZNACZENIE", "d"}, {"BOWARTOSC", "10,25"}}});
    tree.createTable(cash("NAGKASA.DB"), OldCashDocumentTableDefinition(),
                     {{{"AUTOKASA", 1}, {"AUTORK", 1}, {"RD", "KP"}, {"NRD", 1}, {"KWOTA", "5"}},
                      {{"AUTOKASA", 1}, {"AUTORK", 3}, {"RD", "KW"}, {"NRD", 2}, {"ONAZ1", "Nowak"}},
                      {{"AUTOKASA", 1}, {"AUTORK", 3}, {"RD", "KW"}, {"NRD", 2}, {"KWOTAP", "2,5"}},
                      {{"AUTOKASA", 3}, {"AUTORK", 4}, {"RD", "RZ"}, {"NRD", 9}, {"TYT1", "Rozliczenie"}}});

    ASSERT_TRUE(ConvertOldVersionTables(context).completed);

    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(tree.column(cash("KASA.DB"), "SYMBOL"), QStringList({"1", "2", "3"}));
    EXPECT_EQ(tree.column(cash("KASA.DB"), "NAZWA"), QStringList({"Kasa B", "Kasa A", "Kasa C"}));
    EXPECT_EQ(tree.column(cash("KASA.DB"), "KONTO"), QStringList({"", "", "101-3"}));
    // Desk A ("2"): the unnumbered reports take 2 and 3, since 1 is used; desk C ("3") keeps 4.
    EXPECT_EQ(reportKeys(), QStringList({"2/1", "2/2", "2/3", "3/4"}));
    EXPECT_EQ(tree.column(cash("RKASA.DB"), "OZNACZENIE"), QStringList({"b", "a", "c", "d"}));
    EXPECT_EQ(tree.column(cash("RKASA.DB"), "ZAMKNIETY"), QStringList({"", "", "True", ""}));
    EXPECT_EQ(tree.column(cash("RKASA.DB"), "BOWARTOSC"), QStringList({"", "", "", "10,25"}));

    auto documents = tree.open(cash("NAGKASA.DB"));
    EXPECT_EQ(documents->definition(), ConvertedCashDocumentTableDefinition());
    QStringList rows;
    for (documents->first(); !documents->eof(); documents->next())
        rows << QStringList{documents->asString("SYMBOL"), documents->asString("NUMER"), documents->asString("RD"),
                            documents->asString("NRD"), documents->asString("KWOTA") + documents->asString("KWOTAP")
                                                            + documents->asString("ONAZ1") + documents->asString("TYT1")}
                    .join(u' ');
    EXPECT_EQ(rows, QStringList({"2 2 KP 1 5", "2 3 KW 2 Nowak", "2 3 KW 2 2,5", "3 4 RZ 9 Rozliczenie"}));
    // The converted tables stay in KONWERT; the old listings went with the old tables.
    for (const char *name : {"KASA.DB", "RKASA.DB", "NAGKASA.DB"})
        EXPECT_TRUE(QFileInfo::exists(cash(QStringLiteral("KONWERT/") + name))) << name;
}

// Old data the new keys cannot hold as it is: symbols alike once cut to five characters, two
// reports of a desk under one number. The later row takes a free value, its documents follow
// it, and the closing notes list every change.
TEST_F(OldVersionConversionTest, CollidingSymbolsAndReportNumbersAreRenumbered)
{
    TableDefinition desks = OldCashDeskTableDefinition();
    desks.fields.append({"SYMBOL", FieldType::Text, 10, false});
    tree.createTable(cash("KASA.DB"), desks,
                     {{{"AUTOKASA", 1}, {"NAZWA", "Kasa A"}, {"SYMBOL", "KASA-GLOWNA"}},
                      {{"AUTOKASA", 2}, {"NAZWA", "Kasa B"}, {"SYMBOL", "KASA-WALUT"}}});
    tree.createTable(cash("RKASA.DB"), OldCashReportTableDefinition(),
                     {{{"AUTOKASA", 1}, {"NUMER", 1}, {"OZNACZENIE", "a"}}, {{"AUTOKASA", 1}, {"NUMER", 1}, {"OZNACZENIE", "b"}},
                      {{"AUTOKASA", 2}, {"NUMER", 1}, {"OZNACZENIE", "c"}}});
    tree.createTable(cash("NAGKASA.DB"), OldCashDocumentTableDefinition(),
                     {{{"AUTOKASA", 1}, {"AUTORK", 2}, {"RD", "KP"}, {"NRD", 1}, {"KWOTA", "5"}}});

    const auto outcome = ConvertOldVersionTables(context);
    ASSERT_TRUE(outcome.completed) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(tree.column(cash("KASA.DB"), "SYMBOL"), QStringList({"1", "KASA-"}));
    EXPECT_EQ(reportKeys(), QStringList({"1/1", "KASA-/1", "KASA-/2"}));
    auto documents = tree.open(cash("NAGKASA.DB"));
    documents->first();
    EXPECT_EQ(documents->asString("SYMBOL") + u'/' + documents->asString("NUMER"), QStringLiteral("KASA-/2"));
    EXPECT_TRUE(outcome.notes.contains(QStringLiteral("symbol zajęty, nadano \"1\""))) << outcome.notes.toStdString();
    EXPECT_TRUE(outcome.notes.contains(QStringLiteral("numer 1 powtórzony, nadano 2"))) << outcome.notes.toStdString();
}

TEST_F(OldVersionConversionTest, AnOldTableThatCannotBeOpenedLeavesEverythingAsItWas)
{
    createOldTables({{{"AUTOKASA", 1}}}, {{{"AUTOKASA", 1}}}, {});
    tree.removeTable(cash("NAGKASA.DB"));
    QFile listing(cash("KASA.STR"));
    ASSERT_TRUE(listing.open(QIODevice::WriteOnly));
    listing.close();

    EXPECT_FALSE(ConvertOldVersionTables(context).completed);
    EXPECT_EQ(prompt.shownOnce(QStringLiteral("Nie mozna otworzyć tabeli")).icon, PromptIcon::Error);
    EXPECT_EQ(tree.open(cash("KASA.DB"))->definition(), OldCashDeskTableDefinition());
    EXPECT_EQ(tree.open(cash("RKASA.DB"))->definition(), OldCashReportTableDefinition());
    EXPECT_TRUE(QFileInfo::exists(cash("KASA.STR")));
}

TEST_F(OldVersionConversionTest, ConversionTablesThatCannotBeCreatedAreReported)
{
    createOldTables({{{"AUTOKASA", 1}}}, {}, {});
    // A file where the conversion folder should be.
    QFile blocker(cash("KONWERT"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    EXPECT_FALSE(ConvertOldVersionTables(context).completed);
    EXPECT_EQ(prompt.shownOnce(QString::fromUtf8("Nie mozna utworzyć tabeli")).icon, PromptIcon::Error);
    EXPECT_EQ(tree.open(cash("KASA.DB"))->definition(), OldCashDeskTableDefinition());
}

// Tables of the oldest version on a server are not converted there: the user is told to convert
// them on files, and nothing is touched.
TEST_F(OldVersionConversionTest, ATreeOnAServerIsSentToFilesForTheConversion)
{
    state.DataRoot = QStringLiteral("pg:biuro/");
    EXPECT_FALSE(ConvertOldVersionTables(context).completed);
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages().first().icon, PromptIcon::Error);
    EXPECT_TRUE(prompt.messages().first().text.startsWith(
        QStringLiteral("Tabele kasy na serwerze bazy danych biuro są w starej wersji programu.")));
}

TEST(CopyFolderFilesTest, ReplacesFilesOfTheSameNameInAnyCaseAndSkipsFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir root(dir.path());
    root.mkpath("zrodlo/podfolder");
    root.mkpath("cel");
    auto write = [&](const QString &path, const QByteArray &content) {
        QFile file(root.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write("zrodlo/KASA.DB", "nowa kasa");
    write("zrodlo/RKASA.DB", "nowe raporty");
    write("cel/kasa.db", "stara kasa");
    write("cel/INNY.DB", "bez zmian");

    CopyFolderFiles(root.filePath("zrodlo"), root.filePath("cel"));

    QStringList entries = QDir(root.filePath("cel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    entries.sort();
    EXPECT_EQ(entries, QStringList({"INNY.DB", "RKASA.DB", "kasa.db"}));
    auto read = [&](const QString &path) {
        QFile file(root.filePath(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(read("cel/kasa.db"), QByteArray("nowa kasa"));
    EXPECT_EQ(read("cel/RKASA.DB"), QByteArray("nowe raporty"));
    EXPECT_EQ(read("cel/INNY.DB"), QByteArray("bez zmian"));
}

} // namespace
