#include "ledger/month_dialog.h"
#include "ledger_fixture.h"

#include "store/table_schemas.h"

#include <QDir>

namespace {

class CashReportTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        addDesk(QStringLiteral("K1"));
        addDesk(QStringLiteral("K2"));
        selectDesk(QStringLiteral("K1"));
    }

    Table &reports() { return T("TRKASA"); }
    CashReportCommands &commands() { return ledger_->reports(); }
    QString reportField(const char *field) { return reports().asString(QString::fromLatin1(field)); }
};

TEST_F(CashReportTest, NewReportWithoutADeskOffersTheDeskDictionary)
{
    for (const char *desk : {"K1", "K2"}) {
        selectDesk(QString::fromLatin1(desk));
        T("TKASA").deleteRow();
    }
    prompt_.answer(Yes);
    commands().newReport();
    EXPECT_EQ(prompt_.shownOnce(QStringLiteral("Brak zdefiniowanej kasy.\rCzy otworzyć formularz KAS ?")).buttons, Yes | No);
    EXPECT_EQ(view_.deskDictionaryOpened, 1);
    EXPECT_TRUE(reports().isEmpty());
}

TEST_F(CashReportTest, TheFirstReportStartsAtOneFromZero)
{
    commands().newReport();
    EXPECT_EQ(reports().state(), TableState::Browse);
    EXPECT_EQ(reportField("SYMBOL"), QStringLiteral("K1"));
    EXPECT_EQ(reportField("NUMER"), QStringLiteral("1"));
    EXPECT_EQ(reportField("DATAOD"), QStringLiteral("2019.03.15"));
    EXPECT_EQ(reports().asMoney(QStringLiteral("BOWARTOSC")), Money());
    EXPECT_EQ(reportField("OZNACZENIE"), QString());
    EXPECT_TRUE(reports().isNull(QStringLiteral("BZWARTOSC")));
    EXPECT_EQ(reportField("TZAMKNIETY"), QStringLiteral("Otwarty"));
    EXPECT_EQ(view_.reportEditingStarted, 1);
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

// The year before holds the desk's reports: its last one closed at 11 325,88, or still open.
TEST_F(CashReportTest, TheFirstReportOfTheYearOffersTheClosingBalanceOfTheYearBefore)
{
    state_.DataRoot = dir_.path() + u'/';
    const QString question = QStringLiteral("Przenieść stan kasy z roku 2018 : 11 325,88 zł ?");
    struct Case {
        const char *name;
        bool lastClosed;
        PromptButton answer;
        Money opening;
        int questions;
    };
    const QList<Case> cases{
        {"Tak carries the balance", true, Yes, Amount("11325.88"), 1},
        {"Nie opens at 0", true, No, Money(), 1},
        {"an open last report carries nothing", false, Yes, Money(), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir_.path()).mkpath(QStringLiteral("2018/KASA"));
        {
            Table before(session_);
            before.setTableName(dir_.filePath(QStringLiteral("2018/KASA/RKASA.DB")));
            if (!before.exists())
                before.create(CashReportTableDefinition());
            before.open();
            while (!before.isEmpty())
                before.deleteRow();
            for (int number : {1, 2}) {
                before.append();
                before.setString(QStringLiteral("SYMBOL"), QStringLiteral("K1"));
                before.setInteger(QStringLiteral("NUMER"), number);
                const bool closed = number == 1 || c.lastClosed;
                before.setBoolean(QStringLiteral("ZAMKNIETY"), closed);
                if (closed)
                    before.setMoney(QStringLiteral("BZWARTOSC"), number == 1 ? Amount("5") : Amount("11325.88"));
                before.post();
            }
        }
        while (!reports().isEmpty())
            reports().deleteRow();
        prompt_.clear();
        prompt_.answer(c.answer);
        commands().newReport();
        EXPECT_EQ(prompt_.count(question), c.questions);
        EXPECT_EQ(reports().asMoney(QStringLiteral("BOWARTOSC")), c.opening);
        EXPECT_EQ(reportField("NUMER"), QStringLiteral("1"));
    }
}

TEST_F(CashReportTest, ANewReportCarriesTheClosingBalanceAndMarkingOfTheLastOne)
{
    addReport(4, Amount("5"), true, QStringLiteral("RK/A"), Amount("123.45"));
    commands().newReport();
    EXPECT_EQ(reportField("NUMER"), QStringLiteral("5"));
    EXPECT_EQ(reportField("OZNACZENIE"), QStringLiteral("RK/A"));
    EXPECT_EQ(reports().asMoney(QStringLiteral("BOWARTOSC")), Amount("123.45"));

    commands().newReport(); // the new one is open
    prompt_.shownOnce(QStringLiteral("Ostatni Raport Kasowy nie jest ZAMKNIĘTY ?"));
    EXPECT_EQ(Column(reports(), "NUMER"), (QStringList{"4", "5"}));
}

TEST_F(CashReportTest, ReportNumbersRunAcrossAllDesksWithOptionTwo)
{
    selectDesk(QStringLiteral("K2"));
    addReport(7, Money(), true);
    selectDesk(QStringLiteral("K1"));
    addReport(2, Money(), true);

    setParameters(QString(), QStringLiteral("20000"));
    commands().newReport();
    EXPECT_EQ(reportField("SYMBOL"), QStringLiteral("K1"));
    EXPECT_EQ(reportField("NUMER"), QStringLiteral("8"));
    EXPECT_EQ(Column(reports(), "NUMER"), (QStringList{"2", "8"})); // the desk link is back

    setParameters(QString(), QStringLiteral("00000"));
    selectDesk(QStringLiteral("K2"));
    commands().newReport();
    EXPECT_EQ(reportField("NUMER"), QStringLiteral("8"));
}

TEST_F(CashReportTest, ReportNumberMustBeGivenAndUnique)
{
    addReport(1, Money());
    reports().append();
    EXPECT_THROW(reports().post(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Proszę określić NUMER raportu."));
    reports().setInteger(QStringLiteral("NUMER"), 1);
    EXPECT_THROW(reports().post(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Ten NUMER już istnieje, wprowadź oryginalne oznaczenie."));
    EXPECT_EQ(prompt_.messages().size(), 2);
    EXPECT_EQ(prompt_.beeps(), 1);
    EXPECT_EQ(reports().state(), TableState::Insert);
    reports().setInteger(QStringLiteral("NUMER"), 2);
    reports().post();
    EXPECT_EQ(Column(reports(), "NUMER"), (QStringList{"1", "2"}));
}

// KP 100.00, KW 30.00, WZ 20.00 and RZ "+" 5.00 on 10.00 leave 65.00.
TEST_F(CashReportTest, ClosingStoresTheBalanceTheCloserAndTheEndDate)
{
    addReport(1, Amount("10"));
    writeHeader("K1", 1, "KP", 1, Amount("100"));
    writeHeader("K1", 1, "KW", 1, Amount("30"));
    writeHeader("K1", 1, "WZ", 1, Amount("20"));
    writeHeader("K1", 1, "RZ", 1, Amount("5"), "+");
    writeHeader("K2", 1, "KP", 2, Amount("1000")); // another desk's document
    selectReport(1);

    commands().closeReport();
    EXPECT_EQ(reports().asMoney(QStringLiteral("BZWARTOSC")), Amount("65"));
    EXPECT_EQ(reportField("DATADO"), QStringLiteral("2019.03.15"));
    EXPECT_EQ(reportField("OSOBA"), QStringLiteral("Jan Kowalski"));
    EXPECT_EQ(reportField("TZAMKNIETY"), QStringLiteral("Zamknięty"));
    EXPECT_TRUE(prompt_.messages().isEmpty());

    commands().openReport();
    EXPECT_FALSE(reports().asBoolean(QStringLiteral("ZAMKNIETY")));
    EXPECT_EQ(reports().asMoney(QStringLiteral("BZWARTOSC")), Money());
    EXPECT_EQ(reportField("OSOBA"), QString());
    EXPECT_EQ(reportField("DATADO"), QStringLiteral("2019.03.15"));

    writeHeader("K1", 1, "RZ", 2, Amount("15"), "-");
    state_.TodayText = QStringLiteral("2019.03.20");
    state_.OperatorName = QStringLiteral("Anna Nowak");
    commands().closeReport();
    EXPECT_EQ(reports().asMoney(QStringLiteral("BZWARTOSC")), Amount("50"));
    EXPECT_EQ(reportField("DATADO"), QStringLiteral("2019.03.15")); // kept from the first close
    EXPECT_EQ(reportField("OSOBA"), QStringLiteral("Anna Nowak"));
}

TEST_F(CashReportTest, TheClosingSumIsRoundedAfterEveryDocument)
{
    addReport(1, Amount("0.004"));
    writeHeader("K1", 1, "KP", 1, Amount("0.005"));
    writeHeader("K1", 1, "KP", 2, Amount("0.005"));
    selectReport(1);
    commands().closeReport();
    // 0.01 + 0.01 (each step rounded), then 0.004 + 0.02 rounded: 0.02; unrounded it is 0.014.
    EXPECT_EQ(reports().asMoney(QStringLiteral("BZWARTOSC")), Amount("0.02"));
}

TEST_F(CashReportTest, AClosedReportCannotBeEditedNorDeleted)
{
    addReport(1, Money(), true, QStringLiteral("A"), Amount("7"));
    EXPECT_THROW(reports().edit(), struct Abort);
    EXPECT_EQ(reports().state(), TableState::Browse);
    commands().deleteReport();
    prompt_.shownOnce(QStringLiteral("Raport zamknięty. Brak możliwości kasowania"));
    commands().closeReport(); // nothing to close
    EXPECT_EQ(reports().asMoney(QStringLiteral("BZWARTOSC")), Amount("7"));
    EXPECT_EQ(reports().recordCount(), 1);
    EXPECT_EQ(prompt_.messages().size(), 1);
}

TEST_F(CashReportTest, AnOpenReportIsDeletedOnlyWhenEmptyAndConfirmed)
{
    addReport(1, Money());
    writeHeader("K1", 1, "KP", 1, Amount("1"));
    commands().deleteReport();
    prompt_.shownOnce(QStringLiteral("W raporcie są dokumenty. Brak możliwości kasowania"));
    EXPECT_THROW(reports().deleteRow(), struct Abort);
    prompt_.shownOnce(QStringLiteral("Brak możliwości kasowania. Istnieją dokumenty."));

    addReport(2, Money());
    prompt_.clear();
    prompt_.answer(No);
    commands().deleteReport();
    const auto question = prompt_.shownOnce(QStringLiteral("Czy skasować Rejestr Kasowy numer : 2"));
    EXPECT_EQ(question.icon, PromptIcon::Warning);
    EXPECT_EQ(reports().recordCount(), 2);
    prompt_.answer(Yes);
    commands().deleteReport();
    EXPECT_EQ(Column(reports(), "NUMER"), QStringList{QStringLiteral("1")});
}

TEST_F(CashReportTest, AfterPostAndScrollTheWindowsFollow)
{
    addReport(1, Amount("10"));
    writeHeader("K1", 1, "KP", 1, Amount("1"));
    addReport(2, Amount("10"));
    view_ = RecordingView();
    selectReport(1);
    EXPECT_EQ(view_.reportNumberEditable.last(), false);
    selectReport(2);
    EXPECT_EQ(view_.reportNumberEditable.last(), true);
    reports().edit();
    reports().setString(QStringLiteral("OZNACZENIE"), QStringLiteral("X"));
    reports().post();
    EXPECT_EQ(view_.cashStates.last(), CashPicture("10,00 zł"));
    EXPECT_EQ(reports().asInteger(QStringLiteral("NUMER")), 2); // the cash state did not move it
}

class ScriptedMonth : public MonthDialog {
public:
    std::optional<QString> answer;
    QString preset;
    std::optional<QString> askMonth(const QString &presetMonth) override
    {
        preset = presetMonth;
        return answer;
    }
};

TEST_F(CashReportTest, TheMonthlyReportShowsTheDesksDocumentsOfTheMonthThenTheReportAgain)
{
    addReport(1, Money(), true);
    addReport(2, Money());
    writeHeader("K1", 1, "KP", 1, Amount("1"), {}, "2019.02.27", 1);
    writeHeader("K1", 1, "KP", 2, Amount("2"), {}, "2019.03.01", 2);
    writeHeader("K1", 2, "KW", 1, Amount("3"), {}, "2019.03.10", 1);
    writeHeader("K1", 2, "KW", 2, Amount("4"), {}, "2019.04.01", 2);
    writeHeader("K2", 1, "KP", 1, Amount("5"), {}, "2019.03.02", 1);
    selectReport(2);
    Table &documents = T("TNAG");

    ScriptedMonth month;
    month.answer = QStringLiteral("03");
    QStringList shown;
    QString period;
    commands().monthlyReport(month, [&](const QString &text) {
        period = text;
        shown = Column(documents, "KWOTA");
    });
    EXPECT_EQ(month.preset, QStringLiteral("03"));
    EXPECT_EQ(period, QStringLiteral("2019.03"));
    EXPECT_EQ(shown, (QStringList{"2", "3"}));
    EXPECT_EQ(Column(documents, "KWOTA"), (QStringList{"3", "4"}));
    EXPECT_TRUE(state_.FiltrMiesiaca.isEmpty());

    EXPECT_THROW(commands().monthlyReport(month, [](const QString &) { throw EngineError(EngineErrorKind::Other, "x"); }),
                 EngineError);
    EXPECT_EQ(Column(documents, "KWOTA"), (QStringList{"3", "4"}));
    EXPECT_TRUE(state_.FiltrMiesiaca.isEmpty());

    month.answer.reset();
    bool previewed = false;
    commands().monthlyReport(month, [&](const QString &) { previewed = true; });
    EXPECT_FALSE(previewed);
}

} // namespace
