#include "store/structure_upgrades.h"

#include "base/global_state.h"
#include "store/open_table_guarded.h"
#include "store/structure_listing.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The company table of an older version: its first thirty fields, where ZAPAS1..ZAPAS3 still
// held the bank address, the tax office and the capital, and the account number came in parts.
TableDefinition ThirtyFieldCompanyTable()
{
    const QStringList names{"NR",     "DR",    "NIP",     "REGON", "PESEL",  "SKROT", "NAZWA1", "NAZWA2",
                            "ULICA",  "NUMER", "LOKAL",   "KOD",   "POCZTA", "MIEJSCOWOSC", "EMAIL", "WWW",
                            "BANK",   "NUM1",  "NUM2",    "NUM3",  "ZAPAS1", "ZAPAS2", "ZAPAS3", "OBRDATA",
                            "ARCHDATA", "ARCHDNI", "LOGO", "KRAJ", "GMINA",  "POWIAT"};
    TableDefinition current = CompanyTableDefinition();
    TableDefinition older;
    for (const QString &name : names)
        older.fields.append(current.fields[current.fieldIndex(name)]);
    older.fields[older.fieldIndex("NUM1")].size = 2;
    older.fields[older.fieldIndex("NUM2")].size = 8;
    older.fields[older.fieldIndex("NUM3")].size = 30;
    older.indexes = current.indexes;
    return older;
}

const RowValues kOldCompanyRow{
    {"NR", 1},         {"DR", "/dane/"},        {"NIP", "123-456-78-90"}, {"REGON", "012345678"},
    {"PESEL", "80010112345"}, {"SKROT", "Hurtownia"}, {"NAZWA1", "Hurtownia Spożywcza"}, {"NAZWA2", "Jan Nowak"},
    {"ULICA", "Długa"}, {"NUMER", "5"},         {"LOKAL", "2"},           {"KOD", "00-950"},
    {"POCZTA", "Warszawa"}, {"MIEJSCOWOSC", "Warszawa"}, {"EMAIL", "biuro@hurt.pl"}, {"WWW", "hurt.pl"},
    {"BANK", "Bank Polski"}, {"NUM1", "12"},    {"NUM2", "10501234"},     {"NUM3", "1000000012345678"},
    {"ZAPAS1", "ul. Bankowa 1"}, {"ZAPAS2", "Urząd Skarbowy Wola"}, {"ZAPAS3", 50000}, {"OBRDATA", "04.01"},
    {"ARCHDATA", QString()}, {"ARCHDNI", QVariant()}, {"LOGO", true}, {"KRAJ", "Polska"},
    {"GMINA", "Warszawa"}, {"POWIAT", "warszawski"},
};

class StructureUpgradeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        state.TodayText = QStringLiteral("2019.05.10");
    }

    std::unique_ptr<Table> company()
    {
        auto table = std::make_unique<Table>(tree.session(), QStringLiteral("TFIRMA"));
        table->setTableName(tree.companyTable());
        table->open();
        return table;
    }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    GlobalState state;
    TableHelperContext context{tree.session(), prompt, state};
};

TEST_F(StructureUpgradeTest, AThirtyFieldCompanyTableIsRebuiltKeepingItsValues)
{
    tree.createTable(tree.companyTable(), ThirtyFieldCompanyTable(), {kOldCompanyRow});
    WriteStructureListingFile(tree.dataRoot() + "FIRMA.STR", ThirtyFieldCompanyTable());
    auto t = company();
    UpgradeCompanyTable(*t, context);

    ASSERT_TRUE(t->isOpen());
    EXPECT_EQ(t->definition(), CompanyTableDefinition());
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_EQ(t->asString("NUM1"), QStringLiteral("12 1050 1234 1000000012345678"));
    EXPECT_EQ(t->asString("ADRES1"), QStringLiteral("ul. Bankowa 1"));
    EXPECT_EQ(t->asString("URZAD"), QString::fromUtf8("Urząd Skarbowy Wola"));
    EXPECT_EQ(t->asString("KAPITAL"), QStringLiteral("50000"));
    for (const char *emptied : {"NUM2", "NUM3", "BANK2", "BANK3", "ADRES2", "ADRES3"})
        EXPECT_TRUE(t->isNull(emptied)) << emptied;
    // Every other value stays in its field; the fields the old table lacked are empty.
    for (const auto &[field, value] : kOldCompanyRow) {
        if (QStringList({"NUM1", "NUM2", "NUM3"}).contains(field))
            continue;
        if (value.isNull() || value.toString().isEmpty())
            EXPECT_TRUE(t->isNull(field)) << field.toStdString();
        else
            EXPECT_EQ(t->value(field), value) << field.toStdString();
    }
    EXPECT_TRUE(t->isNull("ZULICA"));
    EXPECT_TRUE(t->isNull("DRTYP"));
    // The old listing is gone (a fresh one is written by whoever opened the table); nothing is
    // left beside the table.
    EXPECT_FALSE(QFileInfo::exists(tree.dataRoot() + "FIRMA.STR"));
    EXPECT_EQ(QDir(tree.dataRoot()).entryList(QDir::Files), QStringList{"FIRMA.DB"});
}

TEST_F(StructureUpgradeTest, TheTaxOfficeAndCapitalOfTheOldestRowsComeFromTheArchiveFields)
{
    RowValues row{{"NR", 1}, {"ZAPAS2", "stary urząd"}, {"ZAPAS3", 10}, {"ARCHDATA", "US Mokotów"}, {"ARCHDNI", 7},
                  {"NUM1", "12"}};
    tree.createTable(tree.companyTable(), ThirtyFieldCompanyTable(), {row});
    auto t = company();
    UpgradeCompanyTable(*t, context);

    EXPECT_EQ(t->asString("URZAD"), QString::fromUtf8("US Mokotów"));
    EXPECT_EQ(t->asString("KAPITAL"), QStringLiteral("7"));
    EXPECT_EQ(t->asString("ARCHDATA"), QString::fromUtf8("US Mokotów"));
    EXPECT_EQ(t->asString("NUM1"), QStringLiteral("12"));
}

TEST_F(StructureUpgradeTest, AFailedRebuildLeavesTheOldCompanyTableAsItWas)
{
    tree.createTable(tree.companyTable(), ThirtyFieldCompanyTable(), {kOldCompanyRow});
    // The place where the new table would be built is taken.
    ASSERT_TRUE(QDir().mkpath(tree.dataRoot() + "FIRMA_NOWY.DB"));
    auto t = company();
    UpgradeCompanyTable(*t, context);

    EXPECT_TRUE(t->isOpen());
    EXPECT_EQ(t->definition(), ThirtyFieldCompanyTable());
    EXPECT_EQ(t->asString("NUM2"), QStringLiteral("10501234"));
    EXPECT_EQ(t->asString("SKROT"), QStringLiteral("Hurtownia"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(StructureUpgradeTest, OpeningTheCompanyTableUpgradesItAndWritesAFreshListing)
{
    tree.createTable(tree.companyTable(), ThirtyFieldCompanyTable(), {kOldCompanyRow});
    WriteStructureListingFile(tree.dataRoot() + "FIRMA.STR", ThirtyFieldCompanyTable());
    Table t(tree.session(), QStringLiteral("TFIRMA"));
    EXPECT_TRUE(OpenTableGuarded(t, tree.dataRoot() + "FIRMA", QStringLiteral("Brak danych o firmie"), context));

    EXPECT_EQ(t.definition(), CompanyTableDefinition());
    QFile listing(tree.dataRoot() + "FIRMA.STR");
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    EXPECT_EQ(listing.readAll(), StructureListingText(CompanyTableDefinition()));
}

TableDefinition ParametersWithout(const QStringList &dropped)
{
    TableDefinition definition = ParameterTableDefinition();
    definition.fields.removeIf([&](const FieldDef &field) { return dropped.contains(field.name); });
    return definition;
}

TEST_F(StructureUpgradeTest, AParameterTableWithoutL5GainsTheNewFieldsWithLoginOff)
{
    tree.createTable(tree.parameterTable(), ParametersWithout({"L5", "ADATA", "ACYKL"}),
                     {{{"P1", "KP/[NRD]"}, {"P2", "21101"}, {"B3", true}, {"L4", 2}}});
    auto p = tree.open(tree.parameterTable());
    UpgradeParameterTable(*p, context);

    ASSERT_TRUE(p->isOpen());
    EXPECT_EQ(p->definition(), ParameterTableDefinition());
    EXPECT_EQ(p->recordCount(), 1);
    EXPECT_EQ(p->asString("P1"), QStringLiteral("KP/[NRD]"));
    EXPECT_EQ(p->asString("P2"), QStringLiteral("21101"));
    EXPECT_TRUE(p->asBoolean("B3"));
    EXPECT_EQ(p->value("L4"), QVariant(0));
    EXPECT_EQ(p->value("L5"), QVariant(0));
    EXPECT_EQ(p->value("ACYKL"), QVariant(0));
    EXPECT_EQ(p->asString("ADATA"), QStringLiteral("2019.05.00"));
    EXPECT_FALSE(QFileInfo::exists(tree.workingFolder() + "TEMP.DB"));
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(StructureUpgradeTest, AParameterTableWithL5InAnyCaseIsLeftAlone)
{
    TableDefinition definition = ParametersWithout({"L5"});
    definition.fields.append({"l5", FieldType::Integer, 0, false});
    tree.createTable(tree.parameterTable(), definition, {{{"L4", 2}}});
    auto p = tree.open(tree.parameterTable());
    UpgradeParameterTable(*p, context);

    EXPECT_EQ(p->definition(), definition);
    EXPECT_EQ(p->asInteger("L4"), 2);
}

TEST_F(StructureUpgradeTest, WhenTheNewParameterTableCannotBeMadeTheOldOneStays)
{
    const TableDefinition older = ParametersWithout({"L4", "L5", "ADATA", "ACYKL"});
    tree.createTable(tree.parameterTable(), older, {{{"P2", "00000"}}});
    ASSERT_TRUE(QDir().mkpath(tree.workingFolder() + "TEMP.DB"));
    auto p = tree.open(tree.parameterTable());
    UpgradeParameterTable(*p, context);

    EXPECT_TRUE(p->isOpen());
    EXPECT_EQ(p->definition(), older);
    EXPECT_EQ(p->asString("P2"), QStringLiteral("00000"));
    // The failure is said, naming the table, rather than showing later only as a missing login.
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(prompt.messages().first().text.startsWith(
        QStringLiteral("Nie można uaktualnić tabeli parametrów ") + QDir::toNativeSeparators(p->filePath())))
        << prompt.messages().first().text.toStdString();
}

} // namespace
