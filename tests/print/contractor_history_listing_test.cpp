#include "listing_fixture.h"

#include "print/contractor_history_listing.h"

namespace {

// Contractor 7's documents of March on two desks, with another contractor's, a later one and a
// line row around them.
class ContractorHistoryTest : public ListingTest {
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
                      const QString &date, const char *contractor, const QString &description) {
            RowValues row = Header(desk, report, place, kind, number, amount, date);
            row += RowValues{{"ONR", contractor}, {"TYT1", description}};
            return row;
        };
        RowValues line = Line("A1", 1, "KP", 1, "55", "Pozycja");
        line += RowValues{{"ONR", "7"}, {"DATA", "2019.03.02"}, {"KWOTA", "55"}};
        RowValues settlement = doc("A1", 2, 1, "RZ", 1, "20", "2019.03.20", "7", "Rozliczenie delegacji");
        settlement += RowValues{{"OKOD", "+"}, {"KWOTAP", "180"}, {"L1", "200"}};
        RowValues kpd = doc("B2", 1, 1, "KPD", 1, "50", "2019.03.31", "7", QStringLiteral("Wpłata"));
        kpd += RowValues{{"A1", "KPD-9"}};
        addDocuments({doc("A1", 1, 1, "KP", 1, "100", "2019.03.02", "7", QStringLiteral("Zapłata za fakturę")), line,
                      doc("A1", 1, 2, "KW", 1, "30", "2019.03.03", "7", QStringLiteral("Zwrot nadpłaty")),
                      doc("A1", 1, 3, "KP", 2, "999", "2019.03.04", "8", QStringLiteral("Inny kontrahent")),
                      settlement, doc("A1", 2, 2, "KP", 3, "60", "2019.04.02", "7", QStringLiteral("Kwiecień")), kpd,
                      doc("B2", 1, 2, "WZ", 1, "15", "2019.03.01", "7", QStringLiteral("Zaliczka na paliwo"))});
        open();
    }
};

// Receipts and a settlement's expenses under "Winien", payouts and advances under "Ma".
TEST_F(ContractorHistoryTest, TheContractorsDocumentsOfThePeriodInBothColumns)
{
    HistoriaKontrahenta(*listing,
                        ListedContractor{"7", QStringLiteral("Hurtownia ZEFIR"), QStringLiteral("spółka jawna")},
                        DateRange{QDate(2019, 3, 1), QDate(2019, 3, 31)});

    const QStringList expected{
        QStringLiteral("Raport obrotów dla kontrahenta : Hurtownia ZEFIR"),
        QStringLiteral("                                 spółka jawna"),
        QStringLiteral("Za okres od : 2019-03-01 do : 2019-03-31"),
        QString(107, u'='),
        QStringLiteral("| Kasa   |Nr rap.|  Data    | Dokument      | Za co                             | Winien     |     Ma     |"),
        QStringLiteral("|--------|-------|----------|---------------|-----------------------------------|------------|------------|"),
        QStringLiteral("|A1      | 1     |2019.03.02|KP 1           |Zapłata za fakturę                 |      100.00|            |"),
        QStringLiteral("|A1      | 1     |2019.03.03|KW 1           |Zwrot nadpłaty                     |            |       30.00|"),
        QStringLiteral("|A1      | 2     |2019.03.20|RZ 1           |Rozliczenie delegacji              |      180.00|            |"),
        QStringLiteral("|B2      | 1     |2019.03.31|KPD-9          |Wpłata                             |       50.00|            |"),
        QStringLiteral("|B2      | 1     |2019.03.01|WZ 1           |Zaliczka na paliwo                 |            |       15.00|"),
        QStringLiteral("|--------|-------|----------|---------------|-----------------------------------|------------|------------|"),
        QStringLiteral("|        |       |          |               | RAZEM :                           |      330.00|       45.00|"),
        QString(107, u'='),
        QStringLiteral("&GProgram KASA - Koniec wydruku: Raport obrotów"),
    };
    EXPECT_EQ(previewLines(), expected);
    EXPECT_EQ(progress.maximum, 5);
    EXPECT_EQ(dane->TNAG.masterSource(), &dane->TRKASA);
    EXPECT_EQ(dane->TNAG.indexName(), QStringLiteral("Pinx"));
}

TEST_F(ContractorHistoryTest, TheContractorIsTakenFromTheCataloguesRow)
{
    tree.addRows(year(QStringLiteral("FIN\\KONTRAHI.DB")),
                 {{{"NR", 7}, {"NAZWA1", QStringLiteral("Hurtownia ZEFIR")}, {"NAZWA2", QStringLiteral("spółka jawna")}}});
    dane->TKontrah.refresh();
    dane->TKontrah.first();
    const ListedContractor contractor = ListedContractorOf(dane->TKontrah);
    EXPECT_EQ(contractor.number, QStringLiteral("7"));
    EXPECT_EQ(contractor.name1, QStringLiteral("Hurtownia ZEFIR"));
    EXPECT_EQ(contractor.name2, QStringLiteral("spółka jawna"));
}

} // namespace
