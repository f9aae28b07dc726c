#include "app/commands/command_tool.h"

#include "base/clock.h"
#include "base/process_environment.h"
#include "maintenance/exchange_text.h"
#include "print/listing_sheet.h"
#include "store/session.h"
#include "store/table.h"
#include "store/table_schemas.h"
#include "users/network_user_name.h"
#include "store/data_tree_initializer.h"
#include "store/polish_collation.h"
#include "support/throwaway_server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

// The commands run on a demo installation as a cron job would run them: no window, the result in
// the exit status and the reason on standard error. When the tests run on the server, the
// installation's data root is the tests' emptied database there.

namespace {

class CommandToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QString dataRoot;
        if (TestsRunOnServer()) {
            EmptyTestServerDatabase();
            dataRoot = TestServerDataRoot();
        }
        InitialiseDataTree({folder(), QStringLiteral("2026"), true, dataRoot}, clock);
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
        {{"--bogus"}, 2, "Nieznana opcja --bogus."},
        {{"archive", "--too", "/media/usb"}, 2, "Polecenie archive nie zna opcji --too."},
        {{"check", "extra", "words"}, 2, "zbędny argument \"extra\""},
        {{"listing", "cash-state", "--pdf", "--out", "d.txt"}, 2, "Opcja --pdf wymaga wartości, a podano \"--out\"."},
        {{"listing", "cash-state", "--desk", "KAS1", "--out", "d.txt"}, 2, "Wykaz cash-state nie zna opcji --desk."},
        {{"listing", "amount-range", "--min", "abc", "--max", "0", "--out", "d.txt"}, 2, "\"abc\" nie jest kwotą"},
        {{"listing", "day-state", "--day", "2026-02-30", "--out", "d.txt"}, 2, "nie jest dniem"},
        {{"listing", "report-state", "--desk", "NIEMA", "--out", "d.txt"}, 1, "Nie ma kasy NIEMA."},
        {{"report", "NIEMA", "1", "--pdf", "r.pdf"}, 1, "Nie ma kasy NIEMA."},
        {{"listing", "cash-state", "--year", "2019", "--out", "d.txt"}, 1, "Nie ma roku 2019"},
        {{"export", "documents", "d.txt", "--year", "2019"}, 1, "Nie ma roku 2019"},
        {{"new-year", "--from", "2019"}, 1, "Nie ma roku 2019"},
        {{"archive", "dr=/nonexistent/"}, 1, "Folder danych /nonexistent/ nie istnieje."},
        {{"listing", "day-state", "--desk", "KAS1", "--day", "2025-12-31", "--out", "d.txt"}, 1,
         "Dzień 2025-12-31 nie należy do żadnego raportu kasy KAS1."},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(c.message)) << errors.toStdString();
        EXPECT_FALSE(errors.contains(u'\r')) << errors.toStdString();
        if (c.status == 1)
            EXPECT_EQ(errors.count(u'\n'), 1) << c.arguments.join(' ').toStdString() << "\n" << errors.toStdString();
    }
    // A failed command wrote nothing: no year, no listing, no archive.
    EXPECT_FALSE(QFileInfo::exists(path("2020")));
    EXPECT_FALSE(QFileInfo::exists(path("d.txt")));
    EXPECT_EQ(run({"-h"}), 0);
    EXPECT_TRUE(output.contains("kasa --init")) << output.toStdString();
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
        {{"-h"}, true},
        {{"nieznane"}, true},
        {{"--bogus"}, true},
        {{"dr=/srv/dane", "2026"}, false},
        {{"rok", "2025"}, false},
        {{"nowy", "RD=KP"}, false},
        {{"--forms", "/tmp/formularze"}, false},
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

// The cells of a workbook's first sheet, row by row, each as its stored text (a number's value,
// a string's text), read from the sheet's XML as the file holds it.
QList<QStringList> WorkbookCells(const QString &path)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml")});
    unzip.waitForFinished(30000);
    const QString xml = QString::fromUtf8(unzip.readAllStandardOutput());
    static const QRegularExpression cell(QStringLiteral(R"re(<c r="([A-Z]+)(\d+)"[^>/]*>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>)re"));
    QList<QStringList> rows;
    for (const QRegularExpressionMatch &m : cell.globalMatch(xml)) {
        const int row = m.captured(2).toInt() - 1;
        int column = 0;
        for (const QChar c : m.captured(1))
            column = column * 26 + (c.unicode() - 'A' + 1);
        while (rows.size() <= row)
            rows.append(QStringList());
        while (rows[row].size() < column)
            rows[row].append(QString());
        QString value = m.captured(3).isEmpty() ? m.captured(4) : m.captured(3);
        value.replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        rows[row][column - 1] = value;
    }
    return rows;
}

// A listing saved as a workbook or as CSV holds, cell by cell, the table it prints: amounts as
// numbers, days as dates, the headings in the first row.
TEST_F(CommandToolTest, ListingsAsSpreadsheetsHoldThePrintedRows)
{
    const QList<QStringList> listings{{"cash-state"},
                                      {"amount-range", "--min", "100", "--max", "500"},
                                      {"receipts"},
                                      {"history", "--contractor", "1"}};
    for (const QStringList &listing : listings) {
        SCOPED_TRACE(listing.join(u' ').toStdString());
        ASSERT_EQ(run(QStringList{"listing"} + listing + QStringList{"--out", path("w.txt")}), 0) << errors.toStdString();
        QFile text(path("w.txt"));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        const ListingSheet printed = ReadListingSheet(DecodeWindows1250(text.readAll()).split(u'\n'));
        ASSERT_FALSE(printed.rows.isEmpty());

        ASSERT_EQ(run(QStringList{"listing"} + listing + QStringList{"--xlsx", path("w.xlsx")}), 0) << errors.toStdString();
        const QList<QStringList> cells = WorkbookCells(path("w.xlsx"));
        ASSERT_EQ(cells.size(), printed.rows.size() + 1);
        for (int c = 0; c < printed.columns.size(); ++c)
            EXPECT_EQ(cells[0].value(c), printed.columns[c].heading);
        for (int r = 0; r < printed.rows.size(); ++r) {
            for (int c = 0; c < printed.columns.size(); ++c) {
                const SheetCell &expected = printed.rows[r].cells[c];
                const QString stored = cells[r + 1].value(c);
                SCOPED_TRACE(QStringLiteral("row %1, column %2: %3").arg(r + 2).arg(c + 1).arg(expected.text).toStdString());
                switch (expected.kind) {
                case SheetCell::Kind::Empty: EXPECT_EQ(stored, QString()); break;
                case SheetCell::Kind::Text: EXPECT_EQ(stored, expected.text); break;
                case SheetCell::Kind::Integer: EXPECT_EQ(stored.toLongLong(), expected.integer); break;
                case SheetCell::Kind::Amount: EXPECT_NEAR(stored.toDouble(), expected.amount.toDouble(), 1e-9); break;
                case SheetCell::Kind::Date: EXPECT_EQ(stored.toInt(), QDate(1899, 12, 30).daysTo(expected.date)); break;
                }
            }
        }

        ASSERT_EQ(run(QStringList{"listing"} + listing + QStringList{"--csv", path("w.csv")}), 0) << errors.toStdString();
        QFile csv(path("w.csv"));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), printed.rows.size() + 1);
        const SheetRow &first = printed.rows.first();
        for (int c = 0; c < first.cells.size(); ++c)
            if (first.cells[c].kind == SheetCell::Kind::Amount)
                EXPECT_TRUE(lines[1].contains(first.cells[c].amount.toString())) << lines[1].toStdString();
    }
}

// A command opens the year's tables it works on: a damaged table it does not read stops only the
// commands that need it, and one it reads stops it naming the table.
TEST_F(CommandToolTest, ACommandOpensTheTablesItWorksOn)
{
    struct Case {
        const char *damaged;
        QStringList command;
        int exitCode;
    };
    const QList<Case> cases{
        {"2026/SLOWNIKI/KONTAK.DB", {"listing", "amount-range", "--min", "0", "--max", "0", "--out", "w.txt"}, 0},
        {"2026/SLOWNIKI/KONTAK.DB", {"export", "documents", "d.txt"}, 0},
        {"2026/SLOWNIKI/KONTAK.DB", {"export", "contractors", "k.txt"}, 0},
        {"2026/SLOWNIKI/KONTAK.DB", {"print", "KP", "1", "--pdf", "kp.pdf"}, 1},
        {"2026/KASA/KASA.DB", {"listing", "amount-range", "--min", "0", "--max", "0", "--out", "w.txt"}, 1},
        {"2026/KASA/KASA.DB", {"export", "contractors", "k.txt"}, 0},
        {"2026/FIN/KONTRAHI.DB", {"export", "contractors", "k.txt"}, 1},
        {"2026/FIN/KONTRAHI.DB", {"export", "documents", "d.txt"}, 0},
    };
    for (const Case &c : cases) {
        const QString table = path(QString::fromLatin1(c.damaged));
        ASSERT_TRUE(QFile::copy(table, table + QStringLiteral(".good")));
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(100, 'x'));
        file.close();
        QStringList command = c.command;
        command.last() = path(command.last());
        EXPECT_EQ(run(command), c.exitCode) << c.damaged << " " << c.command.join(' ').toStdString() << "\n"
                                            << errors.toStdString();
        if (c.exitCode != 0)
            EXPECT_TRUE(errors.contains(QStringLiteral("Nie otwarto tabel"))) << errors.toStdString();
        QFile::remove(table);
        ASSERT_TRUE(QFile::rename(table + QStringLiteral(".good"), table));
    }
}

TEST_F(CommandToolTest, ATableAnotherProgramHoldsStopsTheCommandWithoutWriting)
{
    // Yesterday's listing stays as it was when today's fails.
    QFile yesterday(path("kwoty.txt"));
    ASSERT_TRUE(yesterday.open(QIODevice::WriteOnly));
    yesterday.write("wczoraj");
    yesterday.close();
    const int other = ::open(QFile::encodeName(path("2026/KASA/NAGKASA.DB")).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    const int status = run({"listing", "amount-range", "--min", "0", "--max", "0", "--out", path("kwoty.txt")});
    ::close(other);

    EXPECT_EQ(status, 1);
    EXPECT_TRUE(errors.contains("NAGKASA")) << errors.toStdString();
    ASSERT_TRUE(yesterday.open(QIODevice::ReadOnly));
    EXPECT_EQ(yesterday.readAll(), QByteArray("wczoraj"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter("kwoty"), QStringList{"kwoty.txt"});
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

// Without --to the archive goes to ARCHIWUM in the data folder, or, for data on a server, in the
// working folder: never into the folder the command was started from.
TEST_F(CommandToolTest, TheDefaultArchiveLiesBesideTheData)
{
    QTemporaryDir elsewhere;
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    const int status = run({"archive"});
    QDir::setCurrent(started);
    EXPECT_EQ(status, 0) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(path("ARCHIWUM/2026/KASA/NAGKASA.DB")));
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
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

// A server named on the command line that cannot be reached: each command says so once, naming
// the server, without advice about table files, and writes nothing.
TEST_F(CommandToolTest, AServerThatCannotBeReachedIsSaidOnce)
{
    const QString server = QStringLiteral("dr=postgresql:///kasa?host=%1").arg(path("brak"));
    const QList<QStringList> commands{{"archive", "--to", path("archiwum")},
                                      {"listing", "cash-state", "--out", "d.txt"},
                                      {"export", "documents", "d.txt"}};
    for (const QStringList &command : commands) {
        EXPECT_EQ(run(command + QStringList{server}), 1) << command.join(' ').toStdString();
        EXPECT_EQ(errors.count("Brak połączenia z serwerem bazy danych"), 1) << errors.toStdString();
        EXPECT_TRUE(errors.contains(path("brak"))) << errors.toStdString();
        EXPECT_FALSE(errors.contains("kasa repair")) << errors.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("archiwum")));
    EXPECT_FALSE(QFileInfo::exists(path("d.txt")));
}

namespace {

QByteArray Contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Each way a tree can be damaged stops the archive before it touches the good archive, and the
// check names the table.
TEST_F(CommandToolTest, ADamagedTreeIsNeverArchivedOverTheGoodArchive)
{
    ASSERT_EQ(run({"archive", "--to", path("archiwum")}), 0) << errors.toStdString();
    const QByteArray goodDocuments = Contents(path("archiwum/2026/KASA/NAGKASA.DB"));
    const QByteArray goodCompany = Contents(path("archiwum/FIRMA.DB"));
    ASSERT_FALSE(goodDocuments.isEmpty());

    struct Damage {
        const char *name;
        std::function<void()> apply;
        QString named; // in the archive's refusal and the check's report
    };
    const auto sql = [this](const char *table, const char *statement) {
        return [this, table, statement] {
            sqlite3 *db = nullptr;
            ASSERT_EQ(sqlite3_open(QFile::encodeName(path(table)).constData(), &db), SQLITE_OK);
            RegisterPolishTextFunctions(db);
            ASSERT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
            sqlite3_close(db);
        };
    };
    const QList<Damage> damages{
        {"pages overwritten",
         [this] {
             QFile table(path("2026/KASA/NAGKASA.DB"));
             ASSERT_TRUE(table.open(QIODevice::ReadWrite));
             table.seek(8192);
             table.write(QByteArray(16384, 'x'));
         },
         "NAGKASA.DB"},
        {"table deleted", [this] { QFile::remove(path("2026/FIN/KONTRAHI.DB")); }, "KONTRAHI.DB"},
        {"text in a money field",
         sql("2026/KASA/NAGKASA.DB", "UPDATE data SET KWOTA = '12,50 zł' WHERE rowid = (SELECT min(rowid) FROM data WHERE KWOTA IS NOT NULL)"),
         "KWOTA"},
        {"text in a number field",
         sql("2026/KASA/NAGKASA.DB", "UPDATE data SET NRD = 'x1' WHERE rowid = (SELECT max(rowid) FROM data)"),
         "pole NRD: wartość 'x1'"},
        {"a key written twice",
         sql("2026/KASA/KASA.DB", "DROP INDEX primary_key; INSERT INTO data SELECT * FROM data LIMIT 1"), "KASA.DB"},
        {"a folder in place of a table",
         [this] {
             QFile::remove(path("2026/KASA/OPISKASA.DB"));
             QDir().mkpath(path("2026/KASA/OPISKASA.DB"));
         },
         "OPISKASA.DB"},
    };
    QTemporaryDir sound;
    ASSERT_EQ(QProcess::execute("cp", {"-a", dir.path() + "/2026", sound.path()}), 0);
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.name);
        damage.apply();
        EXPECT_EQ(run({"archive", "--to", path("archiwum")}), 1);
        EXPECT_TRUE(errors.contains(damage.named)) << errors.toStdString();
        EXPECT_EQ(Contents(path("archiwum/2026/KASA/NAGKASA.DB")), goodDocuments);
        EXPECT_EQ(Contents(path("archiwum/FIRMA.DB")), goodCompany);
        EXPECT_EQ(run({"check"}), 1);
        EXPECT_TRUE(output.contains(damage.named)) << output.toStdString();
        // Text in a money field is never exported as 0,00.
        if (damage.named == "KWOTA") {
            EXPECT_EQ(run({"export", "documents", path("dokumenty.txt")}), 1);
            EXPECT_TRUE(errors.contains("KWOTA")) << errors.toStdString();
            EXPECT_FALSE(QFile::exists(path("dokumenty.txt")));
        }
        ASSERT_EQ(QProcess::execute("rm", {"-rf", dir.path() + "/2026"}), 0);
        ASSERT_EQ(QProcess::execute("cp", {"-a", sound.path() + "/2026", dir.path()}), 0);
    }
    // An empty users table is no users table.
    QFile users(path("BAZA/USER.DB"));
    ASSERT_TRUE(users.open(QIODevice::WriteOnly | QIODevice::Truncate));
    users.close();
    EXPECT_EQ(run({"check"}), 1);
    EXPECT_TRUE(output.contains("BAZA/USER.DB")) << output.toStdString();
}

// The date of the archive that cannot be stored makes the archive unfinished; a repair that
// leaves a table unrepaired says which and why, and clears no file's read-only bit.
TEST_F(CommandToolTest, WhatCouldNotBeDoneEndsWithExitOne)
{
    const QString company = path("FIRMA.DB");
    ASSERT_TRUE(QFile::setPermissions(company, QFile::ReadOwner));
    EXPECT_EQ(run({"archive", "--to", path("archiwum")}), 1);
    EXPECT_TRUE(errors.contains("data archiwum nie została zapisana")) << errors.toStdString();
    ASSERT_TRUE(QFile::setPermissions(company, QFile::ReadOwner | QFile::WriteOwner));

    QFile listing(path("2026/FIN/WALUTA.STR"));
    ASSERT_TRUE(listing.open(QIODevice::WriteOnly | QIODevice::Truncate));
    listing.write("STRUKTURA ZBIORU\r\n");
    listing.close();
    EXPECT_EQ(run({"repair"}), 1);
    EXPECT_TRUE(errors.contains("WALUTA : opis struktury (.STR) jest niepełny")) << errors.toStdString();
    ASSERT_TRUE(QFile::remove(listing.fileName()));

    const QString documents = path("2026/KASA/NAGKASA.DB");
    ASSERT_TRUE(QFile::setPermissions(documents, QFile::ReadOwner));
    EXPECT_EQ(run({"repair"}), 1);
    EXPECT_TRUE(errors.contains("NAGKASA : Tabela")) << errors.toStdString();
    EXPECT_FALSE(QFile::permissions(documents) & QFile::WriteOwner);
    EXPECT_FALSE(errors.contains("atrybut Bazy? [Tak]")) << errors.toStdString();
}

// The cash state on a day comes from the report that holds the day, not from the last one; the
// structure listings of the tables go beside them, never into the process's own folder.
TEST_F(CommandToolTest, TheDayStateIsThatOfTheReportHoldingTheDay)
{
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    QFile::remove(path("FIRMA.STR"));
    const int status = run({"listing", "day-state", "--desk", "KAS1", "--day", "2026-03-15", "--out", path("dzien.txt")});
    QDir::setCurrent(before);
    ASSERT_EQ(status, 0) << errors.toStdString();
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    EXPECT_TRUE(QFile::exists(path("FIRMA.STR")));

    ASSERT_EQ(run({"listing", "report-state", "--desk", "KAS1", "--report", "3", "--out", path("marzec.txt")}), 0);
    ASSERT_EQ(run({"listing", "report-state", "--desk", "KAS1", "--out", path("ostatni.txt")}), 0);
    const auto stateLine = [](const QByteArray &listing) {
        for (const QByteArray &line : listing.split('\n'))
            if (line.contains("KAS1"))
                return line;
        return QByteArray();
    };
    const QByteArray march = stateLine(Contents(path("dzien.txt")));
    EXPECT_FALSE(march.isEmpty());
    EXPECT_NE(march, stateLine(Contents(path("ostatni.txt"))));
}

} // namespace

namespace {

// A write cut off by a kill leaves its journal; the next open rolls it back, so the check reports
// the table as the next start will find it, not as damaged.
TEST_F(CommandToolTest, AWriteCutOffByAKillIsNoDamage)
{
    const QByteArray table = QFile::encodeName(path("2026/KASA/NAGKASA.DB"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sqlite3 *db = nullptr;
        sqlite3_open(table.constData(), &db);
        RegisterPolishTextFunctions(db);
        sqlite3_exec(db, "PRAGMA cache_size = 1; BEGIN IMMEDIATE; UPDATE data SET ONAZ1 = 'przerwany zapis';",
                     nullptr, nullptr, nullptr);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(QFileInfo(path("2026/KASA/NAGKASA.DB-journal")).size() > 0);

    EXPECT_EQ(run({"check"}), 0) << output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path("2026/KASA/NAGKASA.DB-journal")));
}

} // namespace
