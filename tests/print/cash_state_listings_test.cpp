#include "listing_fixture.h"

#include "ledger/small_dialogs.h"
#include "print/cash_state_listing.h"
#include "print/report_cash_state_listing.h"

namespace {

const QString kRuling(89, u'=');
const QString kHeading =
    QStringLiteral("| SYMBOL | Nazwa Kasy                                        | Stan Kasy                |");
const QString kSeparator =
    QStringLiteral("|--------|---------------------------------------------------|--------------------------|");

class ScriptedDayDialog : public CashStateDateDialog {
public:
    std::optional<QDate> answer;
    QList<QDate> presets;
    std::optional<QDate> askDay(QDate preset) override
    {
        presets.append(preset);
        return answer;
    }
};

// Desks in PLN (currency left blank and "PLN") and in EUR.
class CashStateListingTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        addDesk("A1", QStringLiteral("Kasa główna"));
        addDesk("B2", QStringLiteral("Kasa walutowa"), "EUR");
        addDesk("C3", QStringLiteral("Kasa sklepu"), "PLN");
        addReport("A1", 1, "100", true);
        addReport("A1", 2, "1000");
        addReport("B2", 1, "300", true);
        addReport("C3", 1, "20", true);
        addReport("C3", 2, "25");
        RowValues line = Line("A1", 2, "KP", 1, "999", QStringLiteral("Pozycja"));
        line += RowValues{{"KWOTA", "999"}};
        RowValues settled = Header("C3", 1, 1, "RZ", 1, "5", "2019.02.01");
        settled += RowValues{{"OKOD", "+"}};
        RowValues paidOut = Header("B2", 1, 2, "RZ", 1, "10", "2019.03.02");
        paidOut += RowValues{{"OKOD", "-"}};
        addDocuments({Header("A1", 1, 1, "KP", 1, "5", "2019.02.01"),
                      Header("A1", 2, 1, "KP", 2, "250,50", "2019.03.01"), line,
                      Header("A1", 2, 2, "KW", 1, "100", "2019.03.10"),
                      Header("A1", 2, 3, "WZ", 1, "40", "2019.03.05"),
                      Header("A1", 2, 4, "KP", 3, "9,50", "2019.03.12"),
                      Header("B2", 1, 1, "KW", 1, "50", "2019.03.01"), paidOut, settled});
        open();
    }

    QStringList reportListing(const QString &titleLine, const QString &deskLine)
    {
        return {titleLine, QString(), kRuling, kHeading, kSeparator, deskLine, kRuling, QString(),
                QStringLiteral("&GProgram KASA - Koniec wydruku: Raport stanu kasy")};
    }
};

// The last report of each desk, closed (B2) or not, with every document header (a WZ counted
// out, line rows not at all); the totals per currency in the order the currencies first appear.
TEST_F(CashStateListingTest, StanKasyListsEveryDeskAndTotalsPerCurrency)
{
    selectDesk("C3");
    StanKasy(*listing);

    const QStringList expected{
        QStringLiteral("Raport stanu kas.    data : 2019.03.15    godzina : 14:05"),
        QString(),
        kRuling,
        kHeading,
        kSeparator,
        QStringLiteral("| A1     | Kasa główna                                       |           1 120 , 00 PLN |"),
        QStringLiteral("| B2     | Kasa walutowa                                     |             240 , 00 EUR |"),
        QStringLiteral("| C3     | Kasa sklepu                                       |              25 , 00 PLN |"),
        kSeparator,
        QStringLiteral("| RAZEM  |                                                   |           1 145 , 00 PLN |"),
        QStringLiteral("| RAZEM  |                                                   |             240 , 00 EUR |"),
        kRuling,
        QString(),
        QStringLiteral("&GProgram KASA - Koniec wydruku: Raport stanu kas"),
    };
    EXPECT_EQ(previewLines(), expected);
    EXPECT_EQ(druk->Tytul, QStringLiteral("Raport stanu kas"));
    EXPECT_EQ(progress.maximum, 3);
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(dane->TKASA.asString("SYMBOL"), QStringLiteral("C3"));
    EXPECT_EQ(dane->TRKASA.asString("SYMBOL"), QStringLiteral("C3"));
}

TEST_F(CashStateListingTest, StanKasyUpToTheSelectedDocumentInTheListsOrder)
{
    selectDesk("A1");
    selectReport(2);
    const QString title = QStringLiteral("Raport stanu kasy.    data : 2019.03.15    godzina : 14:05");

    selectDocument(1);
    StanKasyDoDokumentu(*listing);
    EXPECT_EQ(previewLines(),
              reportListing(title, QStringLiteral(
                  "| A1     | Kasa główna                                       |           1 250 , 50     |")));
    EXPECT_EQ(dane->TNAG.asInteger("POZ"), 1);

    selectDocument(3);
    StanKasyDoDokumentu(*listing);
    EXPECT_EQ(previewLines().at(5),
              QStringLiteral("| A1     | Kasa główna                                       |           1 110 , 50     |"));
    EXPECT_EQ(dane->TNAG.asInteger("POZ"), 3);
    EXPECT_EQ(progress.maximum, 4);
}

// Documents dated after the day are passed over; the walk ends at the selected document only
// when that document is not later than the day.
TEST_F(CashStateListingTest, StanKasyNaDzienCountsTheDocumentsUpToTheDay)
{
    selectDesk("A1");
    selectReport(2);
    selectDocument(2);

    StanKasyNaDzien(*listing, QDate(2019, 3, 5));
    EXPECT_EQ(previewLines(),
              reportListing(QStringLiteral("Raport stanu kasy na dzień: 2019-03-05"),
                            QStringLiteral(
                                "| A1     | Kasa główna                                       |           1 210 , 50     |")));

    StanKasyNaDzien(*listing, QDate(2019, 3, 31));
    EXPECT_EQ(previewLines().at(5),
              QStringLiteral("| A1     | Kasa główna                                       |           1 150 , 50     |"));
    EXPECT_EQ(dane->TNAG.asInteger("POZ"), 2);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(CashStateListingTest, TheDayDialogStartsAtTodayAndCancelPrintsNothing)
{
    selectDesk("A1");
    selectReport(2);
    ScriptedDayDialog dialog;
    StanKasyNaDzien(*listing, dialog);
    EXPECT_EQ(dialog.presets, QList<QDate>{QDate(2019, 3, 15)});
    EXPECT_EQ(progress.starts, 0);

    dialog.answer = QDate(2019, 3, 1);
    StanKasyNaDzien(*listing, dialog);
    EXPECT_EQ(previewLines().at(5),
              QStringLiteral("| A1     | Kasa główna                                       |           1 250 , 50     |"));
}

TEST_F(CashStateListingTest, AReportWithoutDocumentsPrintsNothing)
{
    selectDesk("C3");
    selectReport(2);
    StanKasyDoDokumentu(*listing);
    StanKasyNaDzien(*listing, QDate(2019, 3, 15));
    EXPECT_EQ(progress.starts, 0);
    EXPECT_EQ(previews, 0);
}

// The desk's own currency code, as stored (no "PLN" for a blank one, see above).
TEST_F(CashStateListingTest, TheReportListingShowsTheDesksCurrencyCode)
{
    selectDesk("B2");
    dane->TNAG.last();
    StanKasyDoDokumentu(*listing);
    EXPECT_EQ(previewLines().at(5),
              QStringLiteral("| B2     | Kasa walutowa                                     |             240 , 00 EUR |"));
}

} // namespace
