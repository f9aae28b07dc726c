#include "store/helper_indexes.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

#include <QFile>
#include <sqlite3.h>

namespace {

// Desks, reports and documents as the data module links them.
class MasterDetail : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        const TableDefinition desks = CashDeskTableDefinition();
        const TableDefinition reports = CashReportTableDefinition();
        const TableDefinition documents = CashDocumentTableDefinition();
        desks_ = openTable(QStringLiteral("KASA"), desks);
        reports_ = openTable(QStringLiteral("RKASA"), reports);
        auto documents0 = openTable(QStringLiteral("NAGKASA"), documents);
        TransactionScope scope;
        for (const char *desk : {"K1", "K2"})
            AddRow(*desks_, {{"SYMBOL", QString::fromUtf8(desk)}});
        for (int report : {1, 2})
            AddRow(*reports_, {{"SYMBOL", QStringLiteral("K1")}, {"NUMER", report}});
        AddRow(*reports_, {{"SYMBOL", QStringLiteral("K2")}, {"NUMER", 1}});
        // K1/1: KP 1 (two lines), KW 1; K1/2: KP 2; K2/1: KP 1.
        addDocument("K1", 1, "KP", 1, 1, 2);
        addDocument("K1", 1, "KW", 1, 2, 0);
        addDocument("K1", 2, "KP", 2, 1, 1);
        addDocument("K2", 1, "KP", 1, 1, 0);
        scope.commit();
        documents0->close();

        reports_->setIndexFieldNames(QStringLiteral("SYMBOL"));
        reports_->setMasterSource(desks_.get(), {"SYMBOL"}, {"SYMBOL"});
        headers_ = table(QStringLiteral("NAGKASA"));
        headers_->setIndexName(QStringLiteral("Pinx"));
        headers_->setMasterSource(reports_.get(), {"SYMBOL", "NUMER"}, {"SYMBOL", "NUMER"});
        headers_->setFilterPredicate([](const Table &t) { return t.asBoolean(QStringLiteral("GLOWKA")); });
        headers_->setFiltered(true);
        headers_->open();
        lines_ = table(QStringLiteral("NAGKASA"));
        lines_->setIndexName(QStringLiteral("Rinx"));
        lines_->setMasterSource(headers_.get(), {"SYMBOL", "NUMER", "ROK", "RD", "NRD"},
                                {"SYMBOL", "NUMER", "ROK", "RD", "NRD"});
        lines_->open();
    }

    void addDocument(const char *desk, int report, const char *kind, int number, int place, int lines)
    {
        auto t = table(QStringLiteral("NAGKASA"));
        t->open();
        const QList<std::pair<const char *, QVariant>> key{{"SYMBOL", QString::fromUtf8(desk)}, {"NUMER", report},
                                                            {"RD", QString::fromUtf8(kind)}, {"ROK", QStringLiteral("2019")},
                                                            {"NRD", number}};
        AddRow(*t, key + QList<std::pair<const char *, QVariant>>{{"GLOWKA", true}, {"POZ", place}});
        for (int i = 0; i < lines; ++i)
            AddRow(*t, key + QList<std::pair<const char *, QVariant>>{{"GLOWKA", false}, {"KWOTAP", 10 * (i + 1)}});
    }

    QString shown(Table &t, const char *field) { return Column(t, field).join(QLatin1Char(',')); }

    std::unique_ptr<Table> desks_, reports_, headers_, lines_;
};

} // namespace

TEST_F(MasterDetail, DetailsFollowTheMastersCurrentRow)
{
    desks_->first();
    EXPECT_EQ(shown(*reports_, "NUMER"), QStringLiteral("1,2"));
    reports_->first();
    EXPECT_EQ(shown(*headers_, "RD"), QStringLiteral("KP,KW"));
    headers_->first();
    EXPECT_EQ(lines_->recordCount(), 3); // the header row and its two lines
    headers_->next();
    EXPECT_EQ(lines_->recordCount(), 1);

    desks_->next();
    EXPECT_EQ(reports_->asString(QStringLiteral("SYMBOL")), QStringLiteral("K2"));
    EXPECT_EQ(headers_->recordCount(), 1);
    EXPECT_EQ(headers_->asString(QStringLiteral("SYMBOL")), QStringLiteral("K2"));

    // While the master's controls are off its details stay where they are.
    desks_->disableControls();
    desks_->first();
    EXPECT_EQ(reports_->asString(QStringLiteral("SYMBOL")), QStringLiteral("K2"));
    desks_->enableControls();
    EXPECT_EQ(reports_->asString(QStringLiteral("SYMBOL")), QStringLiteral("K1"));
}

TEST_F(MasterDetail, NewDetailRowsTakeTheMastersValues)
{
    desks_->first();
    reports_->last(); // K1/2
    headers_->last();
    const int place = headers_->asInteger(QStringLiteral("POZ"));
    headers_->append();
    EXPECT_EQ(headers_->asString(QStringLiteral("SYMBOL")), QStringLiteral("K1"));
    EXPECT_EQ(headers_->asInteger(QStringLiteral("NUMER")), 2);
    headers_->setString(QStringLiteral("RD"), QStringLiteral("KW"));
    headers_->setString(QStringLiteral("ROK"), QStringLiteral("2019"));
    headers_->setInteger(QStringLiteral("NRD"), 7);
    headers_->setInteger(QStringLiteral("POZ"), place + 1);
    headers_->setBoolean(QStringLiteral("GLOWKA"), true);
    EXPECT_EQ(lines_->recordCount(), 0); // follows the new header's values
    headers_->post();
    EXPECT_EQ(lines_->recordCount(), 1);
    lines_->append();
    EXPECT_EQ(lines_->asInteger(QStringLiteral("NRD")), 7);
    EXPECT_EQ(lines_->asString(QStringLiteral("RD")), QStringLiteral("KW"));
    lines_->setMoney(QStringLiteral("KWOTAP"), Money::fromCents(1250));
    lines_->post();
    EXPECT_EQ(shown(*headers_, "NRD"), QStringLiteral("2,7"));
    headers_->last();
    EXPECT_EQ(lines_->recordCount(), 2);
}

// The highest number of one desk and kind: read without the engine's helper indexes (opening
// and reading never build them), then the same through the ones the bulk writers build, which
// the table's structure never lists.
TEST_F(MasterDetail, NumberingReadsTheHighestNumberWithOrWithoutHelperIndexes)
{
    auto numbering = table(QStringLiteral("NAGKASA"));
    numbering->setIndexName(QStringLiteral("Ainx"));
    numbering->open();
    auto highest = [&](const char *desk, const char *kind) {
        numbering->setFilterConditions({{QStringLiteral("SYMBOL"), FilterCondition::Op::Equal, QString::fromUtf8(desk)},
                                        {QStringLiteral("RD"), FilterCondition::Op::Equal, QString::fromUtf8(kind)},
                                        {QStringLiteral("GLOWKA"), FilterCondition::Op::Equal, true}});
        numbering->setFiltered(true);
        numbering->last();
        return numbering->isEmpty() ? 0 : numbering->asInteger(QStringLiteral("NRD"));
    };
    const QStringList autoIncrementOnly{QStringLiteral("helper_AUTO")};
    const QStringList all{QStringLiteral("helper_AUTO"), QStringLiteral("helper_SYMBOL_NUMER_POZ"),
                          QStringLiteral("helper_SYMBOL_RD_NRD")};
    for (const bool helpers : {false, true}) {
        SCOPED_TRACE(helpers ? "with helper indexes" : "without");
        if (helpers)
            EXPECT_EQ(numbering->buildHelperIndexes(ProgramHelperIndexes(numbering->definition())), 2);
        EXPECT_EQ(highest("K1", "KP"), 2);
        EXPECT_EQ(highest("K1", "KW"), 1);
        EXPECT_EQ(highest("K2", "KW"), 0);
        EXPECT_EQ(numbering->helperIndexNames(), helpers ? all : autoIncrementOnly);
        EXPECT_EQ(numbering->definition(), CashDocumentTableDefinition());
    }
    // Built once: a second build finds them in place.
    EXPECT_EQ(numbering->buildHelperIndexes(ProgramHelperIndexes(numbering->definition())), 0);
}

TEST_F(MasterDetail, CalculatedFieldsAreComputedPerRowAndNeverStored)
{
    headers_->close();
    headers_->addCalculatedField({QStringLiteral("DOWOD"), FieldType::Text, 30, false});
    headers_->events.onCalcFields = [](Table &t) {
        t.setString(QStringLiteral("DOWOD"), t.asString(QStringLiteral("RD")) + QLatin1Char(' ') + t.asString(QStringLiteral("NRD")));
    };
    headers_->open();
    desks_->first();
    reports_->first();
    EXPECT_EQ(shown(*headers_, "DOWOD"), QStringLiteral("KP 1,KW 1"));
    EXPECT_FALSE(headers_->definition().hasField(QStringLiteral("DOWOD")));
    headers_->first();
    headers_->edit();
    EXPECT_THROW(headers_->setString(QStringLiteral("DOWOD"), QStringLiteral("x")), EngineError);
    headers_->setInteger(QStringLiteral("NRD"), 5);
    headers_->post();
    EXPECT_EQ(headers_->asString(QStringLiteral("DOWOD")), QStringLiteral("KP 5"));
}
