#include "store/bulk_writer.h"
#include "store/engine_error.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

namespace {

class BulkWriterTest : public StoreTest {
protected:
    // A key of a text (compared exactly) and a number, an automatic number beside it.
    static TableDefinition entries(bool keyIgnoresCase = false)
    {
        TableDefinition d;
        d.fields = {Field("KOD", FieldType::Text, 4), Field("NR", FieldType::Integer),
                    Field("AUTO", FieldType::AutoIncrement), Field("OPIS", FieldType::Text, 6),
                    Field("KWOTA", FieldType::Currency), Field("WYMAGANE", FieldType::Text, 3, true)};
        IndexDef primary = Primary("KOD;NR");
        primary.caseInsensitive = keyIgnoresCase;
        d.indexes = {primary, Index("Oinx", "OPIS")};
        return d;
    }
    // A row of stored values in the table's order.
    static QVariantList row(const char *code, int number, const char *text, qint64 units = 0)
    {
        return {QString::fromUtf8(code), qint64(number), QVariant(), QString::fromUtf8(text), units, QStringLiteral("x")};
    }
    static QVariantList key(const char *code, int number) { return {QString::fromUtf8(code), qint64(number)}; }
    static QStringList Rows(Table &t)
    {
        QStringList rows;
        for (t.first(); !t.eof(); t.next())
            rows.append(QStringLiteral("%1/%2/%3/%4").arg(t.asString(QStringLiteral("KOD")), t.asString(QStringLiteral("NR")),
                                                        t.asString(QStringLiteral("AUTO")), t.asString(QStringLiteral("OPIS"))));
        return rows;
    }
};

} // namespace

TEST_F(BulkWriterTest, InsertsUpdatesAndFindsRowsOldAndNew)
{
    auto t = openTable(QStringLiteral("W"), entries());
    AddRow(*t, {{"KOD", "A"}, {"NR", 1}, {"OPIS", "stary"}, {"WYMAGANE", "x"}});
    auto other = table(QStringLiteral("W"));
    other->open();
    other->first(); // a second view on the file, standing on the old row
    {
        BulkWriter writer(*t);
        EXPECT_EQ(writer.primaryKeyFields(), (QList<int>{0, 1}));
        const qint64 old = writer.findPrimaryKey(key("A", 1));
        EXPECT_NE(old, 0);
        // Texts of the key compare exactly: another case is another key.
        EXPECT_EQ(writer.findPrimaryKey(key("a", 1)), 0);
        EXPECT_EQ(writer.findPrimaryKey(key("A", 2)), 0);

        QVariantList added = row("a", 1, "nowy");
        const qint64 id = writer.insert(added);
        EXPECT_EQ(added[2].toLongLong(), 2) << "the number after the highest one";
        EXPECT_EQ(writer.findPrimaryKey(key("a", 1)), id);
        QVariantList numbered = row("B", 7, "sam");
        numbered[2] = qint64(40);
        writer.insert(numbered);
        QVariantList next = row("C", 1, "");
        writer.insert(next);
        EXPECT_EQ(next[2].toLongLong(), 41);

        writer.update(old, row("A", 1, "zmiana"), {3});
        // A key changed by an update is found under its new value only.
        writer.update(id, row("D", 5, ""), {0, 1});
        EXPECT_EQ(writer.findPrimaryKey(key("a", 1)), 0);
        EXPECT_EQ(writer.findPrimaryKey(key("D", 5)), id);
        writer.commit();
        QVariantList late = row("E", 1, "");
        EXPECT_THROW(writer.insert(late), EngineError) << "nothing is written after the commit";
    }
    EXPECT_EQ(Rows(*t), (QStringList{"A/1/1/zmiana", "B/7/40/sam", "C/1/41/", "D/5/2/nowy"}));
    other->refresh();
    EXPECT_EQ(other->asString(QStringLiteral("OPIS")), QStringLiteral("zmiana"));
    EXPECT_EQ(Column(*other, "KOD"), (QStringList{"A", "B", "C", "D"}));
}

TEST_F(BulkWriterTest, NothingStaysWithoutCommitOrInsideAScopeThatFails)
{
    auto t = openTable(QStringLiteral("W"), entries());
    AddRow(*t, {{"KOD", "A"}, {"NR", 1}, {"OPIS", "stary"}, {"WYMAGANE", "x"}});
    {
        BulkWriter writer(*t);
        QVariantList added = row("B", 1, "nowy");
        writer.insert(added);
        writer.update(writer.findPrimaryKey(key("A", 1)), row("A", 1, "zmiana"), {3});
    }
    EXPECT_EQ(Rows(*t), QStringList{"A/1/1/stary"});
    {
        TransactionScope outer;
        BulkWriter writer(*t);
        QVariantList added = row("B", 1, "nowy");
        writer.insert(added);
        writer.commit(); // a part of the outer scope, which ends without its commit
    }
    EXPECT_EQ(Rows(*t), QStringList{"A/1/1/stary"});
}

TEST_F(BulkWriterTest, RefusesWhatTheTableCannotHold)
{
    auto t = openTable(QStringLiteral("W"), entries());
    AddRow(*t, {{"KOD", "A"}, {"NR", 1}, {"OPIS", "stary"}, {"WYMAGANE", "x"}});
    BulkWriter writer(*t);
    QVariantList tooLong = row("B", 1, "siedem7");
    QVariantList noRequired = row("C", 1, "");
    noRequired[5] = QVariant();
    QVariantList repeated = row("A", 1, "");
    QVariantList shortRow{QStringLiteral("D")};
    const struct {
        QVariantList *row;
        EngineErrorKind kind;
    } cases[] = {{&tooLong, EngineErrorKind::Other}, {&noRequired, EngineErrorKind::Other},
                 {&repeated, EngineErrorKind::KeyViolation}, {&shortRow, EngineErrorKind::Other}};
    for (const auto &c : cases) {
        try {
            writer.insert(*c.row);
            ADD_FAILURE() << c.row->value(0).toString().toStdString() << " was written";
        } catch (const EngineError &error) {
            EXPECT_EQ(error.kind(), c.kind) << error.message().toStdString();
        }
    }
    EXPECT_THROW(writer.update(writer.findPrimaryKey(key("A", 1)), noRequired, {5}), EngineError);
    // The writer goes on after a refused row; the refused ones are not there.
    QVariantList good = row("E", 1, "dobry");
    writer.insert(good);
    writer.commit();
    EXPECT_EQ(Column(*t, "KOD"), (QStringList{"A", "E"}));
}

TEST_F(BulkWriterTest, AKeyThatIgnoresCaseIsFoundAsTheIndexComparesIt)
{
    auto t = openTable(QStringLiteral("W"), entries(true));
    AddRow(*t, {{"KOD", "Łąk"}, {"NR", 1}, {"WYMAGANE", "x"}});
    BulkWriter writer(*t);
    const qint64 id = writer.findPrimaryKey(key("łĄK", 1));
    EXPECT_NE(id, 0);
    EXPECT_EQ(writer.findPrimaryKey(key("łąka", 1)), 0);
    QVariantList repeated = row("ŁĄK", 1, "");
    EXPECT_THROW(writer.insert(repeated), EngineError);
}

TEST_F(BulkWriterTest, WithoutAPrimaryIndexEveryRowIsNew)
{
    TableDefinition d = entries();
    d.indexes.removeFirst();
    auto t = openTable(QStringLiteral("W"), d);
    BulkWriter writer(*t);
    EXPECT_TRUE(writer.primaryKeyFields().isEmpty());
    QVariantList first = row("A", 1, "");
    writer.insert(first);
    EXPECT_EQ(writer.findPrimaryKey(key("A", 1)), 0);
    QVariantList second = row("A", 1, "");
    writer.insert(second);
    writer.commit();
    EXPECT_EQ(Column(*t, "KOD"), (QStringList{"A", "A"}));
}
