#include "form_test_support.h"
#include "listing_fixture.h"

#include "print/cash_report_printout.h"
#include "print/forms/form_painter.h"
#include "store/table_schemas.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Report 3 of desk A1 holds 26 documents: the odd places receipts of as many złoty as their
// place, the even places payouts. Report 4 holds the per-account example: two receipts of 10,00
// and 5,50 and a payout of 3,00 on account 100, and a request of 7,00 on account 200.
class CashReportPrintoutTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        tree.createTable(tree.companyTable(), CompanyTableDefinition(),
                         {{{"NR", 1}, {"NAZWA1", QStringLiteral("Zakład Usług Różnych")}, {"ULICA", QStringLiteral("Polna")},
                           {"NUMER", "1"}, {"KOD", "60-001"}, {"POCZTA", QStringLiteral("Poznań")}}});
        addDesk("A1", QStringLiteral("Kasa główna"));
        addReport("A1", 3, "1000");
        addReport("A1", 4, "0");
        QList<RowValues> rows;
        for (int place = 1; place <= 26; ++place) {
            const QByteArray amount = QByteArray::number(place);
            RowValues row = Header("A1", 3, place, place % 2 ? "KP" : "KW", place, amount.constData(),
                                   QStringLiteral("2019.03.%1").arg(place, 2, 10, QLatin1Char('0')));
            // The last one carries a description of the full 150 characters.
            const QString title = place < 26 ? QStringLiteral("Tytuł %1").arg(place)
                                             : QStringLiteral("Tytuł 26: zakup materiałów biurowych, papieru do drukarek, "
                                                              "tonerów i segregatorów dla działu księgowości oraz kadr, "
                                                              "dostawa do siedziby ostatnia");
            row += RowValues{{"ONAZ1", QStringLiteral("Kontrahent %1").arg(place)}, {"TYT1", title}, {"KONTO", "100"}};
            rows << row;
        }
        const struct {
            const char *kind;
            const char *amount;
            const char *account;
        } example[] = {{"KP", "10", "100"}, {"KP", "5,50", "100"}, {"KW", "3", "100"}, {"WZ", "7", "200"}};
        int place = 0;
        for (const auto &e : example) {
            ++place;
            RowValues row = Header("A1", 4, place, e.kind, 100 + place, e.amount, "2019.03.20");
            row += RowValues{{"KONTO", e.account}, {"ONAZ1", QStringLiteral("Łukasz Żółw")}};
            rows << row;
        }
        addDocuments(rows);
    }

    void openWith(bool accounts, int report)
    {
        open();
        dane->TPARA.first();
        dane->TPARA.edit();
        dane->TPARA.setBoolean("B3", accounts);
        dane->TPARA.setString("P2", "00100");
        dane->TPARA.post();
        selectDesk("A1");
        selectReport(report);
        printout = std::make_unique<CashReportPrintout>(
            CashReportTables{dane->TNAG, dane->TRKASA, dane->TKASA, dane->TFIRMA, dane->TPARA, dane->TRAZEM}, output, prompt,
            [this] { return state.TodayText; });
    }

    QString totalsPath() const { return year(QStringLiteral("KASA\\RAZEM.DB")).replace('\\', '/'); }

    RecordingFormOutput output;
    std::unique_ptr<CashReportPrintout> printout;
};

// A page and a half: nothing carried onto page 1, page 2 starts with page 1's sums and ends with
// the report's totals; each footer shows its own page's sums.
TEST_F(CashReportPrintoutTest, CarriedAndPageSumsAgreeWithTheDocuments)
{
    openWith(false, 3);
    const QFileInfo totalsBefore(totalsPath());
    printout->printReport();
    ASSERT_EQ(output.summary(), QStringList{"TKasaR2 podgląd"});
    const FormLayout &layout = output.entries[0].layout;
    ASSERT_EQ(layout.pages.size(), 2);
    const LaidOutPage &one = layout.pages[0];
    const LaidOutPage &two = layout.pages[1];
    // 17 entries fit on a page: receipts 1+3+..+17 = 81, payouts 2+4+..+16 = 72.
    EXPECT_EQ(layout.texts(0).count(QStringLiteral("Kontrahent 17")), 1);
    EXPECT_EQ(layout.texts(1).count(QStringLiteral("Kontrahent 18")), 1);
    const struct {
        const LaidOutPage &page;
        const char *name;
        const char *text;
    } sums[] = {
        {one, "zPrzeniesieniaWPRZY", "0,00"},    {one, "zPrzeniesieniaWROZ", "0,00"},
        {one, "razemStronaWPRZY", "81,00"},      {one, "razemStronaWROZ", "72,00"},
        {one, "doPrzeniesieniaWPRZY", "81,00"},  {one, "doPrzeniesieniaWROZ", "72,00"},
        {two, "zPrzeniesieniaWPRZY", "81,00"},   {two, "zPrzeniesieniaWROZ", "72,00"},
        {two, "razemStronaWPRZY", "88,00"},      {two, "razemStronaWROZ", "110,00"},
        {two, "doPrzeniesieniaWPRZY", "169,00"}, {two, "doPrzeniesieniaWROZ", "182,00"},
    };
    for (const auto &s : sums)
        EXPECT_EQ(PlacedText(s.page, s.name), QString::fromUtf8(s.text)) << s.name << (&s.page == &one ? " 1" : " 2");
    // Report mode: period, number, opening and closing state; the footer line with today's date.
    EXPECT_EQ(PlacedText(one, "tytul"), "RK");
    EXPECT_EQ(PlacedText(one, "BOWARTOSC"), QStringLiteral("1 000,00"));
    EXPECT_EQ(PlacedText(one, "miesiac"), "<none>");
    EXPECT_TRUE(PlacedText(two, "linia").startsWith(QStringLiteral("Instalacja : Zakład Usług Różnych")));
    EXPECT_TRUE(PlacedText(two, "linia").endsWith(QStringLiteral("Wydrukowano dnia 2019.03.15")));
    EXPECT_EQ(PlacedText(one, "stamp_ulica"), QStringLiteral("Polna 1 "));
    // Accounts off: no KONTO heading nor values, and no totals table.
    EXPECT_FALSE(layout.texts().contains(QStringLiteral("KONTO")));
    EXPECT_FALSE(layout.texts().contains(QStringLiteral("100")));
    const QFileInfo totalsAfter(totalsPath());
    EXPECT_EQ(totalsAfter.exists(), totalsBefore.exists());
    EXPECT_EQ(totalsAfter.lastModified(), totalsBefore.lastModified());

    // The same report to PDF, read back.
    QTemporaryDir dir;
    const QString path = dir.filePath("raport.pdf");
    ASSERT_TRUE(WriteLayoutPdf(layout, path, "raport"));
    const QString text = PdfText(path);
    EXPECT_EQ(text.count(QChar('\f')), 2);
    for (const QString &expected : {QStringLiteral("RAPORT KASOWY"), QStringLiteral("Z przeniesienia:"),
                                    QStringLiteral("Do przeniesienia:"), QStringLiteral("PRZYCHÓD"), QStringLiteral("ROZCHÓD"),
                                    QStringLiteral("Kontrahent 26"), QStringLiteral("182,00"), QStringLiteral("Zakład Usług Różnych"),
                                    QStringLiteral("ostatnia")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
}

// Two receipts of 10,00 and 5,50 and a payout of 3,00 on account 100 give WN 3,00, MA 15,50; the
// request names account 200 and adds nothing to it, though it stands in the payout column.
TEST_F(CashReportPrintoutTest, TotalsPerAccount)
{
    openWith(true, 4);
    printout->printReport();
    ASSERT_EQ(output.summary(), (QStringList{"TKasaR2 podgląd", "TKasaR4 podgląd"}));
    EXPECT_EQ(PlacedText(output.entries[0].layout.pages[0], "razemStronaWROZ"), QStringLiteral("10,00"));
    EXPECT_TRUE(output.entries[0].layout.texts().contains(QStringLiteral("KONTO")));

    Table totals(session);
    totals.setTableName(totalsPath());
    totals.open();
    QStringList rows;
    for (totals.first(); !totals.eof(); totals.next())
        rows << totals.asString("KONTO") + ": " + totals.asMoney("WN").toString() + " / " + totals.asMoney("MA").toString();
    EXPECT_EQ(rows, (QStringList{"100: 3,00 / 15,50", "200: 0,00 / 0,00"}));
    totals.close();

    const LaidOutPage &page = output.entries[1].layout.pages[0];
    EXPECT_EQ(PlacedText(page, "razemWN"), QStringLiteral("3,00"));
    EXPECT_EQ(PlacedText(page, "razemMA"), QStringLiteral("15,50"));
    EXPECT_TRUE(output.entries[1].layout.texts().contains(QStringLiteral("SUMA Winien")));

    // A second printout builds the table anew rather than adding to it.
    output.entries.clear();
    printout->printReport();
    ASSERT_EQ(output.entries.size(), 2);
    EXPECT_EQ(PlacedText(output.entries[1].layout.pages[0], "razemMA"), QStringLiteral("15,50"));
}

// Another program holds the totals table: the printout says it cannot make the table, and goes
// on with the cash report and the totals form.
TEST_F(CashReportPrintoutTest, TotalsTableHeldByAnotherProgram)
{
    openWith(true, 4);
    Table held(session);
    held.setTableName(totalsPath());
    if (!held.exists())
        held.create(AccountTotalsTableDefinition());
    held.openExclusive();
    printout->printReport();
    EXPECT_EQ(output.summary(), (QStringList{"TKasaR2 podgląd", "TKasaR4 podgląd"}));
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages()[0].text, QStringLiteral("Nie mozna utworzyć tabeli"));
    EXPECT_EQ(prompt.messages()[0].caption, QStringLiteral("Błąd"));
    EXPECT_EQ(PlacedText(output.entries[0].layout.pages[0], "razemStronaWROZ"), QStringLiteral("10,00"));
    held.close();
}

TEST_F(CashReportPrintoutTest, MonthlyModeShowsTheMonthInsteadOfTheReport)
{
    openWith(false, 4);
    printout->previewMonth("2019.03");
    ASSERT_EQ(output.summary(), QStringList{"TKasaR2 podgląd"});
    const LaidOutPage &page = output.entries[0].layout.pages[0];
    EXPECT_EQ(PlacedText(page, "tytul"), QStringLiteral("MIESIĘCZNY"));
    EXPECT_EQ(PlacedText(page, "miesiac"), "2019.03");
    for (const char *hidden : {"od", "DATAOD", "nr", "NUMER", "stanKasy", "BOWARTOSC", "BZWARTOSC"})
        EXPECT_EQ(PlacedText(page, hidden), "<none>") << hidden;
}

TEST(AccountTotals, SumPerAccountByKindAndSign)
{
    auto row = [](const char *kind, const char *sign, qint64 cents, const char *account) {
        return RecordList::Row{{"RD", kind}, {"OKOD", sign}, {"KWOTA", QVariant::fromValue(Money::fromCents(cents))}, {"KONTO", account}};
    };
    RecordList rows({row("KP", "", 1000, "100"), row("RZ", "+", 200, "100"), row("RZ", "-", 300, "100"),
                     row("RZ", " ", 400, "300"), row("KWD", "", 50, "100"), row("KPD", "", 1, "")});
    EXPECT_EQ(SumPerAccount(rows), (QList<AccountTotal>{{"", Money(), Money::fromCents(1)},
                                                       {"100", Money::fromCents(350), Money::fromCents(1200)},
                                                       {"300", Money(), Money()}}));
}

} // namespace
