#include "maintenance_fixture.h"
#include "kill_runs.h"

#include "maintenance/new_year_opening.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

class ListLog : public NewYearLog {
public:
    void addLine(const QString &line) override { lines.append(line); }
    QStringList lines;
};

const QString kContinueQuestion =
    QStringLiteral("Błąd otwarcia roku. Kontynuacja może doprowadzić do utarty danych.\rCzy kontynuować ?");

} // namespace

class NewYearTest : public MaintenanceTest {
protected:
    void SetUp() override
    {
        MaintenanceTest::SetUp();
        addDocuments(4);
        tree.addRows(year2019(QStringLiteral("KASA/KASA.DB")),
                     {{{QStringLiteral("SYMBOL"), QStringLiteral("K1")}, {QStringLiteral("NAZWA"), QStringLiteral("Kasa główna")}}});
        tree.addRows(year2019(QStringLiteral("KASA/RKASA.DB")),
                     {{{QStringLiteral("SYMBOL"), QStringLiteral("K1")}, {QStringLiteral("NUMER"), 1}}});
        tree.addRows(year2019(QStringLiteral("KASA/OPISKASA.DB")),
                     {{{QStringLiteral("RD"), QStringLiteral("KP")}, {QStringLiteral("NAZWA"), QStringLiteral("Wpłata")}}});
        // A table written in lower case, one in a deeper folder, and a text file.
        tree.createTable(year2019(QStringLiteral("KASA/stare.db")), PaymentDescriptionTableDefinition(),
                         {{{QStringLiteral("RD"), QStringLiteral("KW")}, {QStringLiteral("NAZWA"), QStringLiteral("Zaliczka")}}});
        tree.createTable(year2019(QStringLiteral("KASA/KONWERT/NAGKASA.DB")), CashDocumentTableDefinition());
        writeFile(year2019(QStringLiteral("KASA/notatki.txt")));
    }

    QString year2019(const QString &relative) const { return QDir(tree.yearFolder(QStringLiteral("2019"))).filePath(relative); }
    QString year2020(const QString &relative) const { return QDir(tree.yearFolder(QStringLiteral("2020"))).filePath(relative); }
    int rows(const QString &path) { return int(tree.column(path, tree.open(path)->fields().first().name).size()); }

    NewYearReport open2020()
    {
        TableHelperContext helpers{tree.session(), prompt, state};
        return OpenNewYear({tree.dataRoot(), QStringLiteral("2019"), QStringLiteral("2020")}, helpers, log);
    }

    ScriptedPrompt prompt;
    ListLog log;
};

TEST_F(NewYearTest, Opening2020From2019)
{
    const NewYearReport report = open2020();

    EXPECT_TRUE(report.started);
    EXPECT_TRUE(report.failedTables.isEmpty()) << report.failedTables.join(u' ').toStdString();
    EXPECT_TRUE(prompt.messages().isEmpty());
    const QList<std::pair<const char *, int>> expected = {
        {"KASA/NAGKASA.DB", 0}, {"KASA/RKASA.DB", 0},     {"KASA/KASA.DB", 1},       {"KASA/OPISKASA.DB", 1},
        {"KSIEGA/USER.DB", 1},  {"KASA/stare.db", 1},     {"KASA/KONWERT/NAGKASA.DB", 0},
        {"FIN/KONTRAHI.DB", 0}, {"FIN/WALUTA.DB", 0},     {"SLOWNIKI/KONTAK.DB", 0},
    };
    for (const auto &[table, count] : expected)
        EXPECT_EQ(rows(year2020(QString::fromUtf8(table))), count) << table;
    EXPECT_EQ(tree.column(year2020(QStringLiteral("KASA/KASA.DB")), QStringLiteral("NAZWA")),
              QStringList{QStringLiteral("Kasa główna")});
    EXPECT_FALSE(QFileInfo::exists(year2020(QStringLiteral("KASA/notatki.txt"))));
    EXPECT_EQ(QDir(year2020(QStringLiteral("KASA"))).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot)
                  .filter(QStringLiteral(".kasa")),
              QStringList());
    EXPECT_EQ(state.YearFolders, QStringList({QStringLiteral("2019"), QStringLiteral("2020")}));
    EXPECT_EQ(log.lines.first(), QStringLiteral("Generowanie nowego roku."));
    EXPECT_EQ(log.lines.at(1), QStringLiteral("Baza danych w katalogu : ") + tree.dataRoot() + QStringLiteral("2019"));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Tworzenie bazy :")
                                   + QDir::toNativeSeparators(year2020(QStringLiteral("KASA/NAGKASA.DB")))));
    EXPECT_EQ(log.lines.last(), QStringLiteral("KONIEC."));
}

// The second START finds the year's folder: it asks, and on Yes creates only what is missing,
// never touching a table that is there; on No it stops.
TEST_F(NewYearTest, StartTwice)
{
    open2020();
    addDocuments(1, year2020(QStringLiteral("KASA/NAGKASA.DB")));
    tree.removeTable(year2020(QStringLiteral("KASA/OPISKASA.DB")));

    prompt.answer(Yes);
    NewYearReport again = open2020();
    EXPECT_EQ(prompt.shownOnce(kContinueQuestion).icon, PromptIcon::Warning);
    EXPECT_TRUE(again.started);
    EXPECT_EQ(again.createdTables, 1);
    EXPECT_EQ(rows(year2020(QStringLiteral("KASA/NAGKASA.DB"))), 1);
    EXPECT_EQ(rows(year2020(QStringLiteral("KASA/OPISKASA.DB"))), 1);
    EXPECT_EQ(state.YearFolders, QStringList({QStringLiteral("2019"), QStringLiteral("2020")}));

    prompt.clear();
    log.lines.clear();
    prompt.answer(No);
    again = open2020();
    EXPECT_FALSE(again.started);
    EXPECT_EQ(prompt.count(kContinueQuestion), 1);
    EXPECT_EQ(log.lines.last(), QStringLiteral("Baza danych w katalogu : ") + tree.dataRoot() + QStringLiteral("2019"));
}

TEST_F(NewYearTest, DamagedSourceTableIsLoggedAndTheRestGoesOn)
{
    tree.damageTable(year2019(QStringLiteral("FIN/WALUTA.DB")));
    const NewYearReport report = open2020();
    const QString failed = QDir::toNativeSeparators(year2020(QStringLiteral("FIN/WALUTA.DB")));
    EXPECT_EQ(report.failedTables, QStringList{failed});
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Bląd bazy :") + failed));
    EXPECT_FALSE(QFileInfo::exists(failed));
    EXPECT_EQ(rows(year2020(QStringLiteral("KASA/KASA.DB"))), 1);
}

TEST_F(NewYearTest, MissingSourceYearStillMakesTheFolderAndBadYearsAreRefused)
{
    TableHelperContext helpers{tree.session(), prompt, state};
    const NewYearReport report = OpenNewYear({tree.dataRoot(), QStringLiteral("2017"), QStringLiteral("2018")}, helpers, log);
    EXPECT_TRUE(report.started);
    EXPECT_TRUE(log.lines.contains(QStringLiteral("Brak katalogu : ") + tree.dataRoot() + QStringLiteral("2017")));
    EXPECT_TRUE(QFileInfo(tree.yearFolder(QStringLiteral("2018"))).isDir());
    EXPECT_TRUE(state.YearFolders.contains(QStringLiteral("2018")));

    for (const char *year : {"", "20a0", "202", "3020"}) {
        log.lines.clear();
        EXPECT_FALSE(OpenNewYear({tree.dataRoot(), QStringLiteral("2019"), QString::fromUtf8(year)}, helpers, log).started);
        EXPECT_TRUE(log.lines.isEmpty());
    }
    EXPECT_EQ(prompt.count(QStringLiteral("Rok musi mieć cztery cyfry, np. 2020.")), 4);
}

// An opening killed at any moment leaves no year or the whole year, never a year with some of
// its tables; the next opening removes what the killed one built aside and makes the year.
TEST_F(NewYearTest, AKilledOpeningLeavesNoHalfBuiltYear)
{
    const QString year = tree.yearFolder(QStringLiteral("2020"));
    const auto filesOfYear = [&] {
        QStringList files;
        QDirIterator it(year, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(year).relativeFilePath(it.next()));
        files.sort();
        return files;
    };
    const auto opening = [&] { open2020(); };
    const QList<int> pauses = PausesOver(opening);
    const QStringList whole = filesOfYear();
    ASSERT_FALSE(whole.isEmpty());
    for (const int pause : pauses) {
        QDir(year).removeRecursively();
        RunAndKill(opening, pause);
        if (QFileInfo::exists(year))
            EXPECT_EQ(filesOfYear(), whole) << pause;
        QDir(year).removeRecursively();
        open2020();
        EXPECT_EQ(filesOfYear(), whole) << pause;
        EXPECT_EQ(QDir(tree.dataRoot()).entryList({QStringLiteral(".kasa-nowy-rok*")}, QDir::Dirs | QDir::Hidden), QStringList{})
            << pause;
    }
}
