#include "ledger/contractor_lookup.h"
#include "ledger/document_creation.h"
#include "ledger/document_kinds.h"
#include "ledger/document_search.h"
#include "ledger/new_document_arguments.h"
#include "ledger_fixture.h"
#include "store/table_schemas.h"

namespace {

class DocumentCreationTest : public OpenReportTest {
protected:
    DocumentCreation creation(const QStringList &arguments = {}, int argIndex = 1)
    {
        return DocumentCreation(ledger_->context(), ledger_->documents(), NewDocumentRequestFrom(arguments, argIndex));
    }

    QString header(const char *field) { return T("TNAG").asString(QString::fromLatin1(field)); }
};

TEST(NewDocumentArguments, AreReadAfterTheWordNowyWhereverTheCommandLineStarts)
{
    const auto request = NewDocumentRequestFrom({"rok", "2019", "NOWY", "RD=KWDX", "ONAZ1=Jan_Nowak", "zbędny", "A1=x=y"}, 3);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->kind, "KWDX"); // at most four characters
    const QList<QPair<QString, QString>> fields{{"RD", "KWDX"}, {"ONAZ1", "Jan Nowak"}, {"A1", "x=y"}};
    EXPECT_EQ(request->fields, fields);

    EXPECT_FALSE(NewDocumentRequestFrom({"rok", "2019", "nowy", "RD=KP"}, 1));
    EXPECT_FALSE(NewDocumentRequestFrom({}, 1));
    EXPECT_EQ(NewDocumentRequestFrom({"nowy", "RD=KPDXX"}, 1)->kind, "KPDX");
}

// The requested values go into the new header; what places and numbers the document does not.
TEST_F(DocumentCreationTest, ANewKpTakesTheRequestedValuesButStaysInItsReportAndSequence)
{
    DocumentCreation withRequest = creation(
        {"nowy", "RD=KW", "ONAZ1=Firma_ABC", "KWOTAP=125,50", "SYMBOL=K9", "NUMER=7", "NRD=40", "NIEMA=1", "L1=abc"});

    ASSERT_TRUE(withRequest.createReceiptOrPayout(DocumentKind::KP));

    EXPECT_EQ(header("RD"), "KP");
    EXPECT_EQ(header("SYMBOL"), "K1");
    EXPECT_EQ(header("NUMER"), "1");
    EXPECT_EQ(header("NRD"), "1");
    EXPECT_EQ(header("ONAZ1"), "Firma ABC");
    EXPECT_EQ(T("TNAG").asMoney(QStringLiteral("KWOTA")), Amount("125.50"));
    EXPECT_TRUE(T("TNAG").isNull(QStringLiteral("L1")));
    EXPECT_EQ(T("TNAG").state(), TableState::Browse);
    EXPECT_EQ(T("TPOZ").recordCount(), 1); // the header row is the first line
    EXPECT_TRUE(prompt_.messages().isEmpty());
}

TEST_F(DocumentCreationTest, NothingIsCreatedWithoutAnOpenReport)
{
    addReport(2, Money(), true);
    selectReport(2);
    DocumentCreation plain = creation();

    EXPECT_FALSE(plain.createReceiptOrPayout(DocumentKind::KPD));
    EXPECT_FALSE(plain.createAdvanceRequest());
    EXPECT_FALSE(plain.createSettlement(std::nullopt));

    EXPECT_EQ(prompt_.count("Brak otwartego raportu kasowego"), 3);
    EXPECT_TRUE(storedDocuments({"RD"}).isEmpty());
}

// A settlement starts from the advance selected before it: all of it to be returned.
TEST_F(DocumentCreationTest, ASettlementRefersToTheSelectedAdvance)
{
    DocumentCreation plain = creation();
    ASSERT_TRUE(plain.createAdvanceRequest());
    Table &headers = T("TNAG");
    headers.edit();
    headers.setString(QStringLiteral("DATA"), QStringLiteral("2019.03.04"));
    headers.setString(QStringLiteral("ONAZ1"), QStringLiteral("Jan Kowalski"));
    headers.setString(QStringLiteral("ONR"), QStringLiteral("12"));
    headers.post();
    addLine(Amount("500"));

    const std::optional<AdvanceReference> reference = DocumentCreation::advanceReferenceOf(headers);
    ASSERT_TRUE(reference);
    ASSERT_TRUE(plain.createSettlement(reference));

    EXPECT_EQ(header("RD"), "RZ");
    EXPECT_EQ(header("OMIEJSC"), "WZ 1");
    EXPECT_EQ(header("OUL"), "2019.03.04");
    EXPECT_EQ(header("ONAZ1"), "Jan Kowalski");
    EXPECT_EQ(header("ONR"), "12");
    EXPECT_EQ(headers.asMoney(QStringLiteral("L1")), Amount("500"));
    EXPECT_EQ(headers.asMoney(QStringLiteral("KWOTA")), Amount("500"));
    EXPECT_EQ(header("OKOD"), "+");

    // A receipt is no advance: the next settlement starts empty.
    ASSERT_TRUE(plain.createReceiptOrPayout(DocumentKind::KP));
    EXPECT_FALSE(DocumentCreation::advanceReferenceOf(headers));
    ASSERT_TRUE(plain.createSettlement(DocumentCreation::advanceReferenceOf(headers)));
    EXPECT_EQ(header("OMIEJSC"), "");
    EXPECT_TRUE(headers.isNull(QStringLiteral("L1")));
}

TEST_F(DocumentCreationTest, TheListIsOrderedByFourTitlesAndSearchedWithinTheReport)
{
    writeHeader("K1", 1, "KW", 1, Amount("10"), {}, "2019.03.05", 1);
    writeHeader("K1", 1, "KP", 2, Amount("20"), {}, "2019.03.01", 2);
    writeHeader("K1", 1, "KP", 1, Amount("30"), {}, "2019.03.03", 3);
    addReport(2, Money());
    writeHeader("K1", 2, "KP", 3, Amount("40"), {}, "2019.03.02", 1);
    selectReport(1);
    Table &headers = T("TNAG");

    ASSERT_TRUE(SortDocumentsByColumn(headers, QStringLiteral("DATA")));
    EXPECT_EQ(Column(headers, "DATA"), QStringList({"2019.03.01", "2019.03.03", "2019.03.05"}));
    ASSERT_TRUE(SortDocumentsByColumn(headers, QStringLiteral("DOWOD")));
    EXPECT_EQ(Column(headers, "DOWOD"), QStringList({"KP 1", "KP 2", "KW 1"}));
    EXPECT_FALSE(SortDocumentsByColumn(headers, QStringLiteral("TYT1")));
    EXPECT_FALSE(SortDocumentsByColumn(headers, QStringLiteral("KWOTA")));
    EXPECT_EQ(headers.indexName(), "Rinx");

    FindDocumentByDate(headers, QStringLiteral("2019.03.02"));
    EXPECT_EQ(header("DATA"), "2019.03.03");
    FindDocumentByKind(headers, QStringLiteral("KW"), QStringLiteral("2019"));
    EXPECT_EQ(header("DOWOD"), "KW 1");
    FindDocumentByKind(headers, QStringLiteral("K"), QStringLiteral("2019"));
    EXPECT_EQ(header("DOWOD"), "KP 1");
    EXPECT_EQ(headers.recordCount(), 3);
}

TEST_F(DocumentCreationTest, AContractorFoundByNumberOrTaxNumberFillsTheHeader)
{
    Table contractors(session_);
    contractors.setTableName(dir_.filePath(QStringLiteral("KONTRAHI")));
    contractors.create(ContractorTableDefinition());
    contractors.open();
    contractors.append();
    contractors.setInteger(QStringLiteral("NR"), 7);
    contractors.setString(QStringLiteral("NIP"), QStringLiteral("123-456-78-90"));
    contractors.setString(QStringLiteral("NAZWA1"), QStringLiteral("Hurtownia"));
    contractors.setString(QStringLiteral("NAZWA2"), QStringLiteral("Bis"));
    contractors.setString(QStringLiteral("KOD"), QStringLiteral("00-001"));
    contractors.setString(QStringLiteral("MIEJSC"), QStringLiteral("Warszawa"));
    contractors.setString(QStringLiteral("UL"), QStringLiteral("Prosta 1"));
    contractors.post();
    ASSERT_TRUE(creation().createReceiptOrPayout(DocumentKind::KP));

    EXPECT_FALSE(FindContractorByNumber(contractors, QStringLiteral("8")));
    EXPECT_FALSE(FindContractorByNumber(contractors, QStringLiteral("siedem")));
    EXPECT_FALSE(FindContractorByNumber(contractors, QStringLiteral("  ")));
    ASSERT_TRUE(FindContractorByNumber(contractors, QStringLiteral(" 7 ")));
    CopyContractorIntoHeader(contractors, T("TNAG"), prompt_);
    EXPECT_EQ(storedDocuments({"ONR", "ONAZ1", "ONAZ2", "OKOD", "OMIEJSC", "OUL", "ONIP"}),
              QStringList{"ONR=7 ONAZ1=Hurtownia ONAZ2=Bis OKOD=00-001 OMIEJSC=Warszawa OUL=Prosta 1 ONIP=123-456-78-90"});

    contractors.first();
    EXPECT_TRUE(FindContractorByTaxNumber(contractors, QStringLiteral("  123-456-78-90 ")));
    EXPECT_EQ(contractors.indexName(), "");
    EXPECT_FALSE(FindContractorByTaxNumber(contractors, QStringLiteral("999")));
}

} // namespace
