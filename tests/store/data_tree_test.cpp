#include "store/data_tree.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
QString native(QString p) { return p.replace(QLatin1Char('/'), QDir::separator()); }
}

TEST(DataTree, YearTablePathsJoinRootYearAndModuleFolder)
{
    EXPECT_EQ(YearTablePath(native("/dane/"), "2019", "KASA\\NAGKASA"), native("/dane/2019/KASA/NAGKASA"));
    // The currencies are named with a leading separator; no second one is inserted.
    EXPECT_EQ(YearTablePath(native("/dane/"), "2019", "\\FIN\\WALUTA"), native("/dane/2019/FIN/WALUTA"));
    EXPECT_EQ(CompanyTablePath(QString()), "FIRMA");
    EXPECT_EQ(CompanyTablePath(native("/dane/")), native("/dane/FIRMA"));
}

TEST(DataTree, FoldersEndWithExactlyOneSeparator)
{
    EXPECT_EQ(WithTrailingSeparator("/dane"), native("/dane/"));
    EXPECT_EQ(WithTrailingSeparator("/dane//"), native("/dane/"));
    EXPECT_EQ(WithTrailingSeparator(QString()), QString());
    EXPECT_EQ(WithoutDbExtension("KASA.db"), "KASA");
    EXPECT_EQ(WithoutDbExtension("KASA"), "KASA");
}
