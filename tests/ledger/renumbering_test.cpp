#include "ledger/renumbering_dialogs.h"
#include "ledger_fixture.h"

#include <QFile>
#include <deque>
#include "support/other_program_sql.h"

namespace {

// Answers the number dialogs from a queue and remembers their presets.
class ScriptedNumbers : public RenumberDialog, public NumberChangeDialog {
public:
    std::deque<std::optional<QString>> answers;
    QList<int> presets;

    QString askStartNumber(int presetNumber) override
    {
        presets.append(presetNumber);
        return next().value_or(QString::number(presetNumber));
    }
    std::optional<QString> askNewNumber(int currentNumber) override
    {
        presets.append(currentNumber);
        return next();
    }

private:
    std::optional<QString> next()
    {
        if (answers.empty())
            return std::nullopt;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class RenumberingTest : public OpenReportTest {
protected:
    int documentOn(const char *date, const QString &kind = QStringLiteral("KP"), const QList<Money> &lines = {})
    {
        state_.TodayText = QString::fromLatin1(date);
        return createDocument(kind, lines);
    }
    QStringList stored(const QStringList &fields) { return storedDocuments(fields); }
    Renumbering &renumbering() { return ledger_->renumbering(); }

    ScriptedNumbers numbers_;
};

// Entered on 03.05, 03.01 and 03.03.
TEST_F(RenumberingTest, PlacesByDateAndByEntry)
{
    for (const char *date : {"2019.03.05", "2019.03.01", "2019.03.03"})
        documentOn(date);
    renumbering().renumberPlacesByDate();
    EXPECT_EQ(stored({"POZ"}), (QStringList{"POZ=3", "POZ=1", "POZ=2"}));
    EXPECT_EQ(Column(T("TNAG"), "DATA"), (QStringList{"2019.03.01", "2019.03.03", "2019.03.05"}));
    renumbering().renumberPlacesByEntry();
    EXPECT_EQ(stored({"POZ"}), (QStringList{"POZ=1", "POZ=2", "POZ=3"}));
    EXPECT_EQ(T("TNAG").indexName(), QStringLiteral("Pinx"));
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

TEST_F(RenumberingTest, PlacesBackwardsFromTheProposedNumber)
{
    for (int i = 0; i < 5; ++i)
        documentOn("2019.03.05");
    renumbering().renumberPlacesBackwards(numbers_); // accepts the proposal
    EXPECT_EQ(numbers_.presets, QList<int>{6});
    EXPECT_EQ(stored({"POZ"}), (QStringList{"POZ=2", "POZ=3", "POZ=4", "POZ=5", "POZ=6"}));
}

TEST_F(RenumberingTest, AnEnteredNumberThatIsNoNumberChangesNothing)
{
    documentOn("2019.03.05");
    documentOn("2019.03.01");
    numbers_.answers = {QStringLiteral("1"), QStringLiteral("x1")}; // KP start, then a bad KW start
    documentOn("2019.03.03", QStringLiteral("KW"));
    prompt_.answer(Yes);
    EXPECT_THROW(renumbering().renumberDocumentsAndPlacesByDate(numbers_), struct Abort);
    prompt_.shownOnce(QStringLiteral("'x1' nie jest poprawną liczbą całkowitą."));
    EXPECT_EQ(stored({"RD", "NRD", "POZ"}), (QStringList{"RD=KP NRD=1 POZ=1", "RD=KP NRD=2 POZ=2", "RD=KW NRD=1 POZ=3"}));

    numbers_.answers = {QStringLiteral(" ")};
    EXPECT_THROW(renumbering().renumberPlacesBackwards(numbers_), struct Abort);
    EXPECT_EQ(stored({"POZ"}), (QStringList{"POZ=1", "POZ=2", "POZ=3"}));
}

// The KP numbered 5 but dated first becomes KP 1, and its lines go along.
TEST_F(RenumberingTest, DocumentsAndPlacesByDate)
{
    documentOn("2019.03.10", QStringLiteral("KP"), {Amount("1"), Amount("2")}); // KP 1
    documentOn("2019.03.12", QStringLiteral("KP"), {Amount("3")});              // KP 2
    documentOn("2019.03.11", QStringLiteral("KW"), {Amount("4")});              // KW 1
    state_.TodayText = QStringLiteral("2019.03.01");
    ledger_->documents().createHeader(QStringLiteral("KP"));
    T("TNAG").setInteger(QStringLiteral("NRD"), 5);
    ledger_->documents().postHeader();
    addLine(Amount("7"));
    addLine(Amount("8"));
    state_.TodayText = QStringLiteral("2019.03.02");
    documentOn("2019.03.02", QStringLiteral("KPD"), {Amount("9")}); // KPD keeps its number

    numbers_.answers = {QStringLiteral("1"), QStringLiteral("1")};
    prompt_.answer(Yes);
    renumbering().renumberDocumentsAndPlacesByDate(numbers_);
    prompt_.shownOnce(QStringLiteral("Przenumerowanie dokumentów i pozycji raportu wg daty.\rCzy kontynuować ?"));
    EXPECT_EQ(numbers_.presets, (QList<int>{5, 1})); // the first KP and the first KW by date
    EXPECT_EQ(stored({"RD", "NRD", "POZ", "KWOTA", "KWOTAP"}),
              (QStringList{"RD=KP NRD=2 POZ=3 KWOTA=3 KWOTAP=1", "RD=KP NRD=2 POZ= KWOTA= KWOTAP=2",
                           "RD=KP NRD=3 POZ=5 KWOTA=3 KWOTAP=3", "RD=KW NRD=1 POZ=4 KWOTA=4 KWOTAP=4",
                           "RD=KP NRD=1 POZ=1 KWOTA=15 KWOTAP=", "RD=KP NRD=1 POZ= KWOTA= KWOTAP=7",
                           "RD=KP NRD=1 POZ= KWOTA= KWOTAP=8", "RD=KPD NRD=1 POZ=2 KWOTA=9 KWOTAP=9"}));
    EXPECT_EQ(createDocument(QStringLiteral("KP")), 4);
}

// Old numbers lying 1000 above the new ones: every line stays with its own header.
TEST_F(RenumberingTest, DocumentsRenumberedFarBelowTheirOldNumbersKeepTheirLines)
{
    writeHeader(QStringLiteral("K1"), 1, QStringLiteral("KP"), 1000, Money(), QString(), QStringLiteral("2019.03.20"), 1);
    documentOn("2019.03.04", QStringLiteral("KP"), {Amount("1"), Amount("2")}); // KP 1001
    documentOn("2019.03.03", QStringLiteral("KP"), {Amount("3"), Amount("4")}); // KP 1002
    documentOn("2019.03.02", QStringLiteral("KP"), {Amount("5"), Amount("6")}); // KP 1003
    numbers_.answers = {QStringLiteral("1")};
    prompt_.answer(Yes);
    renumbering().renumberDocumentsAndPlacesByDate(numbers_);
    EXPECT_EQ(stored({"NRD", "POZ", "KWOTA", "KWOTAP"}),
              (QStringList{"NRD=4 POZ=4 KWOTA=0 KWOTAP=", "NRD=3 POZ=3 KWOTA=3 KWOTAP=1", "NRD=3 POZ= KWOTA= KWOTAP=2",
                           "NRD=2 POZ=2 KWOTA=7 KWOTAP=3", "NRD=2 POZ= KWOTA= KWOTAP=4",
                           "NRD=1 POZ=1 KWOTA=11 KWOTAP=5", "NRD=1 POZ= KWOTA= KWOTAP=6"}));
}

// A start below 1 would leave the lines behind a header that the post numbers anew.
TEST_F(RenumberingTest, AStartNumberBelowOneIsRefused)
{
    documentOn("2019.03.05", QStringLiteral("KP"), {Amount("1"), Amount("2")});
    for (const char *start : {"0", "-3", "00000"}) {
        prompt_.clear();
        numbers_.answers = {QString::fromLatin1(start)};
        prompt_.answer(Yes);
        EXPECT_THROW(renumbering().renumberDocumentsAndPlacesByDate(numbers_), struct Abort) << start;
        prompt_.shownOnce(QStringLiteral("Numer dokumentu musi być większy od zera."));
        EXPECT_EQ(stored({"NRD", "KWOTAP"}), (QStringList{"NRD=1 KWOTAP=1", "NRD=1 KWOTAP=2"})) << start;
    }
}

// The start numbers are asked while no write lock is held: another program can post meanwhile.
TEST_F(RenumberingTest, TheStartNumbersAreAskedBeforeAnythingIsLocked)
{
    documentOn("2019.03.05", QStringLiteral("KP"), {Amount("1")});
    documentOn("2019.03.01", QStringLiteral("KW"), {Amount("2")});
    class LockProbe : public RenumberDialog {
    public:
        explicit LockProbe(QString path) : path_(std::move(path)) {}
        QString askStartNumber(int presetNumber) override
        {
            writableMeanwhile.append(OtherProgramCouldWrite(path_));
            return QString::number(presetNumber + 10);
        }
        QList<bool> writableMeanwhile;

    private:
        QString path_;
    } probe(T("KNAG").filePath());
    prompt_.answer(Yes);
    renumbering().renumberDocumentsAndPlacesByDate(probe);
    EXPECT_EQ(probe.writableMeanwhile, (QList<bool>{true, true}));
    EXPECT_EQ(stored({"RD", "NRD", "POZ"}), (QStringList{"RD=KP NRD=11 POZ=2", "RD=KW NRD=11 POZ=1"}));
}

TEST_F(RenumberingTest, NothingIsRenumberedInAClosedReportOrWhenNotConfirmed)
{
    documentOn("2019.03.05");
    documentOn("2019.03.01");
    prompt_.answer(No);
    renumbering().renumberDocumentsAndPlacesByDate(numbers_);
    ledger_->reports().closeReport();
    renumbering().renumberPlacesByDate();
    prompt_.answer(Yes);
    renumbering().renumberDocumentsAndPlacesByDate(numbers_);
    renumbering().renumberPlacesBackwards(numbers_);
    EXPECT_EQ(stored({"POZ"}), (QStringList{"POZ=1", "POZ=2"}));
    EXPECT_EQ(prompt_.messages().size(), 1);
}

class CopyTest : public RenumberingTest {
protected:
    void SetUp() override
    {
        RenumberingTest::SetUp();
        documentOn("2019.03.02", QStringLiteral("KP"), {Amount("10")});
        documentOn("2019.03.03", QStringLiteral("KP"), {Amount("10"), Amount("20"), Amount("30")});
        Table &headers = T("TNAG");
        headers.edit();
        headers.setString(QStringLiteral("ONAZ1"), QStringLiteral("Kowalski Jan"));
        headers.setString(QStringLiteral("TYT1"), QStringLiteral("za towar"));
        headers.post();
        state_.TodayText = QStringLiteral("2019.03.20");
    }
};

TEST_F(CopyTest, AKpIsCopiedIntoTheOpenLastReport)
{
    addReport(2, Money());
    selectReport(1);
    T("TNAG").last();
    ledger_->copying().copyDocuments();
    Table &headers = T("TNAG");
    EXPECT_EQ(T("TRKASA").asInteger(QStringLiteral("NUMER")), 2);
    EXPECT_EQ(headers.recordCount(), 1);
    EXPECT_EQ(headers.asString(QStringLiteral("NRD")), QStringLiteral("3"));
    EXPECT_EQ(headers.asString(QStringLiteral("DATA")), QStringLiteral("2019.03.20"));
    EXPECT_EQ(headers.asString(QStringLiteral("POZ")), QStringLiteral("1"));
    EXPECT_EQ(headers.asString(QStringLiteral("ONAZ1")), QStringLiteral("Kowalski Jan"));
    EXPECT_EQ(headers.asMoney(QStringLiteral("KWOTA")), Amount("60"));
    EXPECT_EQ(Column(T("TPOZ"), "KWOTAP"), (QStringList{"10", "20", "30"}));
    EXPECT_EQ(stored({"NUMER", "NRD", "TYT1"}).mid(4),
              (QStringList{"NUMER=2 NRD=3 TYT1=za towar", "NUMER=2 NRD=3 TYT1=", "NUMER=2 NRD=3 TYT1="}));
}

TEST_F(CopyTest, SeveralSelectedDocumentsAreCopiedInTurn)
{
    const QList<Bookmark> selection = RowsOf(T("TNAG"));
    ledger_->copying().copyDocuments(selection);
    EXPECT_EQ(Column(T("TNAG"), "NRD"), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(Column(T("TNAG"), "KWOTA"), (QStringList{"10", "60", "10", "60"}));
    EXPECT_EQ(stored({"NRD"}).size(), 8); // a one-line KP is its header row alone
}

TEST_F(CopyTest, NothingIsCopiedIntoAClosedReportNorFromASettlement)
{
    addReport(2, Money(), true, {}, Money());
    selectReport(1);
    T("TNAG").last();
    ledger_->copying().copyDocuments();
    prompt_.shownOnce(QStringLiteral("Ostatni Raport Kasowy jest ZAMKNIĘTY.\rBrak możliwości kopiowania."));
    EXPECT_EQ(T("TRKASA").asInteger(QStringLiteral("NUMER")), 1);
    EXPECT_EQ(T("TNAG").asInteger(QStringLiteral("NRD")), 2);

    selectReport(2);
    ledger_->reports().openReport();
    selectReport(1);
    createDocument(QStringLiteral("RZ"), {Amount("5")});
    ledger_->copying().copyDocuments();
    EXPECT_EQ(stored({"NRD"}).size(), 6);
    EXPECT_EQ(prompt_.messages().size(), 1);
}

class NumberChangeTest : public RenumberingTest {
protected:
    void SetUp() override
    {
        RenumberingTest::SetUp();
        documentOn("2019.03.02", QStringLiteral("KW"), {Amount("1")});
        documentOn("2019.03.03", QStringLiteral("KW"), {Amount("10"), Amount("20")});
        prompt_.clear();
    }
};

TEST_F(NumberChangeTest, ATakenNumberIsRefused)
{
    numbers_.answers = {QStringLiteral("1")};
    ledger_->numberChange().changeNumber(numbers_);
    EXPECT_EQ(numbers_.presets, QList<int>{2});
    prompt_.shownOnce(QStringLiteral("W raporcie kasowym istnieje dokument o tym numerze\rBrak możliwości zmiany."));
    EXPECT_EQ(stored({"NRD"}), (QStringList{"NRD=1", "NRD=2", "NRD=2"}));
    EXPECT_EQ(T("KNAG").indexName(), QStringLiteral("Ainx"));
}

TEST_F(NumberChangeTest, ANumberBelowOneIsRefused)
{
    for (const char *entered : {"00000", "-2"}) {
        prompt_.clear();
        numbers_.answers = {QString::fromLatin1(entered)};
        EXPECT_THROW(ledger_->numberChange().changeNumber(numbers_), struct Abort) << entered;
        prompt_.shownOnce(QStringLiteral("Numer dokumentu musi być większy od zera."));
        EXPECT_EQ(stored({"NRD"}), (QStringList{"NRD=1", "NRD=2", "NRD=2"})) << entered;
    }
}

TEST_F(NumberChangeTest, AFreeNumberMovesTheLinesAndKeepsTheAmount)
{
    numbers_.answers = {QStringLiteral(" 9 ")};
    ledger_->numberChange().changeNumber(numbers_);
    EXPECT_EQ(stored({"NRD", "KWOTA", "KWOTAP"}),
              (QStringList{"NRD=1 KWOTA=1 KWOTAP=1", "NRD=9 KWOTA=30 KWOTAP=10", "NRD=9 KWOTA= KWOTAP=20"}));
    EXPECT_EQ(Column(T("TPOZ"), "KWOTAP"), (QStringList{"10", "20"}));
    EXPECT_EQ(createDocument(QStringLiteral("KW")), 10);

    numbers_.answers = {std::nullopt}; // "Przerwij"
    ledger_->numberChange().changeNumber(numbers_);
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

} // namespace
