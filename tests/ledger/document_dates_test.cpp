#include "base/global_state.h"
#include "ledger/date_input.h"
#include "ledger/document_saving.h"
#include "ledger/ledger_queries.h"
#include "ledger_fixture.h"

namespace {

TEST(BookDate, ARealDayBetween1990AndTheYearAfterTheWorkingYear)
{
    struct Case {
        const char *date;
        const char *workingYear;
        const char *today;
        bool right;
    };
    const Case cases[] = {
        {"2026.12.10", "2026", "2026.12.10", true},
        {"0026.12.10", "2026", "2026.12.10", false}, // a stray 0 typed into the year
        {"2206.12.10", "2026", "2026.12.10", false},
        {"2026.02.30", "2026", "2026.12.10", false},
        {"1989.12.31", "2026", "2026.12.10", false},
        {"1990.01.01", "2026", "2026.12.10", true},
        {"2027.12.31", "2026", "2026.12.10", true},
        {"2028.01.01", "2026", "2026.12.10", false},
        {"2026.12.10", "2019", "2026.12.10", true}, // today's date is never a slip, whatever the year worked
        {"2027.01.01", "2019", "2026.12.10", false},
        {"", "2026", "2026.12.10", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date);
        GlobalState state;
        state.CurrentYear = QString::fromLatin1(c.workingYear);
        state.TodayText = QString::fromLatin1(c.today);
        EXPECT_EQ(BookDateProblem(QString::fromLatin1(c.date), state).isEmpty(), c.right);
    }
    GlobalState state;
    state.CurrentYear = QStringLiteral("2026");
    state.TodayText = QStringLiteral("2026.12.10");
    EXPECT_EQ(BookDateProblem(QStringLiteral("0026.12.10"), state),
              QStringLiteral("Niepoprawna data: 0026.12.10\rRok daty musi leżeć między 1990 a 2027."));
    EXPECT_TRUE(BookDateProblem(QString(), state, true).isEmpty());
}

class DocumentDatesTest : public OpenReportTest {
protected:
    Table &headers() { return T("TNAG"); }
    QString storedDate() { return headers().storedValuesOfCurrentRow({QStringLiteral("DATA")})->at(0).toString(); }
    void typeDate(const char *date)
    {
        headers().edit();
        headers().setString(QStringLiteral("DATA"), QString::fromLatin1(date));
    }
};

TEST_F(DocumentDatesTest, ADateThatCannotBeRightIsRefusedAndOneOutsideTheReportIsAskedOnce)
{
    createDocument(QStringLiteral("RZ"));
    prompt_.clear();

    typeDate("0019.03.15");
    EXPECT_THROW(headers().post(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Niepoprawna data: 0019.03.15\rRok daty musi leżeć między 1990 a 2020."));
    headers().cancel();
    EXPECT_EQ(storedDate(), QStringLiteral("2019.03.15"));

    // The report starts on 2019.03.01.
    const QString question = QStringLiteral("Data dokumentu jest poza okresem raportu. Zapisać ?");
    typeDate("2019.02.28");
    prompt_.answer(PromptButton::No);
    EXPECT_THROW(headers().post(), struct Abort);
    EXPECT_EQ(storedDate(), QStringLiteral("2019.03.15"));
    prompt_.answer(PromptButton::Yes);
    headers().post();
    EXPECT_EQ(storedDate(), QStringLiteral("2019.02.28"));
    EXPECT_EQ(prompt_.count(question), 2);

    // The date kept is not asked about again when something else of the document changes.
    headers().edit();
    headers().setString(QStringLiteral("ONAZ1"), QStringLiteral("Nowak"));
    headers().post();
    EXPECT_EQ(prompt_.count(question), 2);
    EXPECT_EQ(prompt_.pendingAnswers(), 0);
}

TEST_F(DocumentDatesTest, AReportDayThatCannotBeRightIsRefused)
{
    Table &reports = T("TRKASA");
    reports.edit();
    reports.setString(QStringLiteral("DATAOD"), QStringLiteral("2109.03.01"));
    EXPECT_THROW(reports.post(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Niepoprawna data: 2109.03.01\rRok daty musi leżeć między 1990 a 2020."));
    reports.setString(QStringLiteral("DATAOD"), QStringLiteral("2019.03.02"));
    reports.post();
}

TEST_F(DocumentDatesTest, AnEmptyDocumentIsRemovedWithItsNumberAndOneWithALineStays)
{
    createDocument(QStringLiteral("RZ"));
    DocumentSaving saving(ledger_->context());
    EXPECT_FALSE(saving.hasStoredLines());
    ledger_->documents().removeCurrentDocument();
    EXPECT_FALSE(HasRows(headers()));
    EXPECT_EQ(createDocument(QStringLiteral("RZ")), 1);
    addLine(Amount("12.50"), QStringLiteral("bilet"));
    EXPECT_TRUE(DocumentSaving(ledger_->context()).hasStoredLines());
    createDocument(QStringLiteral("KP"), {Amount("3.00")}); // the header's own line
    EXPECT_TRUE(DocumentSaving(ledger_->context()).hasStoredLines());
}

} // namespace
