#include "base/command_line.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

struct DataRootCase {
    QStringList arguments;
    QString dataRoot;
};

class DataRootArgument : public testing::TestWithParam<DataRootCase> {};

TEST_P(DataRootArgument, TakesTheLastDrArgumentWithUnderscoresAsSpaces)
{
    EXPECT_EQ(DataRootFromArguments(GetParam().arguments), GetParam().dataRoot);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataRootArgument,
    testing::Values(
        DataRootCase{{}, ""},
        DataRootCase{{"rok", "2019"}, ""},
        DataRootCase{{"dr=C:\\Moje_Dane\\"}, "C:\\Moje Dane\\"},
        DataRootCase{{"rok", "2019", "DR=/srv/dane/"}, "/srv/dane/"},
        DataRootCase{{"Dr=/a/", "nowy", "dR=/b_c/"}, "/b c/"},
        DataRootCase{{"dr"}, ""},
        DataRootCase{{"xdr=/a/", "dr:/b/"}, ""}));

TEST(YearArgument, NeedsRokFirstAndAYearAfterIt)
{
    EXPECT_EQ(YearFromArguments({"rok", "2017"}), QString("2017"));
    EXPECT_EQ(YearFromArguments({"ROK", "2017", "nowy"}), QString("2017"));
    EXPECT_EQ(YearFromArguments({"rok"}), std::nullopt);
    EXPECT_EQ(YearFromArguments({"nowy", "rok", "2017"}), std::nullopt);

    EXPECT_EQ(CommandArgIndexFor({"Rok", "2017", "nowy"}), 3);
    EXPECT_EQ(CommandArgIndexFor({"nowy", "RD=KP"}), 1);
    EXPECT_EQ(CommandArgIndexFor({"rok"}), 1);
}
