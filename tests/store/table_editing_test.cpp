#include "store/table_schemas.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

namespace {

class TableEditing : public StoreTest {
protected:
    TableDefinition entries() const
    {
        TableDefinition d;
        d.fields = {Field("KOD", FieldType::Text, 4, true), Field("NR", FieldType::AutoIncrement),
                    Field("KWOTA", FieldType::Currency), Field("OPIS", FieldType::Text, 20),
                    Field("ZNAK", FieldType::Boolean)};
        d.indexes = {Primary("KOD")};
        return d;
    }

    // Records every event of the table in order.
    void record(Table &t, QStringList &log)
    {
        auto note = [&log](const char *name) { return [&log, name](Table &) { log.append(QString::fromUtf8(name)); }; };
        t.events.beforeInsert = note("beforeInsert");
        t.events.onNewRow = note("newRow");
        t.events.beforeEdit = note("beforeEdit");
        t.events.beforePost = note("beforePost");
        t.events.afterPost = note("afterPost");
        t.events.beforeDelete = note("beforeDelete");
        t.events.afterDelete = note("afterDelete");
        t.events.afterScroll = note("afterScroll");
        t.events.afterCancel = note("afterCancel");
        t.events.onStateChange = [&log](Table &table) {
            static const char *names[] = {"Inactive", "Browse", "Edit", "Insert"};
            log.append(QStringLiteral("state ") + QString::fromUtf8(names[int(table.state())]));
        };
    }
};

} // namespace

TEST_F(TableEditing, EventsFireInOrder)
{
    auto t = openTable(QStringLiteral("E"), entries());
    QStringList log;
    record(*t, log);
    t->setFieldValidateHandler(QStringLiteral("opis"), [&log](Table &table, const QString &field) {
        log.append(QStringLiteral("validate %1=%2").arg(field, table.asString(field)));
    });
    t->setFieldChangeHandler(QStringLiteral("OPIS"), [&log](Table &table, const QString &field) {
        log.append(QStringLiteral("change %1=%2").arg(field, table.asString(field)));
    });
    t->append();
    t->setString(QStringLiteral("KOD"), QStringLiteral("A"));
    t->setString(QStringLiteral("OPIS"), QStringLiteral("pierwszy"));
    t->post();
    t->edit();
    t->cancel();
    t->deleteRow();
    EXPECT_EQ(log, (QStringList{"beforeInsert", "newRow", "state Insert", "validate OPIS=pierwszy",
                                "change OPIS=pierwszy", "beforePost", "state Browse", "afterPost", "beforeEdit",
                                "state Edit", "state Browse", "afterCancel", "beforeDelete", "afterDelete",
                                "afterScroll"}));
}

TEST_F(TableEditing, AbortInBeforeEventsLeavesEverythingAsItWas)
{
    auto t = openTable(QStringLiteral("E"), entries());
    AddRow(*t, {{"KOD", QStringLiteral("A")}});
    t->events.beforePost = [](Table &) { throw Abort{}; };
    t->events.beforeDelete = [](Table &) { throw Abort{}; };
    t->edit();
    t->setString(QStringLiteral("OPIS"), QStringLiteral("zmiana"));
    EXPECT_THROW(t->post(), Abort);
    EXPECT_EQ(t->state(), TableState::Edit);
    EXPECT_EQ(t->asString(QStringLiteral("OPIS")), QStringLiteral("zmiana"));
    t->cancel();
    EXPECT_THROW(t->deleteRow(), Abort);
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_TRUE(t->asString(QStringLiteral("OPIS")).isEmpty());

    // A validation that refuses puts the old value back.
    t->setFieldValidateHandler(QStringLiteral("OPIS"), [](Table &table, const QString &) {
        if (table.asString(QStringLiteral("OPIS")) == QStringLiteral("zły"))
            throw Abort{};
    });
    t->edit();
    t->setString(QStringLiteral("OPIS"), QStringLiteral("dobry"));
    EXPECT_THROW(t->setString(QStringLiteral("OPIS"), QStringLiteral("zły")), Abort);
    EXPECT_EQ(t->asString(QStringLiteral("OPIS")), QStringLiteral("dobry"));
}

// What afterWrite writes commits with the row; when it fails, neither is stored and the row is
// back in edit (or still there, for a delete). beforeWrite reads inside the same transaction.
TEST_F(TableEditing, AWriteAndWhatItsAfterWriteEventDerivesCommitTogether)
{
    auto t = openTable(QStringLiteral("E"), entries());
    auto totals = openTable(QStringLiteral("S"), entries());
    AddRow(*totals, {{"KOD", QStringLiteral("SUMA")}});
    bool failDerived = false;
    QList<bool> inTransaction;
    t->events.beforeWrite = [&](Table &) { inTransaction.append(TransactionScope::active()); };
    t->events.afterWrite = [&](Table &) {
        totals->edit();
        totals->setString(QStringLiteral("OPIS"), QStringLiteral("po %1").arg(t->recordCount()));
        totals->post();
        if (failDerived)
            throw Abort{};
    };
    t->append();
    t->setString(QStringLiteral("KOD"), QStringLiteral("A"));
    t->post();
    EXPECT_EQ(totals->asString(QStringLiteral("OPIS")), QStringLiteral("po 1"));

    failDerived = true;
    t->append();
    t->setString(QStringLiteral("KOD"), QStringLiteral("B"));
    t->setString(QStringLiteral("OPIS"), QStringLiteral("drugi"));
    EXPECT_THROW(t->post(), Abort);
    EXPECT_EQ(t->state(), TableState::Insert);
    EXPECT_EQ(t->asString(QStringLiteral("OPIS")), QStringLiteral("drugi"));
    t->cancel();
    t->first();
    EXPECT_THROW(t->deleteRow(), Abort);
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_EQ(t->asString(QStringLiteral("KOD")), QStringLiteral("A"));
    totals->refresh();
    EXPECT_EQ(totals->asString(QStringLiteral("OPIS")), QStringLiteral("po 1"));
    EXPECT_EQ(inTransaction, (QList<bool>{true, true, true}));

    // The stored values of another row, as the file holds them now, without moving.
    EXPECT_EQ(totals->storedValues({QStringLiteral("KOD")}, {QStringLiteral("suma")}, {QStringLiteral("OPIS")}, true),
              (QVariantList{QStringLiteral("po 1")}));
    EXPECT_FALSE(totals->storedValues({QStringLiteral("KOD")}, {QStringLiteral("suma")}, {}).has_value());
    EXPECT_FALSE(totals->storedValues({QStringLiteral("KOD")}, {QStringLiteral("SUMA")}, {}, false, true).has_value());
}

TEST_F(TableEditing, PostErrorHandlerSeesTheKindAndDecides)
{
    auto t = openTable(QStringLiteral("E"), entries());
    AddRow(*t, {{"KOD", QStringLiteral("A")}});
    QList<EngineErrorKind> kinds;
    PostErrorAction answer = PostErrorAction::Abort;
    t->events.onPostError = [&](Table &, const EngineError &error) {
        kinds.append(error.kind());
        return answer;
    };
    t->append();
    t->setString(QStringLiteral("KOD"), QStringLiteral("A"));
    EXPECT_THROW(t->post(), Abort);
    EXPECT_EQ(t->state(), TableState::Insert); // the row stays for the user to mend
    answer = PostErrorAction::Fail;
    EXPECT_THROW(t->post(), EngineError);
    t->setString(QStringLiteral("KOD"), QString());
    EXPECT_THROW(t->post(), EngineError); // a required field is empty
    EXPECT_EQ(kinds, (QList<EngineErrorKind>{EngineErrorKind::KeyViolation, EngineErrorKind::KeyViolation,
                                             EngineErrorKind::Other}));
    t->cancel();
    EXPECT_EQ(t->recordCount(), 1);
}

TEST_F(TableEditing, AutoIncrementIsTheEnginesBusiness)
{
    auto t = openTable(QStringLiteral("E"), entries());
    for (const char *code : {"A", "B", "C"})
        AddRow(*t, {{"KOD", QString::fromUtf8(code)}});
    EXPECT_EQ(t->asInteger(QStringLiteral("NR")), 3);
    t->edit();
    EXPECT_THROW(t->setInteger(QStringLiteral("NR"), 9), EngineError);
    t->cancel();
    t->deleteRow();
    AddRow(*t, {{"KOD", QStringLiteral("D")}});
    EXPECT_EQ(t->asInteger(QStringLiteral("NR")), 3);
}

TEST_F(TableEditing, ValuesConvertAndBadTextsAreRefused)
{
    auto t = openTable(QStringLiteral("E"), entries());
    t->append();
    t->setString(QStringLiteral("KOD"), QStringLiteral("ABCDEF"));
    t->setString(QStringLiteral("KWOTA"), QStringLiteral("1 234,5678"));
    t->setBoolean(QStringLiteral("ZNAK"), true);
    EXPECT_THROW(t->setString(QStringLiteral("KWOTA"), QStringLiteral("12a")), EngineError);
    EXPECT_THROW(t->setString(QStringLiteral("ZNAK"), QStringLiteral("może")), EngineError);
    t->post();
    EXPECT_EQ(t->asString(QStringLiteral("KOD")), QStringLiteral("ABCD"));
    EXPECT_EQ(t->asMoney(QStringLiteral("KWOTA")).units(), 12345678);
    EXPECT_EQ(t->asString(QStringLiteral("ZNAK")), QStringLiteral("True"));
    EXPECT_TRUE(t->isNull(QStringLiteral("OPIS")));
    EXPECT_EQ(t->asInteger(QStringLiteral("OPIS")), 0);
    t->setDisplayFormat(QStringLiteral("KWOTA"), QStringLiteral("### ### ##0.00"));
    EXPECT_EQ(t->displayText(QStringLiteral("KWOTA")), QStringLiteral("1 234,57"));
    t->setDisplayFormat(QStringLiteral("KWOTA"), QStringLiteral("0.00"));
    EXPECT_EQ(t->displayText(QStringLiteral("KWOTA")), QStringLiteral("1234,57"));
    EXPECT_THROW(t->setString(QStringLiteral("OPIS"), QStringLiteral("x")), EngineError); // not editing
}

TEST_F(TableEditing, TransactionScopeWritesAllOrNothing)
{
    auto t = openTable(QStringLiteral("E"), entries());
    {
        TransactionScope scope;
        AddRow(*t, {{"KOD", QStringLiteral("A")}});
        {
            TransactionScope inner;
            AddRow(*t, {{"KOD", QStringLiteral("B")}});
            inner.commit();
        }
        EXPECT_EQ(t->recordCount(), 2); // seen at once inside the scope
    } // left without commit
    t->refresh();
    EXPECT_EQ(t->recordCount(), 0);
    {
        TransactionScope scope;
        AddRow(*t, {{"KOD", QStringLiteral("A")}});
        AddRow(*t, {{"KOD", QStringLiteral("B")}});
        scope.commit();
    }
    auto other = table(QStringLiteral("E"));
    other->open();
    EXPECT_EQ(other->recordCount(), 2);
}

TEST_F(TableEditing, CopyRowsAppendsOrUpdates)
{
    auto source = openTable(QStringLiteral("S"), entries());
    AddRow(*source, {{"KOD", QStringLiteral("A")}, {"OPIS", QStringLiteral("nowe A")}});
    AddRow(*source, {{"KOD", QStringLiteral("C")}, {"OPIS", QStringLiteral("nowe C")}});
    auto target = openTable(QStringLiteral("T"), entries());
    AddRow(*target, {{"KOD", QStringLiteral("A")}, {"OPIS", QStringLiteral("stare A")}});
    AddRow(*target, {{"KOD", QStringLiteral("B")}, {"OPIS", QStringLiteral("stare B")}});

    EXPECT_THROW(target->copyRowsFrom(*source, false), EngineError); // A is there already
    EXPECT_EQ(target->recordCount(), 2);
    target->copyRowsFrom(*source, true);
    EXPECT_EQ(Column(*target, "OPIS"), (QStringList{"nowe A", "stare B", "nowe C"}));
}
