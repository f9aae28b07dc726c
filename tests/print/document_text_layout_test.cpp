#include "listing_fixture.h"

#include "print/document_text_layout.h"
#include "print/print_options.h"
#include "store/table_schemas.h"

#include <QFile>

namespace {

// A złoty desk and a euro desk; the company's name and address for the stamp.
class DocumentTextLayoutTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        tree.createTable(tree.companyTable(), CompanyTableDefinition(),
                         {{{"NR", 1},
                           {"SKROT", "ZEFIR"},
                           {"NAZWA1", QStringLiteral("Przedsiębiorstwo Handlowe ZEFIR")},
                           {"NAZWA2", QStringLiteral("spółka z o.o.")},
                           {"ULICA", QStringLiteral("Długa")},
                           {"NUMER", "12"},
                           {"LOKAL", "3"},
                           {"KOD", "00-950"},
                           {"POCZTA", "Warszawa"}}});
        tree.addRows(year(QStringLiteral("FIN\\WALUTA.DB")),
                     {{{"KOD", "1"}, {"WALUTA", "EUR"}, {"Z1", "euro"}, {"Z2", "euro"}, {"Z3", "euro"},
                       {"G1", "cent"}, {"G2", "centy"}, {"G3", QStringLiteral("centów")}}});
        addDesk("A1", QStringLiteral("Kasa główna"));
        addDesk("E1", QStringLiteral("Kasa walutowa"), "EUR");
        addReport("A1", 3, "0");
        addReport("E1", 1, "0");

        RowValues kp = Header("A1", 3, 4, "KP", 12, "123456789,12", "2019.03.15");
        kp += RowValues{{"KWOTA", "123456799,12"},
                        {"ONAZ1", "Jan Nowak"},
                        {"ONAZ2", QStringLiteral("Firma Usługowa Nowak i Syn")},
                        {"OUL", QStringLiteral("ul. Krótka 5")},
                        {"OKOD", "31-001"},
                        {"OMIEJSC", QStringLiteral("Kraków")},
                        {"TYT1", QStringLiteral("Wpłata za fakturę VAT nr 2019/03/0012 z dnia 1 marca 2019")},
                        {"KONTO", "100-01"}};
        RowValues interest = Line("A1", 3, "KP", 12, "10", "Odsetki");
        interest += RowValues{{"KONTO", "750"}};
        QList<RowValues> rows{kp, interest};

        // A payout of eight rows (one more than its layout has lines for).
        RowValues kw = Header("E1", 1, 2, "KW", 3, "154,32", "2019.03.14");
        kw += RowValues{{"KWOTA", "1234,56"}, {"ONAZ1", "Anna Kowalska"}, {"TYT1", QStringLiteral("Opłata nr 1")},
                        {"KONTO", "402"}};
        rows << kw;
        for (int i = 2; i <= 8; ++i) {
            RowValues line = Line("E1", 1, "KW", 3, "154,32", QStringLiteral("Opłata nr %1").arg(i));
            line += RowValues{{"KONTO", "402"}};
            rows << line;
        }
        addDocuments(rows);
    }

    void setPrintOptions(const QString &options)
    {
        dane->TPARA.first();
        dane->TPARA.edit();
        dane->TPARA.setString("P2", options);
        dane->TPARA.post();
    }

    DocumentText currentDocument()
    {
        return ReadDocumentText({dane->TNAG, dane->TPOZ, dane->TKASA, dane->TWALUTA, dane->TFIRMA, dane->TPARA});
    }
};

// The stamp (third print option "1"), a description and an amount cut to their columns (the
// position column keeps the last 15 of the amount's 20 characters), the total beyond its
// picture, the default unit caption cut to 15 and the words to 43 characters.
TEST_F(DocumentTextLayoutTest, AReceiptWithTheCompanyStamp)
{
    open();
    setPrintOptions("03100");
    EXPECT_TRUE(PrintsDocumentsAsText(dane->TPARA));
    selectDesk("A1");
    const QStringList expected{
        QStringLiteral("Przedsiębiorstwo Handlowe ZEFIR             DOWÓD WPŁATY          POKWITOWANIE"),
        QStringLiteral("spółka z o.o.                               ----------------------------------"),
        QStringLiteral("Długa 12 3                                  | KP 12                          |"),
        QStringLiteral("00-950 Warszawa                             | dnia : 2019.03.15              |"),
        QStringLiteral("-----------------------------------------------------------------------------|"),
        QStringLiteral("| Od Kogo                                   |    WINIEN     |       MA       |"),
        QStringLiteral("|Jan Nowak                                  |     Kasa      |      Konto     |"),
        QStringLiteral("|Firma Usługowa Nowak i Syn                 |               |                |"),
        QStringLiteral("|ul. Krótka 5                               |---------------|----------------|"),
        QStringLiteral("|31-001 Kraków                              |złoty  ,  grosz|      Numer     |"),
        QStringLiteral("|-------------------------------------------|---------------|----------------|"),
        QStringLiteral("|Wpłata za fakturę VAT nr 2019/03/0012 z dni|23 456 789 , 12|  100-01        |"),
        QStringLiteral("|Odsetki                                    |        10 , 00|  750           |"),
        QStringLiteral("|                                           |               |                |"),
        QStringLiteral("|                                           |               |                |"),
        QStringLiteral("|                                           |               |                |"),
        QStringLiteral("|                                           |               |                |"),
        QStringLiteral("|                                           |               |                |"),
        QStringLiteral("|-------------------------------------------|---------------|----------------|"),
        QStringLiteral("|Słownie złotych :                   RAZEM  |## ### ### , ##|                |"),
        QStringLiteral("|sto dwadzieścia trzy miliony czterysta pięć|               |                |"),
        QStringLiteral("|----------------------------------------------------------------------------|"),
        QStringLiteral("|Wystawił | Sprawdził | Zatwierdził | Rap.kasowy | Kwotę powyższą otrzymałem |"),
        QStringLiteral("|         |           |             |            |                           |"),
        QStringLiteral("|         |           |             | Nr 3       |                           |"),
        QStringLiteral("|         |           |             | poz. 4     |            podpis kasjera |"),
        QStringLiteral("------------------------------------------------------------------------------"),
    };
    const QStringList lines = DocumentTextLines(currentDocument());
    EXPECT_EQ(lines, expected);
    for (const QString &line : lines)
        EXPECT_EQ(line.size(), 78) << line.toStdString();
}

// Without the stamp; the currency's names from the dictionary; only the first seven positions.
TEST_F(DocumentTextLayoutTest, APayoutInAForeignCurrency)
{
    open();
    EXPECT_FALSE(PrintsDocumentsAsText(dane->TPARA)); // "00000"
    selectDesk("E1");
    dane->TPOZ.last();
    const QStringList expected{
        QStringLiteral("                                            DOWÓD WYPŁATY"),
        QStringLiteral("                                            ----------------------------------"),
        QStringLiteral("                                            | KW 3                           |"),
        QStringLiteral("                                            | dnia : 2019.03.14              |"),
        QStringLiteral("-----------------------------------------------------------------------------|"),
        QStringLiteral("| Od Kogo                                   |    WINIEN     |       MA       |"),
        QStringLiteral("|Anna Kowalska                              |     Kasa      |      Konto     |"),
        QStringLiteral("|                                           |               |                |"),
        QStringLiteral("|                                           |---------------|----------------|"),
        QStringLiteral("|                                           |euro  ,  centów|      Numer     |"),
        QStringLiteral("|-------------------------------------------|---------------|----------------|"),
        QStringLiteral("|Opłata nr 1                                |       154 , 32|  402           |"),
        QStringLiteral("|Opłata nr 2                                |       154 , 32|  402           |"),
        QStringLiteral("|Opłata nr 3                                |       154 , 32|  402           |"),
        QStringLiteral("|Opłata nr 4                                |       154 , 32|  402           |"),
        QStringLiteral("|Opłata nr 5                                |       154 , 32|  402           |"),
        QStringLiteral("|Opłata nr 6                                |       154 , 32|  402           |"),
        QStringLiteral("|Opłata nr 7                                |       154 , 32|  402           |"),
        QStringLiteral("|-------------------------------------------|---------------|----------------|"),
        QStringLiteral("|Słownie euro :                      RAZEM  |     1 234 , 56|                |"),
        QStringLiteral("|jeden tysiąc dwieście trzydzieści cztery eu|               |                |"),
        QStringLiteral("|----------------------------------------------------------------------------|"),
        QStringLiteral("|Wystawił | Sprawdził | Zatwierdził | Rap.kasowy |     Kwotę powyższą        |"),
        QStringLiteral("|         |           |             |            | wypłaciłem  | otrzymałem  |"),
        QStringLiteral("|         |           |             | Nr 1       |             |             |"),
        QStringLiteral("|         |           |             | poz. 2     |             |             |"),
        QStringLiteral("------------------------------------------------------------------------------"),
    };
    EXPECT_EQ(DocumentTextLines(currentDocument()), expected);
    EXPECT_EQ(dane->TPOZ.asString("TYT1"), QStringLiteral("Opłata nr 8")); // the positions view stays put
}

TEST_F(DocumentTextLayoutTest, ACurrencyMissingFromTheDictionaryTakesTheZlotyWords)
{
    open();
    const Table &currencies = dane->TWALUTA;
    EXPECT_FALSE(ForeignCurrencyOf("USD", currencies));
    EXPECT_FALSE(ForeignCurrencyOf("   ", currencies));
    ASSERT_TRUE(ForeignCurrencyOf("EUR", currencies));
    const DocumentAmountTexts texts = PrepareAmountTexts("KW", Money::fromCents(-200), std::nullopt);
    EXPECT_EQ(texts.wordsLabel, QStringLiteral("Słownie złotych :"));
    EXPECT_EQ(texts.amountWords, QStringLiteral("dwa złote  zero groszy "));
    EXPECT_EQ(texts.unitCaption, QStringLiteral("złoty  ,  groszy"));
    EXPECT_EQ(PrepareAmountTexts("RZ", Money(), ForeignCurrencyOf("EUR", currencies)).unitCaption,
              QStringLiteral("Kwota euro"));
}

// Printed at once, without the preview and without a footer.
TEST_F(DocumentTextLayoutTest, PrintingGoesStraightToTheTarget)
{
    open();
    selectDesk("A1");
    druk->TypWydruku = drBW;
    druk->Pl = drLATIN852;
    const QString file = tree.root() + QStringLiteral("dokument.txt");
    saveDialog.answer(file);
    PrintDocumentText(*druk, currentDocument());
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(progress.title, QStringLiteral("Wydruk dokumentu"));
    QFile printed(file);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = printed.readAll().split('\n');
    EXPECT_EQ(lines.size(), 28); // 27 lines, each ended
    EXPECT_EQ(lines.at(26), QByteArray(78, '-') + '\r');
}

} // namespace
