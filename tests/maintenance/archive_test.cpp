#include "maintenance_fixture.h"

#include "base/progress.h"
#include "maintenance/archive_commands.h"
#include "maintenance/archive_files.h"
#include "maintenance/archive_tree.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Where each selected file of the tree lands, relative to the target root.
QStringList RelativeTargets(const QList<FileCopy> &copies, const QString &toRoot)
{
    QStringList targets;
    for (const FileCopy &copy : copies)
        targets.append(QDir(toRoot).relativeFilePath(copy.target) + (copy.table ? QStringLiteral(" (tabela)") : QString()));
    std::sort(targets.begin(), targets.end());
    return targets;
}

} // namespace

TEST(ArchiveFiles, ExtensionsAreTheFiveInUpperCase)
{
    const QList<std::pair<const char *, bool>> cases = {
        {"KASA.DB", true},       {"KASA.PX", true},        {"KASA.XG0", true},     {"KASA.YG0", true},
        {"NAGKASA.MB", true},    {"KASA.XG", true},        {"KASA.YG12", false},   {"PDOXUSRS.LCK", false},
        {"Margines.dan", false}, {"kasa.db", false},       {"KASA.Db", false},     {"KASA.DB-journal", false},
        {"KASA.DB.kopia", false}, {"DB", false},           {"KASA.", false},
    };
    for (const auto &[name, archived] : cases)
        EXPECT_EQ(IsArchivedFileName(QString::fromUtf8(name)), archived) << name;
}

// Files of the root, of BAZA's module folders and of each listed year's module folders; nothing
// deeper, nothing lying directly in BAZA or a year, no year outside the list.
TEST(ArchiveFiles, TheThreeLevelsOfTheTree)
{
    QTemporaryDir dir;
    const QString r = dir.filePath(QStringLiteral("dane"));
    for (const char *file : {"FIRMA.DB", "FIRMA.PX", "notatki.txt", "BAZA/USER.DB", "BAZA/KADRY/PRAC.DB",
                             "BAZA/.ukryty/X.DB", "2019/KASA/KASA.DB", "2019/KASA/KASA.XG0", "2019/KASA/PDOXUSRS.LCK",
                             "2019/KASA/kasa.db", "2019/KASA/KONWERT/STARA.DB", "2019/LUZNY.DB", "2019/FIN/WALUTA.DB",
                             "2018/KASA/KASA.DB"})
        writeFile(QDir(r).filePath(QString::fromUtf8(file)));
    QDir().mkpath(QDir(r).filePath(QStringLiteral("2021/KASA")));

    const QString a = dir.filePath(QStringLiteral("arch"));
    const QStringList targets = RelativeTargets(
        ArchivedFilesOfTree(r, a, {QStringLiteral("2019"), QStringLiteral("2021")}), a);
    EXPECT_EQ(targets, QStringList({"2019/FIN/WALUTA.DB (tabela)", "2019/KASA/KASA.DB (tabela)", "2019/KASA/KASA.XG0",
                                    "BAZA/KADRY/PRAC.DB (tabela)", "FIRMA.DB (tabela)", "FIRMA.PX"}));
}

class ArchiveTreeTest : public MaintenanceTest {};

TEST_F(ArchiveTreeTest, ArchivedTablesAreWholeTablesUnderTheirNames)
{
    addDocuments(25);
    writeFile(QDir(tree.dataRoot()).filePath(QStringLiteral("2019/KASA/NAGKASA.PX")), "indeks");
    QDir().mkpath(QDir(tree.dataRoot()).filePath(QStringLiteral("2020")));
    NullProgress progress;

    const TreeCopyReport report =
        ArchiveDataTree(tree.dataRoot(), {QStringLiteral("2019"), QStringLiteral("2020")}, archive(), progress);

    ASSERT_TRUE(report.succeeded()) << report.message().toStdString();
    EXPECT_EQ(documentCount(documents(archive())), 25);
    EXPECT_EQ(CheckTableFile(QDir(archive()).filePath(QStringLiteral("FIRMA.DB"))), QString());
    EXPECT_EQ(readFile(QDir(archive()).filePath(QStringLiteral("2019/KASA/NAGKASA.PX"))), QByteArray("indeks"));
    EXPECT_FALSE(QFileInfo::exists(QDir(archive()).filePath(QStringLiteral("2020"))));
    // A second archive replaces the first one's files.
    addDocuments(5);
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), {QStringLiteral("2019")}, archive(), progress).succeeded());
    EXPECT_EQ(documentCount(documents(archive())), 30);
}

TEST_F(ArchiveTreeTest, ATableOpenForWritingIsArchivedAsItsCommittedState)
{
    addDocuments(10);
    auto open = tree.open(documents());
    open->append();
    open->setString(QStringLiteral("SYMBOL"), QStringLiteral("K1"));
    open->setInteger(QStringLiteral("NRD"), 99);
    open->post();
    NullProgress progress;
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
    open.reset();
    EXPECT_EQ(documentCount(documents(archive())), 11);
}

TEST_F(ArchiveTreeTest, TheDataRootAndItsYearsAreRefusedAsArchive)
{
    for (const QString &folder : {tree.dataRoot(), QDir(tree.dataRoot()).filePath(QStringLiteral("2019")),
                                  QDir(tree.dataRoot()).filePath(QStringLiteral("2019/KASA/")), QString()}) {
        NullProgress progress;
        const TreeCopyReport report = ArchiveDataTree(tree.dataRoot(), state.YearFolders, folder, progress);
        EXPECT_FALSE(report.refusal.isEmpty()) << folder.toStdString();
        EXPECT_FALSE(QFileInfo::exists(QDir(tree.dataRoot()).filePath(QStringLiteral("2019/KASA/FIRMA.DB"))));
    }
    // The default folder lies in the data root, beside the years.
    EXPECT_EQ(ArchiveFolderRefusal(tree.dataRoot(), state.YearFolders, DefaultArchiveFolder(tree.dataRoot(), QString())), QString());
}

// A damaged table stops the archive: the message names it, the previous archive stays whole and
// the archive date stays as it was.
TEST_F(ArchiveTreeTest, AFailedCopyIsReportedAndLeavesDateAndArchive)
{
    addDocuments(3);
    NullProgress progress;
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
    addDocuments(4);
    const QString cashDesks = QDir(tree.dataRoot()).filePath(QStringLiteral("2019/KASA/KASA.DB"));
    tree.damageTable(cashDesks);

    ScriptedPrompt prompt;
    auto company = tree.open(tree.companyTable());
    company->edit();
    company->setString(QStringLiteral("ARCHDATA"), QStringLiteral("2019.05.01"));
    company->post();
    EXPECT_FALSE(Archiwizuj({*company, prompt, progress, state}, archive()));

    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages().first().icon, PromptIcon::Error);
    EXPECT_TRUE(prompt.messages().first().text.contains(QDir::toNativeSeparators(cashDesks)));
    EXPECT_TRUE(prompt.messages().first().text.endsWith(QStringLiteral("Data archiwum nie została zmieniona.")));
    EXPECT_EQ(company->asString(QStringLiteral("ARCHDATA")), QStringLiteral("2019.05.01"));
    EXPECT_EQ(documentCount(documents(archive())), 3);
    EXPECT_EQ(CheckTableFile(QDir(archive()).filePath(QStringLiteral("2019/KASA/KASA.DB"))), QString());
}
