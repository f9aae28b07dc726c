#include "ledger_fixture.h"
#include "support/other_program_sql.h"


namespace {

void OtherProgramRuns(const QString &tablePath, const char *sql)
{
    EXPECT_EQ(OtherProgramTries(tablePath, sql), OtherProgramAnswer::Done) << sql;
}

class StoredRulesTest : public OpenReportTest {
protected:
    void SetUp() override
    {
        OpenReportTest::SetUp();
        createDocument(QStringLiteral("KP"), {Amount("10"), Amount("5")});
        prompt_.clear();
    }
    QStringList stored() { return storedDocuments({"RD", "NRD", "GLOWKA", "KWOTA", "KWOTAP"}); }
};

// The report was closed by another program after this one read it: no write of any kind reaches
// a document or a line of it, whatever still shows the report as open.
TEST_F(StoredRulesTest, NothingIsWrittenIntoAReportAnotherProgramClosed)
{
    const QStringList before = stored();
    OtherProgramRuns(T("TRKASA").filePath(), "UPDATE data SET \"ZAMKNIETY\" = 1, \"BZWARTOSC\" = 150000");
    const QString refusal = QStringLiteral("Brak otwartego raportu kasowego");
    Table &rows = T("TPOZ");
    Table &headers = T("TNAG");

    EXPECT_THROW(addLine(Amount("3")), struct Abort);
    rows.cancel();
    rows.last();
    EXPECT_THROW(rows.deleteRow(), EngineError);
    headers.edit();
    headers.setString(QStringLiteral("DATA"), QStringLiteral("2019.03.16"));
    EXPECT_THROW(headers.post(), struct Abort);
    headers.cancel();
    EXPECT_THROW(createDocument(QStringLiteral("KW"), {Amount("1")}), struct Abort);
    headers.cancel();
    prompt_.answer(Yes);
    EXPECT_THROW(ledger_->documents().deleteDocument(), EngineError);

    EXPECT_EQ(stored(), before);
    EXPECT_EQ(prompt_.count(refusal), 3); // the posts; the deletes carry it in their error
}

// Rows refused there and left pending, as when the user leaves the program with them on screen,
// are dropped when the ledger goes: closing the tables afterwards writes nothing.
TEST_F(StoredRulesTest, RefusedRowsLeftPendingAreNotWrittenWhenTheProgramEnds)
{
    const QStringList before = stored();
    OtherProgramRuns(T("TRKASA").filePath(), "UPDATE data SET \"ZAMKNIETY\" = 1, \"BZWARTOSC\" = 150000");
    EXPECT_THROW(addLine(Amount("3")), struct Abort);
    T("TNAG").cancel();
    EXPECT_THROW(createDocument(QStringLiteral("KW"), {}), struct Abort);
    ASSERT_EQ(T("TPOZ").state(), TableState::Insert);
    ASSERT_EQ(T("TNAG").state(), TableState::Insert);
    ledger_.reset();
    for (const char *name : {"TRKASA", "TNAG", "TPOZ"})
        T(name).close();
    EXPECT_EQ(stored(), before);
}

// Another program added a document to the report: the report is not deleted, and a report of
// another program's deleted desk is not added.
TEST_F(StoredRulesTest, AReportIsDeletedOnlyWithoutStoredDocumentsAndAddedOnlyToAStoredDesk)
{
    ledger_->reports().closeReport();
    ledger_->reports().newReport();
    ASSERT_EQ(Column(T("TRKASA"), "NUMER"), (QStringList{"1", "2"}));
    OtherProgramRuns(T("KNAG").filePath(),
                     "INSERT INTO data (\"SYMBOL\", \"NUMER\", \"ROK\", \"RD\", \"NRD\", \"GLOWKA\", \"KWOTA\") VALUES ('K1', 2, '2019', 'KP', 7, 1, 10000)");
    QString refusal; // a question unanswered here is answered Yes
    try {
        ledger_->reports().deleteReport();
    } catch (const EngineError &error) {
        refusal = error.message();
    }
    if (refusal.isEmpty()) // the view already showed the other program's document
        prompt_.shownOnce(QStringLiteral("W raporcie są dokumenty. Brak możliwości kasowania"));
    else
        EXPECT_EQ(refusal, QStringLiteral("Brak możliwości kasowania. Istnieją dokumenty."));
    EXPECT_EQ(Column(T("TRKASA"), "NUMER"), (QStringList{"1", "2"}));

    OtherProgramRuns(T("TKASA").filePath(), "DELETE FROM data");
    Table &reports = T("TRKASA");
    reports.append();
    reports.setInteger(QStringLiteral("NUMER"), 3);
    EXPECT_THROW(reports.post(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Brak zdefiniowanej kasy."));
    reports.cancel();
}

// The closing balance is summed from the stored documents, those of other programs too.
TEST_F(StoredRulesTest, TheClosingBalanceCountsDocumentsAnotherProgramPosted)
{
    OtherProgramRuns(T("KNAG").filePath(),
                     "INSERT INTO data (\"SYMBOL\", \"NUMER\", \"ROK\", \"RD\", \"NRD\", \"GLOWKA\", \"KWOTA\") VALUES ('K1', 1, '2019', 'KP', 2, 1, 70000)");
    ledger_->reports().closeReport();
    EXPECT_EQ(T("TRKASA").asMoney(QStringLiteral("BZWARTOSC")), Amount("22"));
}

// Amounts beyond 999 999 999 999,99 are refused where they are typed or summed, and nothing of
// the refused line is stored.
TEST_F(StoredRulesTest, AmountsBeyondTheLargestAreRefused)
{
    const QString tooLarge = QStringLiteral("Kwota nie może przekraczać 999 999 999 999,99.");
    Table &rows = T("TPOZ");
    rows.append();
    for (const char *typed : {"500000000000000", "1000000000000", "-1000000000000"}) {
        prompt_.clear();
        EXPECT_THROW(rows.setString(QStringLiteral("KWOTAP"), QString::fromLatin1(typed)), struct Abort) << typed;
        prompt_.shownOnce(tooLarge);
        EXPECT_TRUE(rows.isNull(QStringLiteral("KWOTAP"))) << typed;
    }
    rows.setString(QStringLiteral("KWOTAP"), QStringLiteral("999999999984,99"));
    rows.post();
    const QStringList before = stored();
    prompt_.clear();
    EXPECT_THROW(addLine(Amount("0.01")), struct Abort);
    prompt_.shownOnce(QStringLiteral("Suma dokumentu przekroczyłaby 999 999 999 999,99. Pozycji nie zapisano."));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(rows.state(), TableState::Insert); // the line is still there to correct
    rows.cancel();
    EXPECT_EQ(T("TNAG").asMoney(QStringLiteral("KWOTA")).toString(), QStringLiteral("999999999999,99"));
}

} // namespace

// Another program adds a line to the document while this one sets out to delete it: either the
// line is added before the delete holds the file, and goes with the document, or the other
// program waits; no line stays behind for the next document of the number.
TEST_F(StoredRulesTest, DeletingADocumentLeavesNoLineAnotherProgramAdded)
{
    Table &lines = T("TPOZ");
    const auto rule = lines.events.beforeDelete;
    bool added = false;
    lines.events.beforeDelete = [&](Table &table) {
        if (!added) {
            added = true;
            const OtherProgramAnswer answer = OtherProgramTries(T("KNAG").filePath(),
                                             "INSERT INTO data (\"SYMBOL\", \"NUMER\", \"ROK\", \"RD\", \"NRD\", \"GLOWKA\", \"KWOTAP\") "
                                             "SELECT \"SYMBOL\", \"NUMER\", \"ROK\", \"RD\", \"NRD\", 0, 700 FROM data WHERE \"GLOWKA\" = 1");
            EXPECT_NE(answer, OtherProgramAnswer::Failed);
        }
        if (rule)
            rule(table);
    };
    ledger_->documents().removeCurrentDocument();
    EXPECT_TRUE(added);
    EXPECT_EQ(stored(), QStringList{});
}
