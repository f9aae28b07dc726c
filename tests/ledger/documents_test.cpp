#include "ledger/document_line_rules.h"
#include "ledger/document_kinds.h"
#include "ledger/number_template.h"
#include "ledger_fixture.h"

namespace {

class DocumentsTest : public LedgerTest {
protected:
    void SetUp() override
    {
        LedgerTest::SetUp();
        addDesk(QStringLiteral("K1"));
        addDesk(QStringLiteral("K2"));
        selectDesk(QStringLiteral("K1"));
        addReport(1, Money(), false, QStringLiteral("RK3"));
        prompt_.clear();
    }

    Table &headers() { return T("TNAG"); }
    Table &rows() { return T("TPOZ"); }
    QString header(const char *field) { return headers().asString(QString::fromLatin1(field)); }
};

// Which number the fourth document gets in each numbering scope: two KPs in K1's report 1, one
// in its report 2, one in K2's report 1.
TEST_F(DocumentsTest, KpNumbersRunInTheScopeThatP2Chooses)
{
    struct Case {
        const char *options;
        QList<int> numbers;
    };
    const QList<Case> cases{{"00000", {1, 2, 3, 1}}, {"10000", {1, 2, 1, 1}}, {"20000", {1, 2, 3, 4}}};
    addReport(2, Money());
    selectDesk(QStringLiteral("K2"));
    addReport(1, Money());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options);
        setParameters(QString(), QString::fromLatin1(c.options));
        const QString kind = QStringLiteral("KP") + QString::fromLatin1(c.options).left(1); // a kind per case
        QList<int> numbers;
        selectDesk(QStringLiteral("K1"));
        selectReport(1);
        numbers << createDocument(kind) << createDocument(kind);
        selectReport(2);
        numbers << createDocument(kind);
        selectDesk(QStringLiteral("K2"));
        numbers << createDocument(kind);
        EXPECT_EQ(numbers, c.numbers);
    }
}

TEST_F(DocumentsTest, EveryKindHasItsOwnSequence)
{
    QStringList created;
    for (const QString &kind : {"KP", "KPD", "KW", "KWD", "WZ", "RZ", "KP", "KW", "RZ"})
        created << kind + QString::number(createDocument(kind));
    EXPECT_EQ(created, (QStringList{"KP1", "KPD1", "KW1", "KWD1", "WZ1", "RZ1", "KP2", "KW2", "RZ2"}));
    EXPECT_EQ(header("RD"), QStringLiteral("RZ"));
    EXPECT_EQ(header("POZ"), QStringLiteral("9"));
    EXPECT_EQ(header("DATA"), QStringLiteral("2019.03.15"));
    EXPECT_EQ(header("ROK"), QStringLiteral("2019"));
    EXPECT_EQ(state_.BiezacyRD, QStringLiteral("RZ"));
}

TEST_F(DocumentsTest, OnlyTheTopNumberIsReusedAfterADelete)
{
    for (int i = 0; i < 3; ++i)
        createDocument(QStringLiteral("KW"));
    ledger_->documents().deleteDocument(); // KW 3, the current one
    EXPECT_EQ(createDocument(QStringLiteral("KW")), 3);
    headers().first(); // KW 1
    ledger_->documents().deleteDocument();
    EXPECT_EQ(createDocument(QStringLiteral("KW")), 4);
    EXPECT_EQ(Column(headers(), "NRD"), (QStringList{"2", "3", "4"}));
}

TEST_F(DocumentsTest, ANewDocumentIsRefusedOutsideAnOpenReport)
{
    EXPECT_TRUE(ledger_->documents().requireOpenReport());
    addReport(2, Money(), true);
    EXPECT_FALSE(ledger_->documents().requireOpenReport());
    prompt_.shownOnce(QStringLiteral("Brak otwartego raportu kasowego"));
    EXPECT_THROW(ledger_->documents().createHeader(QStringLiteral("KP")), struct Abort);
    EXPECT_EQ(headers().state(), TableState::Browse);
    EXPECT_TRUE(headers().isEmpty());
}

TEST_F(DocumentsTest, TheAmountFollowsTheLines)
{
    createDocument(QStringLiteral("KP"), {Amount("10"), Amount("20"), Amount("30")});
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("60"));
    EXPECT_EQ(storedDocuments({"GLOWKA", "KWOTA", "KWOTAP"}),
              (QStringList{"GLOWKA=True KWOTA=60 KWOTAP=10", "GLOWKA=False KWOTA= KWOTAP=20",
                           "GLOWKA=False KWOTA= KWOTAP=30"}));
    rows().first();
    rows().next(); // the 20.00 line
    rows().deleteRow();
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("40"));

    createDocument(QStringLiteral("WZ"), {Amount("7"), Amount("8")}); // lines only, filter or not
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("15"));
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

// 500.00 advanced, 320.00 spent: 180.00 back; 650.00 spent: 150.00 paid out.
TEST_F(DocumentsTest, ASettlementFollowsItsAdvanceAndExpenses)
{
    ledger_->filters().setLineRowsOnly(true); // as the RZ editor shows its expenses
    createDocument(QStringLiteral("RZ"));
    headers().edit();
    headers().setMoney(QStringLiteral("L1"), Amount("500"));
    headers().post();
    EXPECT_EQ(header("OKOD"), QStringLiteral("+"));
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("500"));
    addLine(Amount("200"));
    addLine(Amount("120"));
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTAP")), Amount("320"));
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("180"));
    EXPECT_EQ(header("OKOD"), QStringLiteral("+"));
    EXPECT_EQ(view_.settlementLabels.last(), QStringLiteral("Do zwrotu :"));
    EXPECT_EQ(headers().asMoney(QStringLiteral("WPRZY")), Amount("180"));
    addLine(Amount("330"));
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("150"));
    EXPECT_EQ(header("OKOD"), QStringLiteral("-"));
    EXPECT_EQ(view_.settlementLabels.last(), QStringLiteral("Do wypłaty :"));
    EXPECT_TRUE(headers().isNull(QStringLiteral("WPRZY")));
    EXPECT_EQ(headers().asMoney(QStringLiteral("WROZ")), Amount("150"));
}

TEST_F(DocumentsTest, LineLimitsRefuseTheEighthKpLineAndTheNineteenthExpense)
{
    struct Case {
        const char *kind;
        bool lineRowsOnly;
        int lines; // as the editor counts them
    };
    for (const Case &c : {Case{"KP", false, 7}, Case{"RZ", true, 18}, Case{"RZ", false, 18}}) {
        SCOPED_TRACE(std::string(c.kind) + (c.lineRowsOnly ? " filtered" : ""));
        ledger_->filters().setLineRowsOnly(c.lineRowsOnly);
        createDocument(QString::fromLatin1(c.kind));
        const int lineRows = HeaderIsFirstLine(QString::fromLatin1(c.kind)) ? c.lines - 1 : c.lines;
        for (int i = 0; i < lineRows; ++i)
            addLine(Amount("1"));
        prompt_.clear();
        EXPECT_THROW(rows().append(), struct Abort);
        // Said, so that the next text typed is not taken for the last line's.
        EXPECT_EQ(prompt_.shownOnce(LineLimitMessage(c.lines)).icon, PromptIcon::Warning);
        EXPECT_EQ(prompt_.shownOnce(LineLimitMessage(c.lines)).text,
                  QStringLiteral("Dokument może mieć najwyżej %1 pozycji.").arg(c.lines));
        EXPECT_EQ(rows().state(), TableState::Browse);
        EXPECT_EQ(rows().recordCount(), lineRows + (c.lineRowsOnly ? 0 : 1));
        EXPECT_EQ(headers().asMoney(c.kind == QStringLiteral("RZ") ? QStringLiteral("KWOTAP") : QStringLiteral("KWOTA")),
                  Money::fromCents(100 * lineRows));
    }
    ledger_->filters().setLineRowsOnly(false);
    prompt_.clear();
    createDocument(QStringLiteral("WZ"), QList<Money>(25, Amount("1")));
    EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount("25"));
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

TEST_F(DocumentsTest, TheHeaderRowCannotBeDeletedThroughTheLines)
{
    createDocument(QStringLiteral("KP"), {Amount("5"), Amount("6")});
    rows().first();
    EXPECT_THROW(rows().deleteRow(), struct Abort);
    EXPECT_EQ(rows().recordCount(), 2);
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

TEST_F(DocumentsTest, DeletingADocumentTakesItsLinesAlongAfterConfirmation)
{
    createDocument(QStringLiteral("KP"), {Amount("10")});
    createDocument(QStringLiteral("KP"), {Amount("10"), Amount("20"), Amount("30")});
    prompt_.answer(No);
    ledger_->documents().deleteDocument();
    EXPECT_EQ(prompt_.shownOnce(QStringLiteral("Czy skasować Dokument numer : 2")).icon, PromptIcon::Warning);
    EXPECT_EQ(storedDocuments({"NRD"}).size(), 4);
    ledger_->documents().deleteDocument();
    EXPECT_EQ(storedDocuments({"NRD", "GLOWKA"}), QStringList{QStringLiteral("NRD=1 GLOWKA=True")});
    EXPECT_EQ(Column(headers(), "NRD"), QStringList{QStringLiteral("1")});
}

TEST_F(DocumentsTest, ThePrintedNumberFollowsTheTemplate)
{
    struct Case {
        const char *pattern;
        const char *kind;
        const char *shown;
    };
    const QList<Case> cases{
        {"", "KP", "KP 7"},
        {"   ", "WZ", "WZ 7"},
        {"KP/[NRD]/[ROK]", "KP", "KP/7/2019"},
        {"[RD]-[NRD]/[OZNACZENIE]", "KW", "KW-7/RK3"},
        {"[XX]/lost/[NRD]-[SYMBOL]", "RZ", "7-K1"},
        {"[RD] [NRD]", "KPD", "A/15"}, // typed by hand
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        setParameters(QString::fromLatin1(c.pattern), QStringLiteral("00000"));
        ledger_->documents().createHeader(QString::fromLatin1(c.kind));
        headers().setInteger(QStringLiteral("NRD"), 7);
        headers().setString(QStringLiteral("A1"), QStringLiteral("A/15"));
        ledger_->documents().postHeader();
        headers().refresh();
        EXPECT_EQ(header("DOWOD"), QString::fromUtf8(c.shown));
    }
}

TEST(NumberTemplate, UnknownNamesDropTheTextUntilANameResolves)
{
    const auto lookup = [](const QString &name) -> std::optional<QString> {
        if (name == QStringLiteral("A"))
            return QStringLiteral("1");
        return std::nullopt;
    };
    EXPECT_EQ(Dek(QStringLiteral("x[A]y"), lookup), QStringLiteral("x1y"));
    EXPECT_EQ(Dek(QStringLiteral("x[B]y[A]z"), lookup), QStringLiteral("x1z"));
    EXPECT_EQ(Dek(QStringLiteral("x]y"), lookup), QStringLiteral("xy"));
    EXPECT_EQ(Dek(QStringLiteral("[A"), lookup), QString());
}

TEST_F(DocumentsTest, ReceiptAndPayoutColumns)
{
    struct Case {
        const char *kind;
        const char *sign;
        bool receipt;
    };
    for (const Case &c : {Case{"KP", "", true}, Case{"KPD", "", true}, Case{"RZ", "+", true}, Case{"KW", "", false},
                          Case{"KWD", "", false}, Case{"WZ", "", false}, Case{"RZ", "-", false}}) {
        SCOPED_TRACE(std::string(c.kind) + c.sign);
        writeHeader("K1", 1, QString::fromLatin1(c.kind), 1, Amount("12.5"), QString::fromLatin1(c.sign));
        headers().last();
        EXPECT_EQ(headers().displayText(c.receipt ? QStringLiteral("WPRZY") : QStringLiteral("WROZ")), QStringLiteral("12,50"));
        EXPECT_TRUE(headers().isNull(c.receipt ? QStringLiteral("WROZ") : QStringLiteral("WPRZY")));
    }
}

TEST_F(DocumentsTest, ADescriptionBringsItsDefaultAmount)
{
    Table &descriptions = T("TSLO");
    for (const auto &[kind, name, price] : {std::tuple{"KP", "Czynsz", "150"}, std::tuple{"KW", "Paliwo", "80"}}) {
        ledger_->documents().setCurrentKind(QString::fromLatin1(kind));
        descriptions.append();
        descriptions.setString(QStringLiteral("NAZWA"), QString::fromLatin1(name));
        descriptions.setMoney(QStringLiteral("CENA"), Amount(price));
        descriptions.post();
    }
    struct Case {
        const char *kind;
        const char *description;
        const char *amount;
    };
    for (const Case &c : {Case{"KP", "Czynsz", "150"}, Case{"KPD", "Czynsz", "150"}, Case{"KWD", "Paliwo", "80"},
                          Case{"KP", "Paliwo", "0"}}) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.description);
        createDocument(QString::fromLatin1(c.kind));
        rows().append();
        rows().setString(QStringLiteral("TYT1"), QString::fromLatin1(c.description));
        EXPECT_EQ(rows().asMoney(QStringLiteral("KWOTAP")), Amount(c.amount));
        rows().post();
        EXPECT_EQ(headers().asMoney(QStringLiteral("KWOTA")), Amount(c.amount));
    }
}

} // namespace
