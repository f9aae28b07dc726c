#include "maintenance_fixture.h"
#include "kill_runs.h"
#include "store/file_move_journal.h"

#include "base/progress.h"
#include "maintenance/archive_commands.h"
#include "maintenance/archive_files.h"
#include "maintenance/archive_tree.h"
#include "maintenance/restore_tree.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QElapsedTimer>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kArchiveDate = QStringLiteral("ARCHDATA");

} // namespace

class RestoreTest : public MaintenanceTest {
protected:
    ArchiveCommandContext commands(Table &company) { return {company, prompt, progress, state}; }

    ScriptedPrompt prompt;
    NullProgress progress;
};

// A document added after the archive is gone after the restore, and the archive date is the one
// of the archive before the last, as the archived company row holds it.
TEST_F(RestoreTest, RestoreBringsBackTheArchivedTreeAndTheDateBefore)
{
    addDocuments(2);
    auto company = tree.open(tree.companyTable());
    company->edit();
    company->setString(kArchiveDate, QStringLiteral("2019.05.01"));
    company->post();
    ASSERT_TRUE(Archiwizuj(commands(*company), archive()));
    EXPECT_EQ(company->asString(kArchiveDate), QStringLiteral("2019.05.10"));
    addDocuments(1);
    ASSERT_EQ(documentCount(), 3);

    prompt.answer(Yes);
    EXPECT_TRUE(Odtwarzaj(commands(*company), archive(), [&] { company->close(); }, [&] { company->open(); }));

    EXPECT_EQ(prompt.shownOnce(QStringLiteral("Uwaga odtworzenie spowoduje utratę wszystkich zapisów od daty ostatniego "
                                              "archiwowania.\rCzy odtwarzać zbiory ?"))
                  .buttons,
              Yes | No);
    EXPECT_EQ(documentCount(), 2);
    ASSERT_TRUE(company->isOpen());
    EXPECT_EQ(company->asString(kArchiveDate), QStringLiteral("2019.05.01"));
}

TEST_F(RestoreTest, NoChangesNothingAndKeepsTheTablesOpen)
{
    NullProgress quiet;
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), quiet).succeeded());
    addDocuments(1);
    auto company = tree.open(tree.companyTable());
    prompt.answer(No);
    bool closed = false;
    EXPECT_FALSE(Odtwarzaj(commands(*company), archive(), [&] { closed = true; }, {}));
    EXPECT_FALSE(closed);
    EXPECT_EQ(documentCount(), 1);
}

// A damaged table in the archive, a table held by another program, or a missing archive: the
// restore says why and the live tree keeps every row.
TEST_F(RestoreTest, RefusedRestoresChangeNothing)
{
    addDocuments(2);
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
    addDocuments(3);
    const QString archivedDesks = QDir(archive()).filePath(QStringLiteral("2019/KASA/KASA.DB"));
    const QByteArray goodDesks = readFile(archivedDesks);

    tree.damageTable(archivedDesks);
    TreeCopyReport report = RestoreDataTree(archive(), tree.dataRoot(), state.YearFolders, progress);
    EXPECT_TRUE(report.refusal.startsWith(QStringLiteral("Archiwum jest uszkodzone, nic nie zostało odtworzone :\r")));
    EXPECT_TRUE(report.refusal.contains(QDir::toNativeSeparators(archivedDesks)));
    EXPECT_EQ(documentCount(), 5);

    writeFile(archivedDesks, goodDesks);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(QFile::encodeName(documents()).constData(), O_RDONLY);
        ::flock(fd, LOCK_SH);
        (void)!::write(ready[1], "1", 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    report = RestoreDataTree(archive(), tree.dataRoot(), state.YearFolders, progress);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(report.refusal, QStringLiteral("Tabele są używane przez inny program, nic nie zostało odtworzone :\r")
                                  + QDir::toNativeSeparators(documents()));
    EXPECT_EQ(documentCount(), 5);

    report = RestoreDataTree(QDir(tree.root()).filePath(QStringLiteral("brak")), tree.dataRoot(), state.YearFolders,
                             progress);
    EXPECT_TRUE(report.refusal.startsWith(QStringLiteral("Brak katalogu archiwum :\r")));
    EXPECT_EQ(documentCount(), 5);

    // Once the holder has gone the same archive restores.
    EXPECT_TRUE(RestoreDataTree(archive(), tree.dataRoot(), state.YearFolders, progress).succeeded());
    EXPECT_EQ(documentCount(), 2);
}

// Archives whose tables pass the engine's own page check yet are not the tables they claim to
// be, or lack one: each is refused naming the file, and the live tree keeps every row.
TEST_F(RestoreTest, AnArchiveOfWrongOrMissingTablesIsRefused)
{
    addDocuments(2);
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
    addDocuments(3);
    const QDir folder(archive());
    const QString archivedDocuments = folder.filePath(QStringLiteral("2019/KASA/NAGKASA.DB"));
    const QString archivedCompany = folder.filePath(QStringLiteral("FIRMA.DB"));
    struct Case {
        const char *what;
        QString file;                     // the archived file the case spoils
        std::function<void()> spoil;
        QString problem;
    };
    const QByteArray goodDocuments = readFile(archivedDocuments);
    const QByteArray goodCompany = readFile(archivedCompany);
    const QList<Case> cases = {
        {"empty documents", archivedDocuments, [&] { writeFile(archivedDocuments, QByteArray()); },
         QStringLiteral("brak opisu struktury tabeli")},
        {"empty company", archivedCompany, [&] { writeFile(archivedCompany, QByteArray()); },
         QStringLiteral("brak opisu struktury tabeli")},
        {"desks over documents", archivedDocuments,
         [&] { writeFile(archivedDocuments, readFile(folder.filePath(QStringLiteral("2019/KASA/KASA.DB")))); },
         QStringLiteral("brak pola")},
        {"documents missing", archivedDocuments, [&] { QFile::remove(archivedDocuments); },
         QStringLiteral("brak tabeli w archiwum")},
    };
    for (const Case &c : cases) {
        c.spoil();
        const TreeCopyReport report = RestoreDataTree(archive(), tree.dataRoot(), state.YearFolders, progress);
        EXPECT_TRUE(report.refusal.startsWith(QStringLiteral("Archiwum jest uszkodzone, nic nie zostało odtworzone :\r")))
            << c.what << ": " << report.refusal.toStdString();
        EXPECT_TRUE(report.refusal.contains(QDir::toNativeSeparators(c.file) + QStringLiteral(" : ")))
            << c.what << ": " << report.refusal.toStdString();
        EXPECT_TRUE(report.refusal.contains(c.problem)) << c.what << ": " << report.refusal.toStdString();
        EXPECT_EQ(documentCount(), 5) << c.what;
        writeFile(archivedDocuments, goodDocuments);
        writeFile(archivedCompany, goodCompany);
    }
    const QString emptyFolder = QDir(tree.root()).filePath(QStringLiteral("pusty"));
    ASSERT_TRUE(QDir().mkpath(emptyFolder));
    const TreeCopyReport empty = RestoreDataTree(emptyFolder, tree.dataRoot(), state.YearFolders, progress);
    EXPECT_TRUE(empty.refusal.contains(QStringLiteral("brak tabeli w archiwum"))) << empty.refusal.toStdString();
    EXPECT_EQ(documentCount(), 5);
}

// A process killed at any moment of an archive or a restore leaves each table sound and either
// the old one or the new one.
TEST_F(RestoreTest, AKilledArchiveOrRestoreLeavesEachTableOldOrNew)
{
    addDocuments(3000);
    const auto archiveTree = [&] { ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress); };
    const auto restoreTree = [&] { RestoreDataTree(archive(), tree.dataRoot(), state.YearFolders, progress); };
    const QList<int> archivePauses = PausesOver(archiveTree);
    addDocuments(2000);
    const QString archived = documents(archive());
    const QString live = documents();

    for (const int pause : archivePauses) {
        RunAndKill(archiveTree, pause);
        EXPECT_EQ(CheckTableFile(archived), QString()) << "archiwum, " << pause;
        const int rows = documentCount(archived);
        EXPECT_TRUE(rows == 3000 || rows == 5000) << "archiwum, " << pause << ": " << rows;
    }
    // The archive holds 5000 rows from here on, the live tree 7000.
    ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
    const QList<int> restorePauses = PausesOver(restoreTree);
    addDocuments(2000);
    for (const int pause : restorePauses) {
        RunAndKill(restoreTree, pause);
        EXPECT_EQ(CheckTableFile(live), QString()) << "dane, " << pause;
        const int rows = documentCount(live);
        EXPECT_TRUE(rows == 5000 || rows == 7000) << "dane, " << pause << ": " << rows;
        if (rows == 5000)
            addDocuments(2000);
    }
}

namespace {

// An archive killed at any moment is, once the next archive or restore has finished what the
// kill cut short, entirely of one moment: the documents and the contractors agree.
TEST_F(RestoreTest, AnArchiveKilledAnywhereIsOfOneMoment)
{
    NullProgress progress;
    const QString contractors = QDir(tree.dataRoot()).filePath(QStringLiteral("2019/FIN/KONTRAHI.DB"));
    addDocuments(3000);
    tree.addRows(contractors, {{{QStringLiteral("NR"), 1}, {QStringLiteral("SKROT"), QStringLiteral("stary")}}});
    const auto archiveTree = [&] { ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress); };
    const QList<int> pauses = PausesOver(archiveTree);
    addDocuments(2000);
    tree.addRows(contractors, {{{QStringLiteral("NR"), 2}, {QStringLiteral("SKROT"), QStringLiteral("nowy")}}});
    const QString archivedContractors = QDir(archive()).filePath(QStringLiteral("2019/FIN/KONTRAHI.DB"));
    int documentsBefore = 0, contractorsBefore = 0;
    const auto checkOneMoment = [&] {
        const int documentsAfter = documentCount(documents(archive()));
        const int contractorsAfter = int(tree.column(archivedContractors, QStringLiteral("NR")).size());
        EXPECT_EQ(documentsAfter == documentsBefore, contractorsAfter == contractorsBefore)
            << documentsAfter << " " << contractorsAfter;
    };
    for (const int pause : pauses) {
        ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
        tree.addRows(contractors, {{{QStringLiteral("NR"), 100 + pause}}});
        addDocuments(1, documents());
        documentsBefore = documentCount(documents(archive()));
        contractorsBefore = int(tree.column(archivedContractors, QStringLiteral("NR")).size());

        RunAndKill(archiveTree, pause);
        ASSERT_TRUE(FinishInterruptedMoves(archive()));
        checkOneMoment();
    }
    // Killed between two of the renames that put the new archive in place, on every one of them.
    for (int rename = 1; rename <= 4; ++rename) {
        ASSERT_TRUE(ArchiveDataTree(tree.dataRoot(), state.YearFolders, archive(), progress).succeeded());
        tree.addRows(contractors, {{{QStringLiteral("NR"), 1000 + rename}}});
        addDocuments(1, documents());
        documentsBefore = documentCount(documents(archive()));
        contractorsBefore = int(tree.column(archivedContractors, QStringLiteral("NR")).size());
        qputenv("KASA_CRASH_POINT", QByteArray("tree-copy-switch:") + QByteArray::number(rename));
        RunUntilItEnds(archiveTree);
        qunsetenv("KASA_CRASH_POINT");
        ASSERT_TRUE(FinishInterruptedMoves(archive()));
        checkOneMoment();
    }
}

} // namespace
