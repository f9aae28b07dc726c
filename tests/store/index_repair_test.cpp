#include "store/index_repair.h"

#include "support/listed_table.h"
#include "support/scripted_prompt.h"
#include "store/polish_collation.h"
#include "store/structure_listing.h"
#include "store/table_connection.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kQuestion = QString::fromUtf8("Uwaga ! Proszę zamknąć pozostałe programy.\rCzy zacząć odtwarzanie indeksów ?");
const QString kTablesUsed = QString::fromUtf8("Bazy danych używane w programie:");
const QString kRepairing = QString::fromUtf8("Odtwarzanie baz danych używanych w programie:");

// The log as the window would show it, and every change made to it.
class RecordingLog : public IndexRepairLog {
public:
    void clear() override
    {
        lines.clear();
        history << QStringLiteral("clear");
    }
    int addLine(const QString &line) override
    {
        lines << line;
        history << QStringLiteral("add ") + line;
        return int(lines.size()) - 1;
    }
    void replaceLine(int position, const QString &line) override
    {
        history << QStringLiteral("replace %1 %2").arg(position).arg(line);
        lines[position] = line;
    }
    QStringList lines;
    QStringList history;
};

TableDefinition DocumentTable() { return CashDocumentTableDefinition(); }

class IndexRepairTest : public StoreTest {
protected:
    // A listed table "name" in the temporary folder; its path without extension.
    QString listedTable(const QString &name, const TableDefinition &definition)
    {
        const QString p = path(name);
        CreateListedTable(session_, p, definition);
        return p;
    }

    IndexRepairResult repair(const QStringList &tables, std::function<void()> rerun = {})
    {
        prompt_.answer(Yes);
        return RunIndexRepair({session_, prompt_, tables, std::move(rerun)}, log_);
    }

    TableDefinition definitionOf(const QString &tablePath)
    {
        Table t(session_);
        t.setTableName(tablePath + QStringLiteral(".DB"));
        return t.definition();
    }

    void dropAllIndexes(const QString &tablePath)
    {
        Table t(session_);
        t.setTableName(tablePath + QStringLiteral(".DB"));
        for (const IndexDef &index : t.definition().indexes)
            t.deleteIndex(index.primary ? QString() : index.name);
        ASSERT_TRUE(t.definition().indexes.isEmpty());
    }

    static void touch(const QString &file)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    static void writeListing(const QString &tablePath, const QByteArray &text)
    {
        QFile f(tablePath + QStringLiteral(".STR"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    ScriptedPrompt prompt_;
    RecordingLog log_;
};

TEST_F(IndexRepairTest, RebuildsDroppedIndexesExactlyAsListedAndLogsEachStep)
{
    const QString documents = listedTable(QStringLiteral("NAGKASA"), DocumentTable());
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    dropAllIndexes(documents);
    Table held(session_);
    held.setTableName(desks + QStringLiteral(".DB"));
    held.open();

    EXPECT_EQ(repair({documents, desks}), IndexRepairResult::Finished);

    const ScriptedPrompt::Message question = prompt_.shownOnce(kQuestion);
    EXPECT_EQ(question.icon, PromptIcon::Warning);
    EXPECT_EQ(question.buttons, Yes | No);
    EXPECT_EQ(definitionOf(documents).indexes, DocumentTable().indexes);
    EXPECT_EQ(definitionOf(desks).indexes, CashDeskTableDefinition().indexes);
    EXPECT_EQ(log_.lines, (QStringList{kTablesUsed, documents, desks, kRepairing, documents + " naprawiono.",
                                       desks + " naprawiono.", "KONIEC"}));
    EXPECT_EQ(log_.history.mid(5, 4), (QStringList{"add " + documents + " ...", "replace 4 " + documents + " naprawiono.",
                                                   "add " + desks + " ...", "replace 5 " + desks + " naprawiono."}));
    // Without an open sequence to run, the session opens again what it closed.
    EXPECT_TRUE(held.isOpen());
}

// The company table is recorded without a folder when the data root is still empty: its name
// starts in the session's working folder, wherever the process stands.
TEST_F(IndexRepairTest, RelativeNamesStartInTheWorkingFolder)
{
    QDir().mkpath(path(QStringLiteral("2026/KASA")));
    listedTable(QStringLiteral("FIRMA"), CompanyTableDefinition());
    listedTable(QStringLiteral("2026/KASA/KASA"), CashDeskTableDefinition());
    touch(path(QStringLiteral("FIRMA.PX")));
    touch(path(QStringLiteral("2026/KASA/KASA.PX")));
    dropAllIndexes(path(QStringLiteral("FIRMA")));
    ASSERT_NE(QDir::currentPath(), dir_.path());

    repair({QStringLiteral("FIRMA"), QStringLiteral("2026\\KASA\\KASA")});

    EXPECT_EQ(log_.lines.mid(4, 2), (QStringList{"FIRMA naprawiono.", "2026\\KASA\\KASA naprawiono."}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("FIRMA.PX"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("2026/KASA/KASA.PX"))));
    EXPECT_EQ(definitionOf(path(QStringLiteral("FIRMA"))).indexes, CompanyTableDefinition().indexes);
}

TEST_F(IndexRepairTest, ClosesTheSessionAndRunsTheOpenSequenceAfterwards)
{
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    Table held(session_);
    held.setTableName(desks + QStringLiteral(".DB"));
    held.open();
    int reruns = 0;

    repair({desks}, [&] {
        EXPECT_FALSE(held.isOpen());
        ++reruns;
    });

    EXPECT_EQ(reruns, 1);
}

TEST_F(IndexRepairTest, AnswerNoTouchesNothing)
{
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    touch(desks + QStringLiteral(".PX"));
    Table held(session_);
    held.setTableName(desks + QStringLiteral(".DB"));
    held.open();
    prompt_.answer(No);
    int reruns = 0;

    EXPECT_EQ(RunIndexRepair({session_, prompt_, {desks}, [&] { ++reruns; }}, log_), IndexRepairResult::Declined);

    EXPECT_TRUE(log_.history.isEmpty());
    EXPECT_TRUE(held.isOpen());
    EXPECT_TRUE(QFile::exists(desks + QStringLiteral(".PX")));
    EXPECT_EQ(reruns, 0);
}

// Listings that give no index lines keep the table's own keys (built afresh) rather than leave
// it without any; a listing cut short loses its last line, which may be cut itself.
TEST_F(IndexRepairTest, ListingWithoutIndexLines)
{
    const QByteArray complete = StructureListingText(CashReportTableDefinition());
    const QByteArray fieldsOnly = complete.left(complete.indexOf("INDEKSY")) + "KONIEC\r\n";
    const QByteArray withSecondary = StructureListingText(
        TableDefinition{CashReportTableDefinition().fields,
                        {CashReportTableDefinition().indexes[0],
                         IndexDef{"Dinx", {"DATAOD"}, false, false, true}}});
    struct Case {
        const char *name;
        QByteArray listing;
        QList<IndexDef> expected;
    };
    const QList<Case> cases{
        {"no INDEKSY line", fieldsOnly, CashReportTableDefinition().indexes},
        {"complete listing with a secondary index", withSecondary,
         {CashReportTableDefinition().indexes[0], IndexDef{"Dinx", {"DATAOD"}, false, false, true}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString reports = listedTable(QStringLiteral("RKASA"), CashReportTableDefinition());
        writeListing(reports, c.listing);
        log_ = RecordingLog();

        repair({reports});

        EXPECT_EQ(log_.lines.value(3), reports + " naprawiono.");
        EXPECT_EQ(definitionOf(reports).indexes, c.expected);
    }
}

// A listing cut short (inside its last index line, after it, or empty) or holding junk is not
// repaired from: the table keeps every index it has, and the log says "nienaprawiono".
TEST_F(IndexRepairTest, AListingThatCannotBeReadWhollyChangesNothing)
{
    const QByteArray complete = StructureListingText(DocumentTable());
    const int lastIndexLine = complete.lastIndexOf("Nazwa:");
    const int fieldLine = complete.indexOf("Pole:");
    struct Case {
        const char *name;
        QByteArray listing;
    };
    const QList<Case> cases{
        {"empty", QByteArray()},
        {"cut inside the last index line", complete.left(lastIndexLine + 20)},
        {"cut after the last index line", complete.left(complete.indexOf("KONIEC"))},
        {"junk among the index lines", complete.left(lastIndexLine) + "#@!\r\n" + complete.mid(lastIndexLine)},
        {"junk among the fields", complete.left(fieldLine) + "\x01\x02\r\n" + complete.mid(fieldLine)},
        {"an index line without key fields",
         complete.left(lastIndexLine) + "Nazwa:Xinx                                    Pole:\r\n" + complete.mid(lastIndexLine)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString documents = listedTable(QStringLiteral("NAGKASA"), DocumentTable());
        writeListing(documents, c.listing);
        log_ = RecordingLog();

        EXPECT_EQ(repair({documents}), IndexRepairResult::Finished);

        EXPECT_EQ(log_.lines.value(3), documents + " nienaprawiono.");
        EXPECT_EQ(definitionOf(documents).indexes, DocumentTable().indexes);
    }
}

// A complete listing that lacks indexes the program defines for the table: they are built all
// the same, so the program can still open the table and a later repair has nothing to restore.
TEST_F(IndexRepairTest, TheProgramsOwnIndexesAreNeverDropped)
{
    ASSERT_TRUE(QDir(path(QString())).mkpath(QStringLiteral("KASA"))); // where the program keeps it
    const QString documents = listedTable(QStringLiteral("KASA/NAGKASA"), DocumentTable());
    TableDefinition listed = DocumentTable();
    listed.indexes = {listed.indexes[0], IndexDef{"Xinx", {"DATA"}, false, false, true}};
    writeListing(documents, StructureListingText(listed));

    repair({documents});

    EXPECT_EQ(log_.lines.value(3), documents + " naprawiono.");
    QStringList names;
    for (const IndexDef &index : definitionOf(documents).indexes)
        names << index.name;
    names.sort();
    EXPECT_EQ(names, (QStringList{"", "Ainx", "Dinx", "Ninx", "Pinx", "Rinx", "Xinx"}));
}

TEST_F(IndexRepairTest, IndexLinesAreReadByTheirColumns)
{
    const QByteArray listing = "INDEKSY\r\n"
                               "Nazwa:                                        Pole:SYMBOL;NUMER                            \r\n"
                               "Nazwa:D inx                                   Pole:DATA;NRD   \r\n"
                               "Pole:not an index line\r\n"
                               "KONIEC\r\n"
                               "Nazwa:Late                                    Pole:NRD\r\n"
                               "Nazwa:Last                                    Pole:NRD\r\n";

    const QList<IndexDef> indexes = IndexLinesOfListing(listing);

    EXPECT_EQ(indexes, (QList<IndexDef>{IndexDef{"", {"SYMBOL", "NUMER"}, true, true, false},
                                        IndexDef{"Dinx", {"DATA", "NRD"}, false, false, true},
                                        IndexDef{"Late", {"NRD"}, false, false, true}}));
}

TEST_F(IndexRepairTest, MissingListingLeavesTheTableUntouched)
{
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    QFile::remove(desks + QStringLiteral(".STR"));
    touch(desks + QStringLiteral(".PX"));

    repair({desks});

    EXPECT_EQ(log_.lines.value(3), desks + " nienaprawiono.");
    EXPECT_EQ(log_.lines.value(4), "KONIEC");
    EXPECT_TRUE(QFile::exists(desks + QStringLiteral(".PX")));
    EXPECT_EQ(definitionOf(desks), CashDeskTableDefinition());
}

TEST_F(IndexRepairTest, DeletesIndexFilesAndKeepsTableMemoAndListing)
{
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    const QStringList deleted{".PX", ".X02", ".Y02", ".XG0", ".YG0", ".VAL"};
    const QStringList kept{".MB", ".STR", ".DB"};
    for (const QString &extension : deleted + QStringList{".MB"})
        touch(desks + extension);
    touch(path(QStringLiteral("KASA2.PX")));     // another table's file
    touch(path(QStringLiteral("RKASA.PX")));

    repair({desks});

    for (const QString &extension : deleted)
        EXPECT_FALSE(QFile::exists(desks + extension)) << extension.toStdString();
    for (const QString &extension : kept)
        EXPECT_TRUE(QFile::exists(desks + extension)) << extension.toStdString();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("KASA2.PX"))));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("RKASA.PX"))));
}

TEST_F(IndexRepairTest, KeepRuleGoesByTheLastTwoLetters)
{
    for (const char *name : {"KASA.DB", "kasa.db", "KASA.MB", "KASA.STR", "KASA.DBXE", "KASA.DB-journal"})
        EXPECT_TRUE(IsKeptByIndexRepair(QString::fromLatin1(name))) << name;
    for (const char *name : {"KASA.PX", "KASA.X02", "KASA.YG0", "KASA.VAL", "KASA.DB.creating", "KASA.journal"})
        EXPECT_FALSE(IsKeptByIndexRepair(QString::fromLatin1(name))) << name;
}

// A crash in the middle of a write leaves the table file half changed and the old pages in its
// journal; the repair must let SQLite put them back instead of deleting the journal.
TEST_F(IndexRepairTest, HotJournalIsPlayedBackNotDeleted)
{
    const QString original = listedTable(QStringLiteral("KONTAK"), AccountTableDefinition());
    {
        auto accounts = table(original + QStringLiteral(".DB"));
        accounts->open();
        TransactionScope scope;
        for (int i = 0; i < 3000; ++i)
            AddRow(*accounts, {{"KOD", QString::number(100000 + i)}, {"NAZWA", QString(40, QChar(u'a' + i % 26))}});
        scope.commit();
    }
    const QString crashed = path(QStringLiteral("KONTA2"));
    QFile::copy(original + QStringLiteral(".STR"), crashed + QStringLiteral(".STR"));
    {
        // Caught mid-write: the file and its journal copied while the transaction is open.
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(original + QStringLiteral(".DB")).constData(), &db), SQLITE_OK);
        ASSERT_EQ(RegisterPolishTextFunctions(db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA cache_size=1; BEGIN; UPDATE data SET NAZWA = 'zmienione w locie';",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        ASSERT_TRUE(QFile::copy(original + QStringLiteral(".DB"), crashed + QStringLiteral(".DB")));
        ASSERT_TRUE(QFile::copy(original + QStringLiteral(".DB-journal"), crashed + QStringLiteral(".DB-journal")));
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    QFile before(original + QStringLiteral(".DB"));
    QFile after(crashed + QStringLiteral(".DB"));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly) && after.open(QIODevice::ReadOnly));
    ASSERT_NE(before.readAll(), after.readAll()) << "the copy must hold half-written pages";

    repair({crashed});

    EXPECT_EQ(log_.lines.value(3), crashed + " naprawiono.");
    EXPECT_FALSE(QFile::exists(crashed + QStringLiteral(".DB-journal")));
    auto accounts = table(crashed + QStringLiteral(".DB"));
    accounts->open();
    EXPECT_EQ(accounts->recordCount(), 3000);
    EXPECT_FALSE(Column(*accounts, "NAZWA").contains(QStringLiteral("zmienione w locie")));
}

TEST_F(IndexRepairTest, TableHeldByAnotherProgramIsNotRepaired)
{
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    const QString other = listedTable(QStringLiteral("RKASA"), CashReportTableDefinition());
    const QByteArray file = QFile::encodeName(desks + QStringLiteral(".DB"));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(file.constData(), O_RDONLY);
        ::flock(fd, LOCK_SH);
        (void)!::write(ready[1], "1", 1);
        for (;;)
            pause();
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);

    repair({desks, other});

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(log_.lines.mid(4), (QStringList{desks + " nienaprawiono.", other + " naprawiono.", "KONIEC"}));
}

// The repair stops at an index the table cannot have; that table keeps the indexes it had and
// the tables after it are not touched.
TEST_F(IndexRepairTest, IndexOverMissingFieldEndsTheRepairWithTheEnginesMessage)
{
    const QString desks = listedTable(QStringLiteral("KASA"), CashDeskTableDefinition());
    const QString reports = listedTable(QStringLiteral("RKASA"), CashReportTableDefinition());
    touch(reports + QStringLiteral(".PX"));
    TableDefinition listed = CashDeskTableDefinition();
    listed.fields << FieldDef{"ZNIKLO", FieldType::Text, 5, false};
    listed.indexes << IndexDef{"Zinx", {"ZNIKLO"}, false, false, true};
    writeListing(desks, StructureListingText(listed));
    QString enginesMessage;
    try {
        const TableDefinition deskTable = CashDeskTableDefinition();
        auto scratch = table(path(QStringLiteral("SCRATCH")), &deskTable);
        scratch->addIndex(listed.indexes.last());
    } catch (const EngineError &error) {
        enginesMessage = QString(error.message()).replace(path(QStringLiteral("SCRATCH")), QString());
    }
    int reruns = 0;

    EXPECT_EQ(repair({desks, reports}, [&] { ++reruns; }), IndexRepairResult::Stopped);

    ASSERT_EQ(prompt_.messages().size(), 2);
    EXPECT_EQ(prompt_.messages()[1].icon, PromptIcon::Error);
    EXPECT_FALSE(enginesMessage.isEmpty());
    EXPECT_EQ(QString(prompt_.messages()[1].text).replace(desks, QString()), enginesMessage);
    EXPECT_EQ(log_.lines, (QStringList{kTablesUsed, desks, reports, kRepairing, desks + " nienaprawiono."}));
    EXPECT_EQ(definitionOf(desks).indexes, CashDeskTableDefinition().indexes);
    EXPECT_TRUE(QFile::exists(reports + QStringLiteral(".PX")));
    EXPECT_EQ(reruns, 1);
}

} // namespace
