#include "store/table_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TableFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString path(const QString &relative) const { return QDir::toNativeSeparators(dir_.filePath(relative)); }

    void touch(const QString &relative) const
    {
        const QString full = dir_.filePath(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(TableFiles, CompanionFilesAreTheTableNameWithAnyExtension)
{
    for (const char *name : {"KASA/NAGKASA.DB", "KASA/NAGKASA.STR", "KASA/nagkasa.db-journal",
                             "KASA/NagKasa.PX", "KASA/NAGKASA2.DB", "KASA/NAGKASA", "KASA/NAGKAS.DB",
                             "KASA/RKASA.DB"})
        touch(name);
    const QStringList expected{path("KASA/NAGKASA.DB"), path("KASA/NAGKASA.STR"),
                               path("KASA/NagKasa.PX"), path("KASA/nagkasa.db-journal")};

    EXPECT_EQ(TableCompanionFiles(path("KASA/NAGKASA")), expected);
    // Folder and table spelled otherwise find the same files.
    EXPECT_EQ(TableCompanionFiles(path("kasa/NagKasa")), expected);
    EXPECT_TRUE(TableCompanionFiles(path("FIN/KONTRAHI")).isEmpty());
}

TEST_F(TableFiles, ReadOnlyIsTheOwnersWriteBitEvenForRoot)
{
    touch("RKASA.DB");
    const QString file = path("RKASA.DB");
    EXPECT_FALSE(IsReadOnlyFile(file));

    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_TRUE(IsReadOnlyFile(file));
    EXPECT_TRUE(ClearReadOnly(file));
    EXPECT_FALSE(IsReadOnlyFile(file));
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::ReadGroup);  // other bits are kept

    EXPECT_FALSE(IsReadOnlyFile(path("MISSING.DB")));
    EXPECT_FALSE(ClearReadOnly(path("MISSING.DB")));
}

TEST_F(TableFiles, PathsResolveToTheSpellingOnDisk)
{
    touch("Dane/2019/KASA/NAGKASA.DB");
    touch("Dane/2019/FIN/KONTRAHo.DB");
    QDir().mkpath(dir_.filePath("Dane/2019/Kasa"));  // differs from KASA only in case

    EXPECT_EQ(ResolvePathIgnoringCase(path("dane/2019/kasa/nagkasa.db")), path("Dane/2019/KASA/NAGKASA.DB"));
    EXPECT_EQ(ResolvePathIgnoringCase(path("DANE/2019/FIN/KONTRAHO.DB")), path("Dane/2019/FIN/KONTRAHo.DB"));
    // An exact match wins over a match without regard to case.
    EXPECT_EQ(ResolvePathIgnoringCase(path("Dane/2019/Kasa")), path("Dane/2019/Kasa"));
    // Components that do not exist keep the given spelling.
    EXPECT_EQ(ResolvePathIgnoringCase(path("dane/2019/kasa/KONWERT/RKASA.DB")),
              path("Dane/2019/KASA/KONWERT/RKASA.DB"));
    EXPECT_EQ(ResolvePathIgnoringCase(path("dane/2020/KASA")), path("Dane/2020/KASA"));
    EXPECT_EQ(ResolvePathIgnoringCase(path("dane/2019/")), path("Dane/2019/"));
}

TEST(TableFilesRelative, RelativePathsResolveFromTheWorkingFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir().mkpath(dir.filePath("BAZA"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString resolved = ResolvePathIgnoringCase(QDir::toNativeSeparators("baza/USER.DB"));
    QDir::setCurrent(previous);
    EXPECT_EQ(resolved, QDir::toNativeSeparators("BAZA/USER.DB"));
}
