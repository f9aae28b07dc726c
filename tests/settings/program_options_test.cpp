#include "settings/program_options.h"

#include "store/table.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace {

struct UnpackCase {
    const char *p2;
    ProgramOptionChoices expected;
};

class Unpacking : public ::testing::TestWithParam<UnpackCase> {};

TEST_P(Unpacking, MissingBlankOrOutOfRangePositionsMeanTheFirstEntry)
{
    EXPECT_EQ(UnpackProgramOptions(QString::fromUtf8(GetParam().p2)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    P2, Unpacking,
    ::testing::Values(UnpackCase{"", {0, 0, 0, 0, 0}}, UnpackCase{"21", {2, 1, 0, 0, 0}},
                      UnpackCase{"2 1 1", {2, 0, 1, 0, 1}}, UnpackCase{"14111", {1, 4, 1, 1, 1}},
                      // 3 is no entry of the numbering (three entries), 5 none of the print layout
                      // (five), x no digit at all, 2 none of the settlement copy (two).
                      UnpackCase{"35x21", {0, 0, 0, 0, 1}}, UnpackCase{"1011100000", {1, 0, 1, 1, 1}}));

TEST(Packing, WritesFiveDigitsAndKeepsWhatFollowsThem)
{
    EXPECT_EQ(PackProgramOptions({0, 0, 0, 0, 0}), "00000");
    EXPECT_EQ(PackProgramOptions({2, 4, 1, 0, 1}, QStringLiteral("0")), "24101");
    EXPECT_EQ(PackProgramOptions({1, 3, 0, 1, 0}, QStringLiteral("00000XY")), "13010XY");
    // Round trip of every entry of every position.
    const QList<ProgramOption> &options = ProgramOptions();
    ASSERT_EQ(options.size(), kProgramOptionCount);
    for (int position = 0; position < kProgramOptionCount; ++position)
        for (int entry = 0; entry < options[position].entries.size(); ++entry) {
            ProgramOptionChoices choices{};
            choices[position] = entry;
            EXPECT_EQ(UnpackProgramOptions(PackProgramOptions(choices)), choices) << position << ' ' << entry;
        }
}

class ParameterRow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        tree.withParameterTable();
        parameters = tree.open(tree.parameterTable());
        parameters->first();
    }

    void store(const char *field, const QVariant &value)
    {
        parameters->edit();
        parameters->setValue(QString::fromLatin1(field), value);
        parameters->post();
    }
    QString stored(const char *field) { return tree.column(tree.parameterTable(), QString::fromLatin1(field)).value(0); }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    std::unique_ptr<Table> parameters;
};

TEST_F(ParameterRow, NewInstallationGetsTheDefaultPatternAndStoresFiveZeros)
{
    store("P2", QString());
    ASSERT_TRUE(parameters->asString(QStringLiteral("P1")).isEmpty());

    PrepareProgramParameters(*parameters);
    EXPECT_TRUE(SaveProgramParameters(*parameters, UnpackProgramOptions(QString()), prompt));

    EXPECT_EQ(stored("P1"), "[RD] [NRD]");
    EXPECT_EQ(stored("P2"), "00000");
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(ParameterRow, KeepsATypedPatternAndStoresTheChoices)
{
    store("P1", QStringLiteral("[SYMBOL]/[NRD]/[ROK]"));
    store("P2", QStringLiteral("0000"));

    PrepareProgramParameters(*parameters);
    EXPECT_EQ(parameters->state(), TableState::Browse);
    EXPECT_TRUE(SaveProgramParameters(*parameters, {2, 0, 0, 0, 1}, prompt));

    EXPECT_EQ(stored("P1"), "[SYMBOL]/[NRD]/[ROK]");
    EXPECT_EQ(stored("P2"), "20001");
}

} // namespace
