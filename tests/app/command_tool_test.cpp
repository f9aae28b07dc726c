#include "app/commands/command_tool.h"

#include "base/clock.h"
#include "base/process_environment.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_schemas.h"
#include "users/network_user_name.h"
#include "store/data_tree_initializer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// The commands run on a demo installation as a cron job would run them: no window, the result in
// the exit status and the reason on standard error.

namespace {

class CommandToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        InitialiseDataTree({folder(), QStringLiteral("2026"), true}, clock);
    }

    QString folder() const { return QDir(dir.path()).absolutePath() + QDir::separator(); }
    QString path(const QString &relative) const { return QDir(dir.path()).filePath(relative); }

    // Runs the command in the installation; its exit status, output and errors.
    int run(QStringList arguments)
    {
        output.clear();
        errors.clear();
        arguments = QStringList{QStringLiteral("-C"), dir.path()} + arguments;
        QTextStream out(&output);
        QTextStream err(&errors);
        return RunCommandTool(arguments, out, err, clock);
    }

    QTemporaryDir dir;
    FixedClock clock{QDate(2026, 6, 15)};
    QString output;
    QString errors;
};

TEST_F(CommandToolTest, WrongCommandLinesAndMissingTreesFailWithOneClearMessage)
{
    struct Case {
        QStringList arguments;
        int status;
        QString message;
    };
    const QList<Case> cases{
        {{"nieznane"}, 2, "Nieznane polecenie \"nieznane\"."},
        {{"check", "--year", "20x6"}, 2, "Rok \"20x6\" nie jest rokiem (cztery cyfry)."},
        {{"listing", "amount-range", "--out"}, 2, "Opcja --out wymaga wartości."},
        {{"report", "KAS1", "999", "--pdf", "r.pdf"}, 1, "Nie ma raportu 999 kasy KAS1."},
        {{"print", "KP", "99999", "--pdf", "d.pdf"}, 1, "Nie ma dokumentu KP 99999."},
        {{"restore", "--from", "ARCHIWUM"}, 1, "potwierdź je opcją --yes"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(c.message)) << errors.toStdString();
    }
    QStringList arguments{"check", "-C", path("brak")};
    QTextStream out(&output), err(&errors);
    EXPECT_EQ(RunCommandTool(arguments, out, err, clock), 1);
    EXPECT_TRUE(errors.contains("nie istnieje")) << errors.toStdString();
}

// The command word is found after the common options too; a start of the program with a data
// folder or a year stays a start of the program.
TEST(CommandLine, TheCommandWordIsFoundAfterTheCommonOptions)
{
    const QList<QPair<QStringList, bool>> cases{
        {{"archive", "-C", "/srv/kasa"}, true},
        {{"-C", "/srv/kasa", "archive"}, true},
        {{"dr=/srv/dane", "--year", "2026", "export", "documents", "d.txt"}, true},
        {{"--help"}, true},
        {{"dr=/srv/dane", "2026"}, false},
        {{"-C", "archive"}, false},
        {{}, false},
    };
    for (const auto &[arguments, tool] : cases)
        EXPECT_EQ(IsToolCommandLine(arguments), tool) << arguments.join(' ').toStdString();
}

TEST_F(CommandToolTest, CheckNamesTheDamagedTable)
{
    EXPECT_EQ(run({"check"}), 0) << errors.toStdString();
    QFile table(path("2026/KASA/NAGKASA.DB"));
    ASSERT_TRUE(table.open(QIODevice::ReadWrite));
    table.seek(4096);
    table.write(QByteArray(2048, 'x'));
    table.close();

    EXPECT_EQ(run({"check"}), 1);
    EXPECT_TRUE(errors.contains(QDir::toNativeSeparators(path("2026/KASA/NAGKASA.DB")))) << errors.toStdString();
    EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
}

TEST_F(CommandToolTest, ListingsAndPrintoutsGoToTheirFiles)
{
    ASSERT_EQ(run({"listing", "amount-range", "--min", "100", "--max", "500", "--out", path("kwoty.txt")}), 0)
        << errors.toStdString();
    QFile listing(path("kwoty.txt"));
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    const QByteArray text = listing.readAll();
    EXPECT_TRUE(text.contains("350.00")) << text.left(400).constData();
    EXPECT_FALSE(errors.contains("drukarki")) << errors.toStdString();

    ASSERT_EQ(run({"print", "KP", "1", "--pdf", path("kp.pdf")}), 0) << errors.toStdString();
    ASSERT_EQ(run({"report", "KAS1", "1", "--pdf", path("raport.pdf")}), 0) << errors.toStdString();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path("raport.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    EXPECT_TRUE(pdftotext.readAllStandardOutput().contains("RAPORT KASOWY"));
}

TEST_F(CommandToolTest, ATableAnotherProgramHoldsStopsTheCommandWithoutWriting)
{
    const int other = ::open(QFile::encodeName(path("2026/KASA/NAGKASA.DB")).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    const int status = run({"listing", "amount-range", "--min", "0", "--max", "0", "--out", path("kwoty.txt")});
    ::close(other);

    EXPECT_NE(status, 0);
    EXPECT_TRUE(errors.contains("NAGKASA")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(path("kwoty.txt")));
}

// With the network login the command runs with the level of the system user's row: below 100 a
// writing command stops with exit 1 before it writes; listings stay open to him.
TEST_F(CommandToolTest, WritingCommandsNeedTheLevelThatMayChangeData)
{
    const QString login = NetworkUserName(ProcessEnvironment::fromProcess().userName);
    ASSERT_FALSE(login.isEmpty());
    Session session;
    session.setWorkingFolder(folder());
    Table parameters(session);
    parameters.setTableName(QStringLiteral("KASA"));
    parameters.open();
    parameters.first();
    parameters.edit();
    parameters.setInteger(QStringLiteral("L4"), 1);
    parameters.post();
    parameters.close();
    QDir(folder()).mkpath(QStringLiteral("BAZA"));
    Table users(session);
    users.setTableName(path("BAZA/USER.DB"));
    users.create(UsersTableDefinition());
    users.open();
    users.append();
    users.setString(QStringLiteral("LOGIN"), login);
    users.setInteger(QStringLiteral("P9"), 1);
    users.post();

    const QString refused = QString::fromUtf8("Brak uprawnień do zmiany danych.");
    const QList<QStringList> writing{{"archive", "--to", path("archiwum")},
                                     {"new-year", "--from", "2026"},
                                     {"import", "documents", path("brak.txt")}};
    for (const QStringList &command : writing) {
        EXPECT_EQ(run(command), 1) << command.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(refused)) << errors.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("archiwum")));
    EXPECT_FALSE(QFile::exists(path("2027")));
    EXPECT_EQ(run({"listing", "amount-range", "--min", "0", "--max", "0", "--out", path("kwoty.txt")}), 0)
        << errors.toStdString();

    users.first();
    users.edit();
    users.setInteger(QStringLiteral("P9"), 100);
    users.post();
    EXPECT_EQ(run({"archive", "--to", path("archiwum")}), 0) << errors.toStdString();
}

TEST_F(CommandToolTest, ArchiveThenRestoreBringsBackTheArchivedTables)
{
    ASSERT_EQ(run({"archive", "--to", path("archiwum")}), 0) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(path("archiwum/2026/KASA/NAGKASA.DB")));
    QFile::remove(path("2026/KASA/OPISKASA.DB"));

    ASSERT_EQ(run({"restore", "--from", path("archiwum"), "--yes"}), 0) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(path("2026/KASA/OPISKASA.DB")));
    EXPECT_EQ(run({"check"}), 0) << output.toStdString();
}

} // namespace

namespace {

TEST_F(CommandToolTest, ExportedDocumentsComeBackAndADamagedFileChangesNothing)
{
    ASSERT_EQ(run({"export", "documents", path("dokumenty.txt")}), 0) << errors.toStdString();
    QFile exported(path("dokumenty.txt"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = exported.readAll().split('\n');
    exported.close();
    ASSERT_GT(lines.size(), 10);

    // The same file imported again changes every row in place.
    ASSERT_EQ(run({"import", "documents", path("dokumenty.txt")}), 0) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(path("dokumenty.txt")));

    // A line whose amount is no number stops the import, naming the line; the file keeps its name.
    const QList<QByteArray> header = lines[0].split('\t');
    const int amount = int(header.indexOf("KWOTA"));
    ASSERT_GE(amount, 0);
    QList<QByteArray> values = lines[5].split('\t');
    values[amount] = "12x";
    lines[5] = values.join('\t');
    QFile damaged(path("zle.txt"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(lines.join('\n'));
    damaged.close();
    EXPECT_EQ(run({"import", "documents", path("zle.txt")}), 1);
    EXPECT_TRUE(errors.contains("Wiersz 6, kolumna")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("\"12x\"")) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(path("zle.txt")));

    // A file that cannot take its imported name would be imported again at the next run: the
    // import says so and fails.
    ASSERT_TRUE(QFile::rename(path("zdokumenty.txt"), path("dokumenty.txt")));
    ASSERT_TRUE(QDir().mkpath(path("zdokumenty.txt/zajete")));
    EXPECT_EQ(run({"import", "documents", path("dokumenty.txt")}), 1);
    EXPECT_TRUE(errors.contains("Nie można zmienić nazwy pliku")) << errors.toStdString();
}

} // namespace
