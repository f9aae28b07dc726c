#include "form_test_support.h"
#include "listing_fixture.h"

#include "print/document_printout.h"
#include "print/forms/form_painter.h"
#include "store/table_schemas.h"

#include <QTemporaryDir>

namespace {

// 150 characters, the longest description a position holds.
const QString kLongDescription = QStringLiteral(
    "Zakup znaczków pocztowych i kopert do wysyłki korespondencji handlowej oraz opłata za "
    "przesyłki polecone wysłane w marcu do kontrahentów zagranicznych");

// A company, a złoty desk with one report holding a receipt of two positions, a payout, an
// advance settlement to return and one to pay out (three expense lines each) and an advance
// request.
class DocumentFormsTest : public ListingTest {
protected:
    void SetUp() override
    {
        ListingTest::SetUp();
        addCompany(QStringLiteral("3"));
        addDesk("A1", QStringLiteral("Kasa główna"));
        addReport("A1", 3, "0");

        RowValues kp = Header("A1", 3, 1, "KP", 12, "1234,56", "2019.03.15");
        kp += RowValues{{"KWOTA", "1244,56"}, {"ONAZ1", "Jan Nowak"}, {"ONAZ2", QStringLiteral("Usługi Nowak")},
                        {"OUL", QStringLiteral("ul. Krótka 5")}, {"OKOD", "31-001"}, {"OMIEJSC", QStringLiteral("Kraków")},
                        {"TYT1", QStringLiteral("Wpłata za fakturę 12/2019")}, {"KONTO", "100-01"}};
        RowValues interest = Line("A1", 3, "KP", 12, "10", "Odsetki");
        interest += RowValues{{"KONTO", "750"}};
        RowValues kw = Header("A1", 3, 2, "KW", 3, "99,99", "2019.03.15");
        kw += RowValues{{"ONAZ1", "Anna Kowalska"}, {"TYT1", kLongDescription}, {"KONTO", "402"}};
        RowValues returned = Header("A1", 3, 3, "RZ", 1, "70", "2019.03.15");
        returned += RowValues{{"KWOTA", "30"}, {"OKOD", "+"}, {"L1", "100"}, {"ONAZ1", QStringLiteral("Piotr Zięba")},
                              {"OUL", "2019.03.01"}};
        RowValues paidOut = Header("A1", 3, 4, "RZ", 2, "130", "2019.03.15");
        paidOut += RowValues{{"KWOTA", "30"}, {"OKOD", "-"}, {"L1", "100"}, {"ONAZ1", QStringLiteral("Piotr Zięba")}};
        RowValues request = Header("A1", 3, 5, "WZ", 1, "250", "2019.03.15");
        request += RowValues{{"ONAZ1", QStringLiteral("Ewa Łęcka")}, {"A1", QStringLiteral("księgowa")}};
        QList<RowValues> rows{kp, interest, kw, returned, paidOut, request};
        for (const auto &[number, amounts] : {std::pair{1, QList<const char *>{"20", "20", "30"}},
                                               std::pair{2, QList<const char *>{"50", "50", "30"}}}) {
            int i = 0;
            for (const char *amount : amounts) {
                RowValues line = Line("A1", 3, "RZ", number, amount, QStringLiteral("Wydatek %1").arg(++i));
                line += RowValues{{"KONTO", "401"}};
                rows << line;
            }
        }
        RowValues requestLine = Line("A1", 3, "WZ", 1, "250", QStringLiteral("Paliwo"));
        rows << requestLine;
        addDocuments(rows);
    }

    void addCompany(const QString &unit)
    {
        tree.createTable(tree.companyTable(), CompanyTableDefinition(),
                         {{{"NR", 1},
                           {"NAZWA1", QStringLiteral("Przedsiębiorstwo Handlowe ZEFIR")},
                           {"NAZWA2", QStringLiteral("spółka z o.o.")},
                           {"ULICA", QStringLiteral("Długa")},
                           {"NUMER", "12"},
                           {"LOKAL", unit},
                           {"KOD", "00-950"},
                           {"POCZTA", "Warszawa"}}});
    }

    void setOptions(const QString &options)
    {
        dane->TPARA.first();
        dane->TPARA.edit();
        dane->TPARA.setString("P2", options);
        dane->TPARA.post();
    }

    void openAt(const QString &options)
    {
        open();
        setOptions(options);
        selectDesk("A1");
        selectReport(3);
        printout = std::make_unique<DocumentPrintout>(
            DocumentPrintTables{dane->TNAG, dane->TPOZ, dane->TKASA, dane->TWALUTA, dane->TFIRMA, dane->TPARA, dane->TRKASA},
            output, [this] { return druk.get(); });
    }

    Bookmark documentAt(int place)
    {
        selectDocument(place);
        return dane->TNAG.bookmark();
    }

    RecordingFormOutput output;
    std::unique_ptr<DocumentPrintout> printout;
};

TEST(DocumentPrintChoice, ByKindOptionsAndOrigin)
{
    using Id = DocumentFormId;
    const auto L = PrintOrigin::List;
    const auto E = PrintOrigin::Editor;
    const struct {
        const char *kind;
        const char *options;
        PrintOrigin origin;
        DocumentPrintChoice choice;
    } cases[] = {
        // An empty P2: the list prints the two-copy form, the editor previews it.
        {"KP", "", L, {Id::TKasaR1, false, false, 1}},
        {"KP", "", E, {Id::TKasaR1, false, true, 1}},
        {"KP", "00000", E, {Id::TKasaR1, false, false, 1}},
        {"KP", "00001", L, {Id::TKasaR1, false, true, 1}},
        {"KPD", "01000", L, {Id::TKasaR11, false, false, 1}},
        {"KP", "01000", E, {Id::TKasaR11, false, true, 1}},
        // "2": the editor prints twice whatever character 5 says; the list previews once on "1".
        {"KP", "02001", E, {Id::TKasaR11, false, false, 2}},
        {"KP", "02001", L, {Id::TKasaR11, false, true, 1}},
        {"KP", "02000", L, {Id::TKasaR11, false, false, 2}},
        {"KP", "03000", E, {std::nullopt, true, false, 1}},
        {"KP", "04001", E, {Id::TKasaR41, false, true, 1}},
        {"KP", "09000", L, {std::nullopt, false, false, 1}},
        // Payouts read the options the same way from both places.
        {"KW", "", E, {Id::TKasaR3, false, false, 1}},
        {"KWD", "01001", E, {Id::TKasaR31, false, true, 1}},
        {"KW", "02000", E, {Id::TKasaR31, false, false, 2}},
        {"KW", "03000", L, {std::nullopt, true, false, 1}},
        {"KW", "04000", L, {Id::TKasaR32, false, false, 1}},
        {"RZ", "00000", E, {Id::TKasar5, false, true, 1}},
        {"WZ", "00000", L, {Id::TKasar6, false, true, 1}},
        {"BO", "00000", L, {std::nullopt, false, false, 1}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChooseDocumentPrintout(c.kind, c.options, c.origin), c.choice)
            << c.kind << " \"" << c.options << "\" " << (c.origin == L ? "list" : "editor");
}

// Every receipt form is filled, whichever is output: words, unit, total and rows of each copy.
TEST_F(DocumentFormsTest, AReceiptFillsAllThreeReceiptForms)
{
    openAt("00100");
    printout->printFromList({documentAt(1)});
    ASSERT_EQ(output.summary(), QStringList{"TKasaR1 wydruk"});
    DocumentForms &forms = printout->forms();
    ReportForm &two = forms.form(DocumentFormId::TKasaR1);
    for (const char *label : {"s0", "s2"})
        EXPECT_EQ(two.caption(label), QStringLiteral("Słownie złotych :"));
    EXPECT_EQ(two.caption("s3"), two.caption("s1"));
    EXPECT_EQ(two.caption("zg2"), QStringLiteral("złoty  ,  groszy"));
    EXPECT_EQ(two.caption("R2").size(), 20);
    EXPECT_EQ(two.caption("R2").trimmed(), QStringLiteral("1 244 , 56"));
    EXPECT_EQ(two.caption("D8"), QStringLiteral("Wpłata za fakturę 12/2019"));
    EXPECT_EQ(two.caption("D9"), QStringLiteral("Odsetki"));
    EXPECT_EQ(two.caption("O9"), QStringLiteral("750"));
    EXPECT_EQ(two.caption("D10"), QString());
    ReportForm &three = forms.form(DocumentFormId::TKasaR41);
    EXPECT_EQ(three.caption("D11"), QStringLiteral("Wpłata za fakturę 12/2019"));
    EXPECT_EQ(three.caption("s5"), two.caption("s1"));
    EXPECT_EQ(forms.form(DocumentFormId::TKasaR11).caption("K2").trimmed(), QStringLiteral("10 , 00"));

    // The printed pages: both copies with their marks and the stamp with the composed street.
    const FormLayout &pages = output.entries[0].layout;
    ASSERT_EQ(pages.pages.size(), 1);
    const QStringList texts = pages.texts();
    EXPECT_EQ(texts.count(two.caption("s1")), 2);
    EXPECT_TRUE(two.caption("s1").contains(QStringLiteral("tysiąc"))) << two.caption("s1").toStdString();
    EXPECT_EQ(texts.count(QStringLiteral("Długa 12 3")), 2);
    EXPECT_TRUE(texts.contains(QStringLiteral("ORYGINAŁ")));
    EXPECT_TRUE(texts.contains(QStringLiteral("KOPIA")));
    EXPECT_EQ(texts.count(dane->TNAG.asString("DOWOD")), 2) << texts.join('|').toStdString();
}

// P2 "00000": no stamp anywhere and the settlement alone; "00110": the stamp, and the settlement
// with its copy.
TEST_F(DocumentFormsTest, StampAndSettlementCopyFollowThePrintOptions)
{
    openAt("00000");
    for (const auto &[options, stamped, copies] : {std::tuple{"00000", false, 1}, std::tuple{"00110", true, 2}}) {
        setOptions(options);
        output.entries.clear();
        printout->printFromList({documentAt(1), documentAt(2), documentAt(3), documentAt(5)});
        ASSERT_EQ(output.summary(), (QStringList{"TKasaR1 wydruk", "TKasaR3 wydruk", "TKasar5 podgląd", "TKasar6 podgląd"}));
        for (const auto &entry : output.entries) {
            const QStringList texts = entry.layout.texts();
            EXPECT_EQ(texts.contains(QStringLiteral("Przedsiębiorstwo Handlowe ZEFIR")), stamped) << entry.form.toStdString();
            EXPECT_EQ(texts.contains(QStringLiteral("00-950")), stamped) << entry.form.toStdString();
        }
        const QStringList settlement = output.entries[2].layout.texts();
        EXPECT_EQ(settlement.count(QStringLiteral("Zestawienie wydatków (dokumentów)")), copies) << options;
        EXPECT_EQ(settlement.count(QStringLiteral("Wydatek 3")), copies);
        EXPECT_EQ(output.entries[2].layout.pages.size(), 1);
    }
}

TEST_F(DocumentFormsTest, ACompanyWithoutUnitKeepsTheTrailingSpace)
{
    addCompany(QString());
    openAt("00100");
    printout->printFromList({documentAt(2)});
    ASSERT_EQ(output.entries.size(), 1);
    EXPECT_EQ(output.entries[0].layout.texts().count(QStringLiteral("Długa 12 ")), 2);
}

// The settlement's caption, which amount shows and the words of a return, on both copies.
TEST_F(DocumentFormsTest, SettlementToReturnAndToPayOut)
{
    openAt("00010");
    printout->printFromList({documentAt(3), documentAt(4)});
    ASSERT_EQ(output.entries.size(), 2);
    const FormLayout &returned = output.entries[0].layout;
    const LaidOutPage &page = returned.pages[0];
    EXPECT_EQ(PlacedText(page, "rozliczenie1"), QStringLiteral("do zwrotu :"));
    EXPECT_EQ(PlacedText(page, "rozliczenie4"), QStringLiteral("do zwrotu :"));
    EXPECT_EQ(PlacedText(page, "zwrot1"), QStringLiteral("30,00"));
    EXPECT_EQ(PlacedText(page, "zwrot2"), QStringLiteral("30,00"));
    EXPECT_EQ(PlacedText(page, "wyplata1"), QStringLiteral("<none>"));
    EXPECT_EQ(PlacedText(page, "z4"), PlacedText(page, "z3"));
    EXPECT_EQ(PlacedText(page, "z41"), PlacedText(page, "z3"));
    EXPECT_EQ(PlacedText(page, "A1"), QStringLiteral("Wydatek 1"));
    EXPECT_EQ(PlacedText(page, "d3"), QStringLiteral("Wydatek 3"));
    EXPECT_EQ(PlacedText(page, "B3").trimmed(), QStringLiteral("30,00"));
    EXPECT_EQ(PlacedText(page, "pobranej1"), QStringLiteral("pobranej  dnia 2019.03.01r."));
    EXPECT_EQ(PlacedText(page, "rk1"), QStringLiteral("RK 3/3"));
    EXPECT_EQ(PlacedText(page, "z2"), QStringLiteral("Kwota zł"));
    EXPECT_TRUE(PlacedText(page, "z3").startsWith(QStringLiteral("trzydzieści"))) << PlacedText(page, "z3").toStdString();

    const LaidOutPage &paid = output.entries[1].layout.pages[0];
    EXPECT_EQ(PlacedText(paid, "rozliczenie2"), QStringLiteral("do wypłaty :"));
    EXPECT_EQ(PlacedText(paid, "wyplata1"), QStringLiteral("30,00"));
    EXPECT_EQ(PlacedText(paid, "zwrot1"), QStringLiteral("<none>"));
    EXPECT_EQ(PlacedText(paid, "z4"), QStringLiteral("<none>"));
    // The earlier document's rows do not linger.
    EXPECT_EQ(PlacedText(paid, "A1"), QStringLiteral("Wydatek 1"));
    EXPECT_EQ(PlacedText(paid, "B1").trimmed(), QStringLiteral("50,00"));
}

// The two-copy payout keeps its copy at the bottom of the page; the list prints each selected
// document in selection order and leaves the view on its row.
TEST_F(DocumentFormsTest, PayoutCopyAtTheFootAndSelectionOrder)
{
    openAt("00000");
    const Bookmark request = documentAt(5);
    const Bookmark payout = documentAt(2);
    const Bookmark receipt = documentAt(1);
    printout->printFromList({receipt, payout, request});
    EXPECT_EQ(output.summary(), (QStringList{"TKasaR1 wydruk", "TKasaR3 wydruk", "TKasar6 podgląd"}));
    EXPECT_EQ(dane->TNAG.bookmark(), receipt);
    const PlacedItem *mark = PlacedItemNamed(output.entries[1].layout, "mark2");
    ASSERT_NE(mark, nullptr);
    EXPECT_DOUBLE_EQ(mark->top, 297 - 25 - 133 + 3 + 4.0);

    // From the editor, with "2", the one-copy form prints twice.
    output.entries.clear();
    dane->TPARA.edit();
    dane->TPARA.setString("P2", "02001");
    dane->TPARA.post();
    printout->printFromEditor(receipt);
    EXPECT_EQ(output.summary(), (QStringList{"TKasaR11 wydruk", "TKasaR11 wydruk"}));
}

// "3": the list prints each KP and KW as text, at once, through the print module; the
// settlement still goes to its form.
TEST_F(DocumentFormsTest, TextLayoutFromTheList)
{
    openAt("03000");
    printout->printFromList({documentAt(1), documentAt(3), documentAt(2)});
    EXPECT_EQ(output.summary(), QStringList{"TKasar5 podgląd"});
    EXPECT_EQ(printer.documents, (QStringList{"Wydruk dokumentu", "Wydruk dokumentu"}));
    EXPECT_EQ(previews, 0);
    bool payoutLine = false;
    for (const auto &line : printer.lines)
        payoutLine = payoutLine || line.text.contains(QStringLiteral("DOWÓD WYPŁATY"));
    EXPECT_TRUE(payoutLine);
}

// Each form once to PDF: pdftotext reads its key texts back, Polish letters intact.
// The words of the largest amount do not fit one line even in the smallest size: they go on in a
// second line, and nothing runs off the paper.
TEST_F(DocumentFormsTest, TheLargestAmountInWordsStaysOnThePage)
{
    openAt("00100");
    printout->printFromList({documentAt(1)});
    ReportForm &form = printout->forms().form(DocumentFormId::TKasaR1);
    const QString words = QStringLiteral(
        "dziewięćset dziewięćdziesiąt dziewięć miliardów dziewięćset dziewięćdziesiąt dziewięć milionów "
        "dziewięćset dziewięćdziesiąt dziewięć tysięcy dziewięćset dziewięćdziesiąt dziewięć złotych "
        "dziewięćdziesiąt dziewięć gr");
    form.setCaption("s1", words);
    form.setCaption("s3", words);
    QTemporaryDir dir;
    const QString path = dir.filePath("kp.pdf");
    QString error;
    ASSERT_TRUE(WriteFormPdf(form, path, &error)) << error.toStdString();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString boxes = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(QStringLiteral("xMax=\"([0-9.]+)\""));
    double right = 0;
    for (auto match = word.globalMatch(boxes); match.hasNext();)
        right = std::max(right, match.next().captured(1).toDouble());
    EXPECT_GT(right, 300.0);
    EXPECT_LE(right, 595.0);
    EXPECT_EQ(boxes.count(QStringLiteral(">gr</word>")), 2);
}

// Read back from the PDF, the words of a receipt's and a payout's copy stand where the form's
// table puts them, measured from the copy's corner (found from its title).
TEST_F(DocumentFormsTest, TheCopysTextsStandAtTheirPlaces)
{
    openAt("00110");
    struct Place {
        const char *word;
        double left, top;
    };
    const struct {
        int place;
        DocumentFormId form;
        QList<Place> places; // the first one is the corner's anchor
    } cases[] = {
        {1, DocumentFormId::TKasaR11,
         {{"Dowód", 76.2, 2.1}, {"Pokwitowanie", 76.2, 8.5}, {"dnia:", 76.2, 16.9}, {"Od", 12.7, 24.3},
          {"Winien", 125.4, 25.4}, {"Ma", 163.5, 25.4}, {"Numer", 160.9, 37.6}, {"RAZEM", 93.1, 95.2},
          {"Wystawił", 14.8, 109.3}, {"Sprawdził", 40.2, 109.3}, {"Zatwierdził", 67.7, 109.3}}},
        {2, DocumentFormId::TKasaR31,
         {{"Dowód", 74.1, 4.2}, {"dnia:", 74.1, 12.7}, {"Komu", 12.7, 24.3}, {"RAZEM", 93.1, 95.2},
          {"Wystawił", 14.8, 109.3}}},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        printout->printFromList({documentAt(c.place)});
        ReportForm &form = printout->forms().form(c.form);
        SCOPED_TRACE(form.name.toStdString());
        const QString path = dir.filePath(form.name + ".pdf");
        QString error;
        ASSERT_TRUE(WriteFormPdf(form, path, &error)) << error.toStdString();
        const QMultiHash<QString, QPointF> words = PdfWordPlaces(path);
        // The first copy is the highest one on the page.
        const auto placeOf = [&](const QString &word) {
            const QList<QPointF> found = words.values(word);
            return *std::min_element(found.cbegin(), found.cend(),
                                     [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        };
        const Place &anchor = c.places.first();
        ASSERT_TRUE(words.contains(QString::fromUtf8(anchor.word)));
        const QPointF corner = placeOf(QString::fromUtf8(anchor.word)) - QPointF(anchor.left, anchor.top);
        for (const Place &p : c.places) {
            SCOPED_TRACE(p.word);
            ASSERT_TRUE(words.contains(QString::fromUtf8(p.word)));
            const QPointF at = placeOf(QString::fromUtf8(p.word)) - corner;
            EXPECT_NEAR(at.x(), p.left, 1.0);
            EXPECT_NEAR(at.y(), p.top, 1.5);
        }
    }
}

TEST_F(DocumentFormsTest, EveryFormRendersToPdf)
{
    openAt("00110");
    QTemporaryDir dir;
    const struct {
        int place;
        DocumentFormId form;
        QStringList texts;
    } cases[] = {
        {1, DocumentFormId::TKasaR11, {QStringLiteral("Dowód wpłaty"), QStringLiteral("Pokwitowanie"), QStringLiteral("Słownie złotych :")}},
        {1, DocumentFormId::TKasaR1, {QStringLiteral("ORYGINAŁ"), QStringLiteral("KOPIA"), QStringLiteral("Odsetki")}},
        {1, DocumentFormId::TKasaR41, {QStringLiteral("Od Kogo"), QStringLiteral("Kraków"), QStringLiteral("podpis kasjera")}},
        {2, DocumentFormId::TKasaR31, {QStringLiteral("Dowód wypłaty"), QStringLiteral("Komu"), QStringLiteral("wypłaciłem")}},
        // The longest description is printed whole (in two smaller lines), not cut.
        {2, DocumentFormId::TKasaR3, {QStringLiteral("Zakup znaczków"), QStringLiteral("zagranicznych"), QStringLiteral("KOPIA")}},
        {2, DocumentFormId::TKasaR32, {QStringLiteral("Anna Kowalska"), QStringLiteral("otrzymałem")}},
        {3, DocumentFormId::TKasar5, {QStringLiteral("ROZLICZENIE"), QStringLiteral("do zwrotu :"), QStringLiteral("Piotr Zięba")}},
        {5, DocumentFormId::TKasar6, {QStringLiteral("WNIOSEK O ZALICZKĘ"), QStringLiteral("Ewa Łęcka"), QStringLiteral("20. . . r.")}},
    };
    for (const auto &c : cases) {
        printout->printFromList({documentAt(c.place)});
        ReportForm &form = printout->forms().form(c.form);
        const QString path = dir.filePath(form.name + ".pdf");
        QString error;
        ASSERT_TRUE(WriteFormPdf(form, path, &error)) << error.toStdString();
        const QString text = PdfText(path);
        EXPECT_EQ(text.count(QChar('\f')), 1) << form.name.toStdString();
        for (const QString &expected : c.texts)
            EXPECT_TRUE(text.contains(expected)) << form.name.toStdString() << ": " << expected.toStdString() << "\n"
                                                 << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Przedsiębiorstwo Handlowe ZEFIR"))) << form.name.toStdString();
    }
}

} // namespace
