#include "store/table_schemas.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

#include <QRandomGenerator>
#include <algorithm>

namespace {

class TableNavigation : public StoreTest {
protected:
    // Names with Polish letters, mixed case and empty names, more rows than one page holds.
    void fillNames(Table &t, int count)
    {
        const QStringList stems{QStringLiteral("ala"), QStringLiteral("Ąb"), QStringLiteral("Lublin"),
                                QStringLiteral("Łabędź"), QStringLiteral("łódź"), QStringLiteral("Zebra"),
                                QStringLiteral("żuk"), QString(), QStringLiteral("ZEBRA")};
        TransactionScope scope;
        for (int i = 0; i < count; ++i)
            AddRow(t, {{"KOD", i}, {"NAZWA", stems[i % stems.size()]}, {"GRUPA", i % 7}});
        scope.commit();
    }

    TableDefinition names() const
    {
        TableDefinition d;
        d.fields = {Field("KOD", FieldType::Integer), Field("NAZWA", FieldType::Text, 30),
                    Field("GRUPA", FieldType::Integer)};
        d.indexes = {Primary("KOD"), Index("Ninx", "NAZWA"), Index("Ginx", "GRUPA;NAZWA")};
        return d;
    }
};

} // namespace

TEST_F(TableNavigation, PolishOrderWithoutRegardToCase)
{
    auto t = openTable(QStringLiteral("N"), names());
    fillNames(*t, 9);
    t->setIndexName(QStringLiteral("Ninx"));
    const QStringList expected{QString(), QStringLiteral("ala"), QStringLiteral("Ąb"), QStringLiteral("Lublin"),
                               QStringLiteral("Łabędź"), QStringLiteral("łódź"), QStringLiteral("Zebra"),
                               QStringLiteral("ZEBRA"), QStringLiteral("żuk")};
    EXPECT_EQ(Column(*t, "NAZWA"), expected);
    EXPECT_TRUE(t->findKey({QStringLiteral("ŁÓDŹ")}));
    EXPECT_EQ(t->asString(QStringLiteral("NAZWA")), QStringLiteral("łódź"));
    EXPECT_FALSE(t->findKey({QStringLiteral("lodz")}));
    EXPECT_EQ(t->asString(QStringLiteral("NAZWA")), QStringLiteral("łódź")); // no move
}

TEST_F(TableNavigation, PagesReadTheSameRowsBothWaysInEveryOrder)
{
    auto t = openTable(QStringLiteral("N"), names());
    t->disableControls();
    fillNames(*t, 1500);
    t->enableControls();
    EXPECT_EQ(t->recordCount(), 1500);
    for (const QString &index : {QString(), QStringLiteral("Ninx"), QStringLiteral("Ginx")}) {
        t->setIndexName(index);
        const QStringList forward = Column(*t, "KOD");
        EXPECT_EQ(forward.size(), 1500) << index.toStdString();
        EXPECT_EQ(ColumnBackwards(*t, "KOD"), forward) << index.toStdString();
        QStringList sorted = forward;
        sorted.removeDuplicates();
        EXPECT_EQ(sorted.size(), 1500);
    }
    // Within one group the names follow the Polish order, empty names first.
    t->setIndexName(QStringLiteral("Ginx"));
    t->setRange({3}, {3});
    const QStringList group = Column(*t, "NAZWA");
    EXPECT_EQ(group.size(), 214);
    EXPECT_TRUE(group.first().isEmpty());
    EXPECT_EQ(group.last(), QStringLiteral("żuk"));
}

TEST_F(TableNavigation, EndsBookmarksAndMoves)
{
    auto t = openTable(QStringLiteral("N"), names());
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
    fillNames(*t, 100);
    t->first();
    EXPECT_TRUE(t->bof());
    EXPECT_FALSE(t->eof());
    t->prior();
    EXPECT_TRUE(t->bof());
    EXPECT_EQ(t->asInteger(QStringLiteral("KOD")), 0);
    EXPECT_EQ(t->moveBy(60), 60);
    const Bookmark mark = t->bookmark();
    EXPECT_EQ(t->moveBy(60), 39);
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->asInteger(QStringLiteral("KOD")), 99);
    t->last();
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->gotoBookmark(mark));
    EXPECT_EQ(t->asInteger(QStringLiteral("KOD")), 60);
    t->next();
    EXPECT_EQ(t->asInteger(QStringLiteral("KOD")), 61);
    t->deleteRow();
    EXPECT_EQ(t->asInteger(QStringLiteral("KOD")), 62);
    t->gotoBookmark(mark);
    t->deleteRow();
    EXPECT_FALSE(t->gotoBookmark(mark));
    EXPECT_EQ(t->recordCount(), 98);
}

TEST_F(TableNavigation, FindNearestRangeAndLocate)
{
    auto t = openTable(QStringLiteral("N"), names());
    fillNames(*t, 63);
    t->setIndexName(QStringLiteral("Ginx"));
    t->findNearest({2, QStringLiteral("m")});
    EXPECT_EQ(t->asInteger(QStringLiteral("GRUPA")), 2);
    EXPECT_EQ(t->asString(QStringLiteral("NAZWA")), QStringLiteral("Zebra"));
    t->findNearest({99});
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->asInteger(QStringLiteral("GRUPA")), 6);

    t->setRange({1, QStringLiteral("B")}, {2, QStringLiteral("Łb")});
    QStringList seen;
    for (t->first(); !t->eof(); t->next())
        seen.append(QStringLiteral("%1 %2").arg(t->asInteger(QStringLiteral("GRUPA"))).arg(t->asString(QStringLiteral("NAZWA"))));
    for (const QString &row : seen) {
        const bool inGroup1 = row.startsWith(QLatin1String("1 ")) && row.mid(2) >= QStringLiteral("L");
        const bool inGroup2 = row.startsWith(QLatin1String("2 "));
        EXPECT_TRUE(inGroup1 || inGroup2) << row.toStdString();
    }
    EXPECT_FALSE(seen.contains(QStringLiteral("2 łódź")));
    EXPECT_FALSE(seen.contains(QStringLiteral("1 ala")));
    EXPECT_TRUE(seen.contains(QStringLiteral("2 Łabędź")));
    t->cancelRange();
    EXPECT_EQ(t->recordCount(), 63);

    // Locate: the seek on a case-insensitive order and the scan on any other agree.
    for (const QString &index : {QStringLiteral("Ninx"), QString()}) {
        t->setIndexName(index);
        EXPECT_TRUE(t->locate(QStringLiteral("NAZWA"), QStringLiteral("ŁA"))) << index.toStdString();
        EXPECT_EQ(t->asString(QStringLiteral("NAZWA")), QStringLiteral("Łabędź"));
        EXPECT_TRUE(t->locate(QStringLiteral("NAZWA"), QStringLiteral("zeb")));
        EXPECT_EQ(t->asString(QStringLiteral("NAZWA")).toUpper(), QStringLiteral("ZEBRA"));
        EXPECT_FALSE(t->locate(QStringLiteral("NAZWA"), QStringLiteral("Zz")));
    }
    t->setIndexName(QStringLiteral("Ninx"));
    t->locate(QStringLiteral("NAZWA"), QStringLiteral("zeb"));
    EXPECT_EQ(t->asString(QStringLiteral("NAZWA")), QStringLiteral("Zebra")); // first in the order
}

TEST_F(TableNavigation, FiltersHideRows)
{
    auto t = openTable(QStringLiteral("N"), names());
    fillNames(*t, 90);
    t->setFilterPredicate([](const Table &row) { return row.asInteger(QStringLiteral("KOD")) % 10 == 3; });
    t->setFilterCondition(QStringLiteral("GRUPA"), 3);
    t->setFiltered(true);
    EXPECT_EQ(Column(*t, "KOD"), (QStringList{QStringLiteral("3"), QStringLiteral("73")}));
    EXPECT_EQ(t->recordCount(), 2);
    EXPECT_EQ(ColumnBackwards(*t, "KOD"), (QStringList{QStringLiteral("3"), QStringLiteral("73")}));
    t->setFilterConditions({{QStringLiteral("NAZWA"), FilterCondition::Op::StartsWith, QStringLiteral("ł"), true}});
    // Ł and ł both begin the names of rows 3 and 13 (Łabędź, łódź).
    EXPECT_EQ(Column(*t, "KOD"), (QStringList{QStringLiteral("3"), QStringLiteral("13")}));
    t->setFiltered(false);
    EXPECT_EQ(t->recordCount(), 90);
}

TEST_F(TableNavigation, UnknownFieldIsAnErrorNamingIt)
{
    auto t = openTable(QStringLiteral("N"), names());
    try {
        t->asString(QStringLiteral("NAZWA'; DROP TABLE data; --"));
        FAIL();
    } catch (const EngineError &error) {
        EXPECT_EQ(error.kind(), EngineErrorKind::Other);
        EXPECT_TRUE(error.message().contains(QStringLiteral("DROP TABLE")));
    }
    EXPECT_THROW(t->setFilterCondition(QStringLiteral("BRAK"), 1), EngineError);
}

// Reading chosen fields gives the same rows in the same order, page after page, with the chosen
// fields and the order's filled and the others empty; a filter function may look at any field,
// so with one every field is read.
TEST_F(TableNavigation, PeekingChosenFieldsReadsThoseAndTheOrdersOnly)
{
    auto t = openTable(QStringLiteral("N"), names());
    fillNames(*t, 40);
    t->setIndexName(QStringLiteral("Ginx"));
    t->setFilterConditions({{QStringLiteral("GRUPA"), FilterCondition::Op::GreaterOrEqual, 5}});
    t->setFiltered(true);
    const QList<int> codeOnly{0};
    QList<Row> all;
    QList<Row> chosen;
    for (Bookmark after;;) {
        const QList<Row> page = t->peekRows(after, 7, codeOnly);
        chosen += page;
        if (page.size() < 7)
            break;
        after = {page.last().rowId};
    }
    all = t->peekRows({}, 100);
    ASSERT_EQ(chosen.size(), all.size());
    ASSERT_EQ(all.size(), 10); // groups 5 and 6 of 40 rows
    for (qsizetype i = 0; i < all.size(); ++i) {
        EXPECT_EQ(chosen[i].rowId, all[i].rowId);
        EXPECT_EQ(chosen[i].values.value(0), all[i].values.value(0)); // KOD, chosen
        EXPECT_EQ(chosen[i].values.value(1), all[i].values.value(1)); // NAZWA, in the order
        EXPECT_EQ(chosen[i].values.value(2), all[i].values.value(2)); // GRUPA, in the order
    }
    t->setIndexName(QString());
    const QList<Row> byCode = t->peekRows({}, 100, QList<int>{2});
    ASSERT_FALSE(byCode.isEmpty());
    EXPECT_FALSE(byCode.first().values.value(1).isValid()); // NAZWA neither chosen nor ordered

    t->setFilterPredicate([](const Table &row) { return !row.asString(QStringLiteral("NAZWA")).isEmpty(); });
    const QList<Row> filtered = t->peekRows({}, 100, QList<int>{2});
    ASSERT_FALSE(filtered.isEmpty());
    EXPECT_TRUE(filtered.first().values.value(1).isValid());
}

// Rows handed on as they are read, page after page, are the rows peeking gives, with the same
// stored values, with or without a filter function (which makes the engine build them).
TEST_F(TableNavigation, VisitingRowsHandsOnWhatPeekingReads)
{
    auto t = openTable(QStringLiteral("N"), names());
    fillNames(*t, 40);
    t->setIndexName(QStringLiteral("Ginx"));
    t->setFilterConditions({{QStringLiteral("GRUPA"), FilterCondition::Op::GreaterOrEqual, 5}});
    t->setFiltered(true);
    for (const bool predicate : {false, true}) {
        SCOPED_TRACE(predicate ? "filter function" : "conditions only");
        if (predicate)
            t->setFilterPredicate([](const Table &row) { return row.asInteger(QStringLiteral("KOD")) % 2 == 0; });
        const QList<Row> all = t->peekRows({}, 100);
        ASSERT_FALSE(all.isEmpty());
        QStringList seen;
        for (Bookmark after;;) {
            qint64 last = 0;
            const int read = t->visitRows(after, 3, QList<int>{0}, [&](const StoredValues &row) {
                last = row.rowId();
                // An empty name is no stored text; a number is no text either.
                seen << QStringLiteral("%1 %2 %3 %4 %5").arg(row.rowId()).arg(row.storedInteger(0).value_or(-1))
                            .arg(row.storedText(1).value_or(QStringLiteral("-")), row.value(2).toString(),
                                 row.storedText(0) ? QStringLiteral("text") : QStringLiteral("number"));
            });
            if (read < 3)
                break;
            after = {last};
        }
        QStringList expected;
        for (const Row &row : all)
            expected << QStringLiteral("%1 %2 %3 %4 number").arg(row.rowId).arg(row.values[0].toLongLong())
                            .arg(row.values[1].isValid() ? row.values[1].toString() : QStringLiteral("-"),
                                 row.values[2].toString());
        EXPECT_EQ(seen, expected);
    }
}
