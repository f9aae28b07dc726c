#include "listing_fixture.h"

#include "ledger/small_dialogs.h"
#include "print/amount_range_listing.h"

namespace {

const QString kHeading = QStringLiteral(
    "| Kasa   |Nr rap.|  Data    | Dokument      | Kontrahent                                  "
    "| Za co                                                           | Kwota      |");
const QString kSeparator = QStringLiteral(
    "|--------|-------|----------|---------------|---------------------------------------------"
    "|-----------------------------------------------------------------|------------|");

class ScriptedAmountDialog : public AmountRangeDialog {
public:
    std::optional<AmountRangeTexts> answer;
    std::optional<AmountRangeTexts> askAmounts() override { return answer; }
};

// Two desks, three reports; a header and a line row of the first KP both reach 100,00, its
// other line has no amount.
class AmountRangeListingTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        addDesk("A1", QStringLiteral("Kasa główna"));
        addDesk("B2", QStringLiteral("Kasa banku"));
        addReport("A1", 1, "0", true);
        addReport("A1", 2, "0");
        addReport("B2", 1, "0");
        RowValues kp = Header("A1", 1, 1, "KP", 1, "150", "2019.01.10");
        kp += RowValues{{"ONAZ1", "Jan Nowak"}, {"TYT1", QStringLiteral("Wpłata za fakturę 12/2019")}};
        RowValues secondLine = Line("A1", 1, "KP", 1, "120", "Druga pozycja");
        secondLine += RowValues{{"KWOTA", "120"}};
        RowValues kw = Header("A1", 1, 2, "KW", 1, "99,99", "2019.01.11");
        kw += RowValues{{"ONAZ1", "Anna Kowalska"}, {"TYT1", "Zaliczka"}};
        RowValues kpd = Header("A1", 2, 1, "KPD", 1, "100", "2019.02.03");
        kpd += RowValues{{"A1", "D/7/2019"},
                         {"ONAZ1", QStringLiteral("Przedsiębiorstwo Wielobranżowe ZEFIR spółka jawna")},
                         {"TYT1", QStringLiteral("Zwrot niewykorzystanej zaliczki na zakup materiałów biurowych i "
                                                 "środków czystości")}};
        RowValues bank = Header("B2", 1, 1, "KW", 1, "12345678,90", "2019.03.04");
        bank += RowValues{{"ONAZ1", "Bank"}, {"TYT1", QStringLiteral("Wpłata do banku")}};
        addDocuments({kp, secondLine, Line("A1", 1, "KP", 1, "0", "Trzecia pozycja"), kw, kpd, bank});
        open();
        selectDesk("A1");
        selectReport(2);
    }

    // The description column of each listed row.
    QStringList listedDescriptions() const
    {
        QStringList descriptions;
        const QStringList lines = previewLines();
        for (qsizetype i = 3; i + 2 < lines.size(); ++i)
            descriptions << lines[i].mid(91, 65).trimmed();
        return descriptions;
    }
};

// Every row of the year whose amount is at least 100,00, headers and line rows alike, in the
// table's order; an amount beyond the picture shows its overflow.
TEST_F(AmountRangeListingTest, ListsEveryRowOfTheYearFromTheLowerBound)
{
    DokumentyZKwota(*listing, AmountRangeTexts{"100", "0"});

    const QStringList expected{
        QString(170, u'='),
        kHeading,
        kSeparator,
        QStringLiteral("|A1      | 1     |2019.01.10|KP 1           |Jan Nowak                                    "
                       "|Wpłata za fakturę 12/2019                                        |      150.00|"),
        QStringLiteral("|A1      | 1     |          |KP 1           |                                             "
                       "|Druga pozycja                                                    |      120.00|"),
        QStringLiteral("|A1      | 2     |2019.02.03|D/7/2019       |Przedsiębiorstwo Wielobranżowe ZEFIR spółka j"
                       "|Zwrot niewykorzystanej zaliczki na zakup materiałów biurowych i ś|      100.00|"),
        QStringLiteral("|B2      | 1     |2019.03.04|KW 1           |Bank                                         "
                       "|Wpłata do banku                                                  |# ### ###.##|"),
        QString(171, u'='),
        QStringLiteral("&GProgram KASA - Koniec wydruku: Raport dokumentów z kwotami od 100 do 0"),
    };
    EXPECT_EQ(previewLines(), expected);
    EXPECT_EQ(progress.steps, progress.maximum);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

// 0 is no bound; a row without an amount counts as 0,00.
TEST_F(AmountRangeListingTest, BoundsAreIncludedAndZeroIsNoBound)
{
    struct Case {
        const char *from;
        const char *to;
        QStringList listed;
    };
    const QString invoice = QStringLiteral("Wpłata za fakturę 12/2019");
    const QString refund = QStringLiteral("Zwrot niewykorzystanej zaliczki na zakup materiałów biurowych i ś");
    const QString bank = QStringLiteral("Wpłata do banku");
    const QList<Case> cases{
        {"0", "0", {invoice, "Druga pozycja", "Trzecia pozycja", "Zaliczka", refund, bank}},
        {"0", "100", {"Trzecia pozycja", "Zaliczka", refund}},
        {"100", "150", {invoice, "Druga pozycja", refund}},
        {"99,99", "99.99", {"Zaliczka"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.from) + " - " + c.to);
        DokumentyZKwota(*listing, AmountRangeTexts{c.from, c.to});
        EXPECT_EQ(listedDescriptions(), c.listed);
    }
}

TEST_F(AmountRangeListingTest, AnAmountThatIsNoNumberIsNamedAndNothingIsPrinted)
{
    struct Case {
        const char *from;
        const char *to;
        QString message;
    };
    for (const Case &c : {Case{"abc", "x", QStringLiteral("Błąd kwoty \"od\"")},
                          Case{"", "0", QStringLiteral("Błąd kwoty \"od\"")},
                          Case{"10", "1,2,3", QStringLiteral("Błąd kwoty \"do\"")}}) {
        prompt.clear();
        DokumentyZKwota(*listing, AmountRangeTexts{c.from, c.to});
        ASSERT_EQ(prompt.messages().size(), 1);
        EXPECT_EQ(prompt.messages().first().icon, PromptIcon::Error);
        EXPECT_EQ(prompt.messages().first().text, c.message);
    }
    EXPECT_EQ(progress.starts, 0);
}

TEST_F(AmountRangeListingTest, TheDialogsTextsAreReadWithoutSpaces)
{
    ScriptedAmountDialog dialog;
    DokumentyZKwota(*listing, dialog);
    EXPECT_EQ(progress.starts, 0);

    dialog.answer = AmountRangeTexts{" 1 000 ", "12 345 678,90"};
    DokumentyZKwota(*listing, dialog);
    EXPECT_EQ(druk->Tytul, QStringLiteral("Raport dokumentów z kwotami od 1000 do 12345678,90"));
    EXPECT_EQ(listedDescriptions(), QStringList{QStringLiteral("Wpłata do banku")});
}

// The documents list keeps its order, link, filter and selected document, also when the listing
// fails half-way; the job then ends without its footer and the failure goes to the caller.
TEST_F(AmountRangeListingTest, TheDocumentsListDoesNotMove)
{
    Table &documents = dane->TNAG;
    documents.setIndexName("Dinx");
    selectReport(1);
    selectDocument(2);
    const Bookmark selected = documents.bookmark();
    auto expectUnmoved = [&] {
        EXPECT_EQ(documents.indexName(), QStringLiteral("Dinx"));
        EXPECT_EQ(documents.masterSource(), &dane->TRKASA);
        EXPECT_TRUE(documents.filtered());
        EXPECT_EQ(documents.recordCount(), 2);
        EXPECT_EQ(documents.bookmark(), selected);
        EXPECT_FALSE(documents.controlsDisabled());
        EXPECT_EQ(dane->TPOZ.asString("RD"), QStringLiteral("KW"));
    };

    DokumentyZKwota(*listing, AmountRangeTexts{"0", "0"});
    expectUnmoved();

    failingProgress.failAtStep = 2;
    EXPECT_THROW(DokumentyZKwota(*listing, AmountRangeTexts{"0", "0"}), EngineError);
    expectUnmoved();
    EXPECT_FALSE(progress.running);
    EXPECT_EQ(previewLines().size(), 4); // the heading and the first row, no footer
}

} // namespace
