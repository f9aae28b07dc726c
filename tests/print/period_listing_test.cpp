#include "listing_fixture.h"

#include "ledger/small_dialogs.h"
#include "print/money_pictures.h"
#include "print/period_listing.h"

namespace {

const QString kHeading = QStringLiteral(
    "| Kasa   |Nr rap.|  Data    | Dokument      | Kontrahent                                       "
    "| Za co                                                                   | Kwota      |");
const QString kSeparator = QStringLiteral(
    "|--------|-------|----------|---------------|--------------------------------------------------"
    "|-------------------------------------------------------------------------|------------|");

class ScriptedDateRangeDialog : public DateRangeDialog {
public:
    std::optional<DateRange> answer;
    QStringList captions;
    QList<QDate> presets; // from, to of every question
    std::optional<DateRange> askDates(const QString &caption, DateRange preset) override
    {
        captions << caption;
        presets << preset.from << preset.to;
        return answer;
    }
};

// Desk A1 with two reports (the second one current) and desk B2; receipts and payouts around
// March 2019.
class PeriodListingTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        addDesk("A1", QStringLiteral("Kasa główna"));
        addDesk("B2", QStringLiteral("Kasa sklepu"));
        addReport("A1", 1, "0", true);
        addReport("A1", 2, "0");
        addReport("B2", 1, "0");
        auto doc = [](const QString &desk, int report, int place, const QString &kind, int number, const char *amount,
                      const QString &date, const QString &name, const QString &description) {
            RowValues row = Header(desk, report, place, kind, number, amount, date);
            row += RowValues{{"ONAZ1", name}, {"TYT1", description}};
            return row;
        };
        RowValues lineWithDate = Line("A1", 1, "KP", 2, "70", "Pozycja");
        lineWithDate += RowValues{{"DATA", "2019.03.10"}, {"KWOTA", "70"}};
        RowValues kpd = doc("A1", 2, 1, "KPD", 1, "300", "2019.03.31", QStringLiteral("Hurtownia ZEFIR"),
                            QStringLiteral("Wpłata utargu dziennego ze sklepu przy ulicy Długiej wraz z kasą fiskalną A"));
        kpd += RowValues{{"A1", "D/7/2019"}};
        RowValues kwd = doc("A1", 2, 3, "KWD", 1, "25", "2019.03.20", QString(), QStringLiteral("Opłata"));
        kwd += RowValues{{"A1", "W/1"}};
        addDocuments({doc("A1", 1, 1, "KP", 1, "100", "2019.02.28", "Jan Nowak", "Luty"),
                      doc("A1", 1, 2, "KP", 2, "200", "2019.03.01", "Jan Nowak", QStringLiteral("Pierwszy dzień")),
                      lineWithDate,
                      doc("A1", 1, 3, "KW", 1, "50", "2019.03.05", "Anna Kowalska", QStringLiteral("Wypłata zaliczki")),
                      kpd,
                      doc("A1", 2, 2, "KP", 3, "400", "2019.04.01", "Jan Nowak", QStringLiteral("Kwiecień")),
                      kwd,
                      doc("B2", 1, 1, "KP", 1, "500", "2019.03.10", "Jan Nowak", "Inna kasa")});
        open();
        selectDesk("A1");
        selectReport(2);
        selectDocument(2);
    }

    QStringList expectedListing(const QString &kind, const QStringList &rows, const QString &total)
    {
        return QStringList{QStringLiteral("Raport dokumentów ") + kind,
                           QStringLiteral("Za okres od : 2019-03-01 do : 2019-03-31"), QString(183, u'='), kHeading,
                           kSeparator}
               + rows
               + QStringList{kSeparator, total, QString(183, u'='),
                             QStringLiteral("&GProgram KASA - Koniec wydruku: Raport dokumentów za okres")};
    }

    const DateRange march{QDate(2019, 3, 1), QDate(2019, 3, 31)};
};

// Both ends of the period belong to it; KPD counts with KP; every report of the current desk,
// no other desk, no line rows.
TEST_F(PeriodListingTest, ReceiptsOfThePeriodWithTheirTotal)
{
    DokumentyZaOkres(*listing, QStringLiteral("KP"), march);
    EXPECT_EQ(previewLines(),
              expectedListing(QStringLiteral("KP"),
                      {QStringLiteral("|A1      | 1     |2019.03.01|KP 2           |Jan Nowak                                         "
                                      "|Pierwszy dzień                                                           |      200.00|"),
                       // a description of 75 characters runs over the column's border
                       QStringLiteral("|A1      | 2     |2019.03.31|D/7/2019       |Hurtownia ZEFIR                                   "
                                      "|Wpłata utargu dziennego ze sklepu przy ulicy Długiej wraz z kasą fiskalną       300.00|")},
                      QStringLiteral("|        |       |          |               |                                                  "
                                     "| RAZEM :                                                                 |      500.00|")));
    EXPECT_EQ(progress.maximum, 2);
    EXPECT_EQ(dane->TNAG.asInteger("POZ"), 2);
    EXPECT_EQ(dane->TNAG.asString("NUMER"), QStringLiteral("2"));
    EXPECT_EQ(dane->TNAG.recordCount(), 3);
}

TEST_F(PeriodListingTest, PayoutsTakeKwdToo)
{
    DokumentyZaOkres(*listing, QStringLiteral("KW"), march);
    EXPECT_EQ(previewLines(),
              expectedListing(QStringLiteral("KW"),
                      {QStringLiteral("|A1      | 1     |2019.03.05|KW 1           |Anna Kowalska                                     "
                                      "|Wypłata zaliczki                                                         |       50.00|"),
                       QStringLiteral("|A1      | 2     |2019.03.20|W/1            |                                                  "
                                      "|Opłata                                                                   |       25.00|")},
                      QStringLiteral("|        |       |          |               |                                                  "
                                     "| RAZEM :                                                                 |       75.00|")));
}

TEST_F(PeriodListingTest, TheDialogStartsWithThisMonthAndIsTitledByTheListing)
{
    ScriptedDateRangeDialog dialog;
    DokumentyZaOkres(*listing, QStringLiteral("KW"), dialog);
    EXPECT_EQ(progress.starts, 0);
    dialog.answer = DateRange{QDate(2019, 3, 20), QDate(2019, 3, 20)};
    DokumentyZaOkres(*listing, QStringLiteral("KP"), dialog);
    EXPECT_EQ(dialog.captions, QStringList({QStringLiteral("Wypłaty KW za okres"), QStringLiteral("Wpłaty KP za okres")}));
    EXPECT_EQ(dialog.presets.first(), QDate(2019, 3, 1));
    EXPECT_EQ(dialog.presets.at(1), QDate(2019, 3, 15));
    EXPECT_EQ(previewLines().at(1), QStringLiteral("Za okres od : 2019-03-20 do : 2019-03-20"));
    EXPECT_EQ(previewLines().at(5), kSeparator); // nothing listed
}

// The number column shows what the documents list shows, whatever the number template.
TEST_F(PeriodListingTest, DocumentNumbersFollowTheTemplateAsTheListShowsThem)
{
    dane->TPARA.first();
    dane->TPARA.edit();
    dane->TPARA.setString("P1", "[RD]-[NRD]/[XYZ]x[ROK]");
    dane->TPARA.post();
    selectReport(1);
    selectDocument(2);
    ASSERT_EQ(dane->TNAG.asString("DOWOD"), QStringLiteral("KP-2/2019"));

    DokumentyZaOkres(*listing, QStringLiteral("KP"), march);
    EXPECT_EQ(previewLines().at(5).mid(29, 15), QStringLiteral("KP-2/2019      "));
    EXPECT_EQ(previewLines().at(6).mid(29, 15), QStringLiteral("D/7/2019       ")); // KPD: its typed number
}

TEST_F(PeriodListingTest, AFailureEndsTheListingSilently)
{
    Table &documents = dane->TNAG;
    const Bookmark selected = documents.bookmark();
    failingProgress.failAtStep = 1;
    DokumentyZaOkres(*listing, QStringLiteral("KP"), march);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(progress.running);
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(previewLines().last().startsWith(QStringLiteral("&G")));
    EXPECT_EQ(documents.indexName(), QStringLiteral("Pinx"));
    EXPECT_EQ(documents.recordCount(), 3);
    EXPECT_EQ(documents.bookmark(), selected);
}

} // namespace

// The pictures of the money sum as the listings do: each month's receipts and payouts are the
// "RAZEM" of "Wpłaty KP za okres" and "Wypłaty KW za okres" for that month; an open report's
// closing balance is its opening plus its documents.
TEST_F(PeriodListingTest, PicturesOfTheMoneySumAsTheListings)
{
    const QList<MonthTurnover> months = TurnoverByMonth(ledger->context().tables, QStringLiteral("A1"), 2019);
    ASSERT_EQ(months.size(), 12);
    const auto listedTotal = [&](const QString &kind, int month) {
        const QDate first(2019, month, 1);
        DokumentyZaOkres(*listing, kind, DateRange{first, first.addMonths(1).addDays(-1)});
        const QString total = previewLines().at(previewLines().size() - 3);
        return Money::parse(total.section(u'|', -2, -2).trimmed()).value_or(Money::fromCents(-1));
    };
    for (int month : {2, 3, 4, 5}) {
        SCOPED_TRACE(month);
        EXPECT_EQ(months[month - 1].receipts, listedTotal(QStringLiteral("KP"), month));
        EXPECT_EQ(months[month - 1].payouts, listedTotal(QStringLiteral("KW"), month));
    }
    EXPECT_EQ(months[2].receipts, Money::fromCents(50000));

    const QList<ReportBalance> balances = BalancesByReport(ledger->context().tables, QStringLiteral("A1"));
    ASSERT_EQ(balances.size(), 2);
    EXPECT_TRUE(balances[0].closed);
    EXPECT_FALSE(balances[1].closed);
    EXPECT_EQ(balances[1].closing, Money::fromCents(30000 + 40000 - 2500));

    const QList<AccountTotal> accounts =
        TotalsByAccount(ledger->context().tables, QStringLiteral("A1"), ListingPeriod(march));
    ASSERT_EQ(accounts.size(), 1);
    EXPECT_EQ(accounts[0].ma, Money::fromCents(50000));
    EXPECT_EQ(accounts[0].wn, Money::fromCents(7500));
}
