#include "store/table_schemas.h"
#include "store/polish_collation.h"
#include "store_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sqlite3.h>

namespace {

class TableStructureTest : public StoreTest {};

TableDefinition EveryType()
{
    TableDefinition t;
    t.fields = {
        {QStringLiteral("KOD"), FieldType::Text, 5, true},
        {QStringLiteral("ILE"), FieldType::Integer, 0, false},
        {QStringLiteral("MALA"), FieldType::SmallInt, 0, false},
        {QStringLiteral("JEST"), FieldType::Boolean, 0, true},
        {QStringLiteral("KURS"), FieldType::Float, 0, false},
        {QStringLiteral("KWOTA"), FieldType::Currency, 0, false},
        {QStringLiteral("NR"), FieldType::AutoIncrement, 0, false},
        {QStringLiteral("OPIS"), FieldType::Memo, 240, false},
        {QStringLiteral("ff"), FieldType::Memo, 1, false},
    };
    IndexDef primary;
    primary.fields = {QStringLiteral("KOD")};
    primary.primary = true;
    primary.unique = true;
    IndexDef unique;
    unique.name = QStringLiteral("Uinx");
    unique.fields = {QStringLiteral("NR"), QStringLiteral("KOD")};
    unique.unique = true;
    IndexDef named;
    named.name = QStringLiteral("Kinx");
    named.fields = {QStringLiteral("KWOTA")};
    named.caseInsensitive = true;
    t.indexes = {primary, unique, named};
    return t;
}

} // namespace

TEST_F(TableStructureTest, DefinitionsReadBackExactlyAsCreated)
{
    for (const TableDefinition &definition : {EveryType(), CashDocumentTableDefinition(), CompanyTableDefinition(),
                                              ParameterTableDefinition()}) {
        auto t = table(QStringLiteral("T.DB"), &definition);
        EXPECT_EQ(t->definition(), definition) << "closed";
        t->open();
        EXPECT_EQ(t->definition(), definition) << "open";
        t->close();
        t->deleteTable();
    }
}

TEST_F(TableStructureTest, TextsKeepLeadingZerosAndAreCutToTheirSize)
{
    const TableDefinition definition = EveryType();
    auto t = openTable(QStringLiteral("T"), definition);
    AddRow(*t, {{"KOD", QStringLiteral("0070000")}, {"JEST", true}, {"KWOTA", QStringLiteral("1 234,5")}});
    t->close();
    t->open();
    EXPECT_EQ(t->asString(QStringLiteral("KOD")), QStringLiteral("00700"));
    EXPECT_EQ(t->asMoney(QStringLiteral("KWOTA")), Money::fromCents(123450));
    EXPECT_EQ(t->asString(QStringLiteral("KWOTA")), QStringLiteral("1234,5"));
}

TEST_F(TableStructureTest, IndexesCanBeAddedReplacedAndDeleted)
{
    const TableDefinition definition = EveryType();
    auto t = table(QStringLiteral("T"), &definition);
    t->deleteIndex(QStringLiteral("Kinx"));
    t->addIndex(Index("Oinx", "OPIS;KOD"));
    IndexDef primary = Primary("KOD;ILE");
    t->addIndex(primary); // replaces the primary index
    TableDefinition expected = definition;
    expected.indexes = {primary, definition.indexes[1], Index("Oinx", "OPIS;KOD")};
    EXPECT_EQ(t->definition(), expected);
    t->deleteIndex(QString());
    expected.indexes.removeFirst();
    EXPECT_EQ(t->definition(), expected);
    try {
        t->deleteIndex(QStringLiteral("Brak"));
        FAIL();
    } catch (const EngineError &error) {
        EXPECT_EQ(error.kind(), EngineErrorKind::Missing);
    }
}

TEST_F(TableStructureTest, OpenFailuresCarryTheirKind)
{
    QFile noise(path(QStringLiteral("SZUM.DB")));
    ASSERT_TRUE(noise.open(QIODevice::WriteOnly));
    QByteArray bytes(8192, '\0');
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    noise.write(bytes);
    noise.close();
    QFile empty(path(QStringLiteral("PUSTY.DB")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    const struct {
        const char *name;
        EngineErrorKind kind;
    } cases[] = {{"SZUM", EngineErrorKind::Damaged}, {"PUSTY", EngineErrorKind::Damaged},
                 {"BRAK", EngineErrorKind::Missing}};
    for (const auto &c : cases) {
        auto t = table(QString::fromUtf8(c.name));
        try {
            t->open();
            ADD_FAILURE() << c.name;
        } catch (const EngineError &error) {
            EXPECT_EQ(error.kind(), c.kind) << c.name;
            EXPECT_FALSE(error.message().isEmpty());
        }
        EXPECT_FALSE(t->isOpen());
    }
}

TEST_F(TableStructureTest, FileNamesAreMatchedWithoutRegardToCase)
{
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("Rok/Kasa")));
    const TableDefinition definition = CashDeskTableDefinition();
    auto created = table(QStringLiteral("Rok/Kasa/Kasa.db"), &definition);
    auto t = table(QStringLiteral("ROK\\KASA\\KASA"));
    EXPECT_EQ(t->filePath(), path(QStringLiteral("Rok/Kasa/Kasa.db")));
    t->open();
    EXPECT_TRUE(t->isOpen());
    // A new table keeps the program's spelling of its own name.
    auto fresh = table(QStringLiteral("ROK\\KASA\\NOWA"), &definition);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("Rok/Kasa/NOWA.DB"))));
}

TEST_F(TableStructureTest, DeleteRenameAndCreateReplace)
{
    const TableDefinition definition = CashDeskTableDefinition();
    auto t = openTable(QStringLiteral("OPISKAS"), definition);
    AddRow(*t, {{"SYMBOL", QStringLiteral("K1")}});
    EXPECT_THROW(t->renameTable(QStringLiteral("OPISKASA.DB")), EngineError); // open
    t->close();
    t->renameTable(QStringLiteral("OPISKASA.DB"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("OPISKAS.DB"))));
    t->open();
    EXPECT_EQ(t->recordCount(), 1);
    t->close();
    t->create(definition); // replaces, empty
    t->open();
    EXPECT_EQ(t->recordCount(), 0);
    t->close();
    t->deleteTable();
    EXPECT_FALSE(t->exists());
    try {
        t->deleteTable();
        FAIL();
    } catch (const EngineError &error) {
        EXPECT_EQ(error.kind(), EngineErrorKind::Missing);
    }
}

TEST_F(TableStructureTest, BadDefinitionsAreRefused)
{
    TableDefinition twice = CashDeskTableDefinition();
    twice.fields.append(twice.fields.first());
    TableDefinition badIndex = CashDeskTableDefinition();
    badIndex.indexes.append(Index("Xinx", "BRAK"));
    for (const TableDefinition &definition : {twice, badIndex, TableDefinition()}) {
        auto t = table(QStringLiteral("ZLA"));
        EXPECT_THROW(t->create(definition), EngineError);
        EXPECT_FALSE(t->exists());
    }
}

TEST_F(TableStructureTest, FieldsWrittenBySiblingProgramsAreCarriedAlong)
{
    const TableDefinition definition = CashDeskTableDefinition();
    auto t = openTable(QStringLiteral("KASA"), definition);
    AddRow(*t, {{"SYMBOL", QStringLiteral("K1")}});
    t->close();
    {
        // Another program of the suite adds a field of its own and fills it.
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path(QStringLiteral("KASA.DB"))).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "ALTER TABLE data ADD COLUMN INNE TEXT; UPDATE data SET INNE = 'zostaje';",
                               nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    t->open();
    EXPECT_EQ(t->definition().fields.last(), Field("INNE", FieldType::Text));
    t->edit();
    t->setString(QStringLiteral("NAZWA"), QStringLiteral("Kasa główna"));
    t->post();
    t->refresh();
    EXPECT_EQ(t->asString(QStringLiteral("INNE")), QStringLiteral("zostaje"));
    EXPECT_EQ(t->asString(QStringLiteral("NAZWA")), QStringLiteral("Kasa główna"));
}

// A table kept read-only is opened so that nothing is written to it, even by a user the system
// would let write: no lost index is rebuilt, no helper index made, and a post fails as read-only.
TEST_F(TableStructureTest, AReadOnlyTableIsNeverWritten)
{
    TableDefinition d;
    d.fields = {Field("KOD", FieldType::Integer), Field("NR", FieldType::AutoIncrement),
                Field("OPIS", FieldType::Text, 20)};
    d.indexes = {Primary("KOD"), Index("Oinx", "OPIS")};
    {
        auto t = openTable(QStringLiteral("RO"), d);
        AddRow(*t, {{"KOD", 1}, {"OPIS", QStringLiteral("jeden")}});
        t->close();
    }
    const QString file = path(QStringLiteral("RO.DB"));
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    RegisterPolishTextFunctions(db);
    // Every index goes: the listed one and the engine's own.
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TEMP TABLE gone AS SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL;",
                           nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_stmt *names = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM gone", -1, &names, nullptr);
    QStringList indexes;
    while (sqlite3_step(names) == SQLITE_ROW)
        indexes << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(names, 0)));
    sqlite3_finalize(names);
    for (const QString &index : indexes)
        sqlite3_exec(db, ("DROP INDEX \"" + index.toUtf8() + "\"").constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_FALSE(indexes.isEmpty());
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const auto contents = [&] {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    const QByteArray before = contents();

    auto t = table(QStringLiteral("RO"));
    t->open();
    t->setIndexName(QStringLiteral("Oinx"));
    t->first();
    EXPECT_EQ(t->asString(QStringLiteral("OPIS")), QStringLiteral("jeden"));
    t->setIndexFieldNames(QStringLiteral("NR;OPIS"));
    t->last();
    t->append();
    t->setInteger(QStringLiteral("KOD"), 2);
    try {
        t->post();
        ADD_FAILURE() << "posted into a read-only table";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Tabela %1 jest tylko do odczytu.").arg(file));
    }
    t->cancel();
    t->close();
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral("-journal")));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}
