#include "contractors/contractor_catalogue.h"
#include "store/table.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace {

// A year's contractor table and its descriptions, linked by NR as the catalogue works on them.
class ContractorCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withStandardTree(QStringLiteral("2019"));
    }

    QString contractorFile() const { return tree.yearTable(QStringLiteral("2019"), QStringLiteral("FIN\\KONTRAHI.DB")); }
    QString descriptionFile() const { return tree.yearTable(QStringLiteral("2019"), QStringLiteral("FIN\\KONTRAHO.DB")); }

    void addContractors(const QList<RowValues> &rows) { tree.addRows(contractorFile(), rows); }
    void addNumbers(const QList<int> &numbers)
    {
        QList<RowValues> rows;
        for (int number : numbers)
            rows.append({{"NR", number}, {"SKROT", QStringLiteral("K%1").arg(number)}});
        addContractors(rows);
    }

    void close()
    {
        catalogue.reset();
        descriptions.reset();
        contractors.reset();
    }

    void open()
    {
        close();
        contractors = tree.open(contractorFile());
        descriptions = std::make_unique<Table>(tree.session());
        descriptions->setMasterSource(contractors.get(), {QStringLiteral("NR")}, {QStringLiteral("NR")});
        catalogue = std::make_unique<ContractorCatalogue>(*contractors, *descriptions, prompt);
        ASSERT_TRUE(catalogue->openDescriptions(descriptionFile()));
    }

    QStringList stored(const QString &path, const QString &field) { return tree.column(path, field); }
    QStringList numbers() { return stored(contractorFile(), QStringLiteral("NR")); }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    std::unique_ptr<Table> contractors;
    std::unique_ptr<Table> descriptions;
    std::unique_ptr<ContractorCatalogue> catalogue;
};

TEST_F(ContractorCatalogueTest, ANewContractorTakesTheHighestNumberPlusOneAndIsStoredAtOnce)
{
    struct Case {
        QList<int> present;
        QString expected;
    };
    const QList<Case> cases{{{}, "1"}, {{1, 2, 7}, "8"}, {{5, 99998}, "99999"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        close();
        tree.createTable(contractorFile(), ContractorTableDefinition());
        addNumbers(c.present);
        open();
        // The list is in another order: the number is still the highest plus one.
        catalogue->orderBy(ContractorKey::ShortName);
        EXPECT_TRUE(catalogue->addContractor());
        EXPECT_EQ(contractors->asString("NR"), c.expected);
        EXPECT_EQ(contractors->state(), TableState::Browse);
        EXPECT_EQ(contractors->indexName(), "");
        EXPECT_TRUE(numbers().contains(c.expected));
        EXPECT_EQ(catalogue->countText(), QStringLiteral("Ilość pozycji  %1").arg(c.present.size() + 1));
        EXPECT_TRUE(prompt.messages().isEmpty());
    }
}

TEST_F(ContractorCatalogueTest, NoContractorIsAddedAfterNumber99999)
{
    addNumbers({3, 99999});
    open();
    EXPECT_FALSE(catalogue->addContractor());
    prompt.shownOnce(ContractorCatalogue::catalogueFullMessage());
    EXPECT_EQ(numbers(), (QStringList{"3", "99999"}));
    EXPECT_EQ(contractors->state(), TableState::Browse);
}

// A second workstation took the number between our look-up and our write: we take the next one.
TEST_F(ContractorCatalogueTest, ANumberTakenMeanwhileGivesTheNextOne)
{
    addNumbers({1});
    open();
    contractors->last(); // our view of the table, read before the other workstation's write
    addNumbers({2});
    EXPECT_TRUE(catalogue->addContractor());
    EXPECT_EQ(contractors->asString("NR"), "3");
    EXPECT_EQ(numbers(), (QStringList{"1", "2", "3"}));
}

// A contractor added and left without a name is asked about, wherever the user goes next.
TEST_F(ContractorCatalogueTest, ANewContractorLeftWithoutANameIsAskedAbout)
{
    const QString question = ContractorCatalogue::unnamedQuestion(QStringLiteral("00003"));
    struct Case {
        const char *name;
        bool named;
        bool addedAgain;
        PromptButton answer;
        QStringList kept;
    };
    const QList<Case> cases{
        {"another row, Tak", false, false, Yes, {"1", "2"}},
        {"another row, Nie", false, false, No, {"1", "2", "3"}},
        {"a name typed", true, false, Yes, {"1", "2", "3"}},
        {"another new one, Tak", false, true, Yes, {"1", "2", "3"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        close();
        tree.createTable(contractorFile(), ContractorTableDefinition());
        addNumbers({1, 2});
        open();
        prompt.clear();
        ASSERT_TRUE(catalogue->addContractor());
        if (c.named) {
            contractors->edit();
            contractors->setString("NAZWA1", QStringLiteral("Żabka"));
            contractors->post();
        }
        prompt.answer(c.answer);
        if (c.addedAgain) {
            ASSERT_TRUE(catalogue->addContractor()); // the new one takes number 3 again
        } else {
            contractors->first();
            catalogue->currentRowChanged();
            EXPECT_EQ(contractors->asString("NR"), "1"); // the user stays where he went
        }
        EXPECT_EQ(prompt.count(question), c.named ? 0 : 1);
        EXPECT_EQ(numbers(), c.kept);
    }
}

TEST_F(ContractorCatalogueTest, SearchesLandOnTheNearestKeyInPolishOrder)
{
    addContractors({
        {{"NR", 1}, {"SKROT", "Lato"}, {"MIEJSC", "Łódź"}, {"NIP", "111"}},
        {{"NR", 2}, {"SKROT", "Łoś"}, {"MIEJSC", "Sopot"}, {"NIP", "222"}},
        {{"NR", 5}, {"SKROT", "Mak"}, {"MIEJSC", "Śrem"}, {"NIP", "333"}},
        {{"NR", 7}, {"SKROT", "Sowa"}, {"MIEJSC", "Lublin"}, {"NIP", "444"}},
        {{"NR", 9}, {"SKROT", "Śliwa"}, {"MIEJSC", "Zabrze"}, {"NIP", "555"}},
        {{"NR", 11}, {"SKROT", "Kowalski"}, {"MIEJSC", "Tczew"}, {"NIP", "666"}},
    });
    open();
    struct Case {
        ContractorKey key;
        QString typed;
        QString index;
        QString landsOn; // SKROT
    };
    const QString longText(60, u'z');
    const QList<Case> cases{
        {ContractorKey::ShortName, "Ł", "Sinx", "Łoś"},
        {ContractorKey::ShortName, "Lz", "Sinx", "Łoś"},   // every L word goes before Ł
        {ContractorKey::ShortName, "Sz", "Sinx", "Śliwa"}, // and every S word before Ś
        {ContractorKey::ShortName, "kow", "Sinx", "Kowalski"},
        {ContractorKey::ShortName, "", "Sinx", "Kowalski"},
        {ContractorKey::ShortName, longText, "Sinx", "Śliwa"}, // nothing after it: the last row
        {ContractorKey::ShortName, "€漢字", "Sinx", "Kowalski"}, // signs go before letters
        {ContractorKey::Town, "Ł", "Minx", "Lato"},
        {ContractorKey::Town, "Sz", "Minx", "Mak"},
        {ContractorKey::TaxNumber, "3", "Ninx", "Mak"},
        {ContractorKey::Number, "6", "", "Sowa"},
        {ContractorKey::Number, "9", "", "Śliwa"},
        {ContractorKey::Number, "", "", "Lato"},
        {ContractorKey::Number, "12", "", "Kowalski"},         // past the end: the last row
        {ContractorKey::Number, "123456789012345678901", "", "Kowalski"},
        {ContractorKey::Number, "x", "", "Lato"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        catalogue->search(c.key, c.typed);
        EXPECT_EQ(contractors->indexName(), c.index);
        EXPECT_EQ(contractors->asString("SKROT"), c.landsOn);
    }
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(ContractorCatalogueTest, LeavingTheNameFillsAnEmptyShortNameOnly)
{
    const QString name = QStringLiteral("Przedsiębiorstwo Żółw sp. z o.o. ");
    addContractors({{{"NR", 1}, {"NAZWA1", name}}, {{"NR", 2}, {"NAZWA1", name}, {"SKROT", "Żółw"}}});
    open();
    catalogue->fillShortName();
    EXPECT_EQ(contractors->asString("SKROT"), name.left(20));
    EXPECT_TRUE(catalogue->save());
    contractors->next();
    catalogue->fillShortName();
    EXPECT_EQ(contractors->state(), TableState::Browse);
    EXPECT_EQ(stored(contractorFile(), "SKROT"), (QStringList{name.left(20), "Żółw"}));
}

class ContractorNumberChangeTest : public ContractorCatalogueTest {
protected:
    void SetUp() override
    {
        ContractorCatalogueTest::SetUp();
        addContractors({{{"NR", 3}, {"SKROT", "Alfa"}}, {{"NR", 4}, {"SKROT", "Beta"}}});
        tree.addRows(descriptionFile(), {{{"NR", 3}, {"OPIS", "opis Alfy"}}, {{"NR", 8}, {"OPIS", "pozostałość"}}});
        open();
        catalogue->orderBy(ContractorKey::ShortName);
        contractors->first();
    }
};

TEST_F(ContractorNumberChangeTest, ANumberInUseIsRefusedAndBothRowsStay)
{
    EXPECT_FALSE(catalogue->changeNumber(QStringLiteral("4")));
    prompt.shownOnce(ContractorCatalogue::numberTakenMessage());
    EXPECT_EQ(numbers(), (QStringList{"3", "4"}));
    EXPECT_EQ(stored(contractorFile(), "SKROT"), (QStringList{"Alfa", "Beta"}));
    EXPECT_EQ(stored(descriptionFile(), "NR"), (QStringList{"3", "8"}));
    // The list is as it was: its order and its row.
    EXPECT_EQ(contractors->indexName(), "Sinx");
    EXPECT_EQ(contractors->asString("SKROT"), "Alfa");
}

TEST_F(ContractorNumberChangeTest, NoNumberOrOneOutsideTheRangeIsRefused)
{
    for (const QString typed : {"", "0", "100000", "abc"}) {
        prompt.clear();
        EXPECT_FALSE(catalogue->changeNumber(typed));
        prompt.shownOnce(ContractorCatalogue::numberOutOfRangeMessage());
    }
    EXPECT_EQ(numbers(), (QStringList{"3", "4"}));
}

// The description moves with the contractor; the leftover row at the new number, which belonged
// to no contractor, is not taken over.
TEST_F(ContractorNumberChangeTest, TheDescriptionMovesWithTheNumber)
{
    EXPECT_TRUE(catalogue->changeNumber(QStringLiteral("  8")));
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_EQ(numbers(), (QStringList{"4", "8"}));
    EXPECT_EQ(stored(descriptionFile(), "NR"), QStringList{"8"});
    EXPECT_EQ(stored(descriptionFile(), "OPIS"), QStringList{"opis Alfy"});
    EXPECT_EQ(contractors->asString("SKROT"), "Alfa");
    EXPECT_EQ(contractors->indexName(), "Sinx");
    EXPECT_EQ(descriptions->asString("OPIS"), "opis Alfy");

    // Contractor 3 added later starts without a description.
    catalogue->search(ContractorKey::ShortName, "Beta");
    EXPECT_TRUE(catalogue->changeNumber(QStringLiteral("3")));
    EXPECT_TRUE(descriptions->isEmpty());
}

TEST_F(ContractorCatalogueTest, DeletingAskedAndConfirmedTakesTheDescriptionAlong)
{
    addContractors({{{"NR", 1}, {"SKROT", "Alfa"}}, {{"NR", 2}, {"SKROT", "Beta"}}});
    tree.addRows(descriptionFile(), {{{"NR", 1}, {"OPIS", "a"}}, {{"NR", 2}, {"OPIS", "b"}}});
    open();

    prompt.answer(Cancel);
    catalogue->deleteContractor();
    EXPECT_EQ(prompt.shownOnce("Usuń rekord").icon, PromptIcon::Warning);
    EXPECT_EQ(numbers(), (QStringList{"1", "2"}));

    prompt.clear();
    prompt.answer(Ok);
    catalogue->deleteContractor();
    EXPECT_EQ(numbers(), QStringList{"2"});
    EXPECT_EQ(stored(descriptionFile(), "OPIS"), QStringList{"b"});
    EXPECT_EQ(catalogue->countText(), "Ilość pozycji  1");
}

TEST_F(ContractorCatalogueTest, AMissingDescriptionTableIsReportedClosed)
{
    tree.removeTable(descriptionFile());
    close();
    contractors = tree.open(contractorFile());
    descriptions = std::make_unique<Table>(tree.session());
    catalogue = std::make_unique<ContractorCatalogue>(*contractors, *descriptions, prompt);
    EXPECT_FALSE(catalogue->openDescriptions(descriptionFile()));
    EXPECT_FALSE(catalogue->descriptionsOpen());
    tree.createTable(descriptionFile(), ContractorDetailsTableDefinition());
    tree.damageTable(descriptionFile());
    EXPECT_FALSE(catalogue->openDescriptions(descriptionFile()));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

} // namespace
