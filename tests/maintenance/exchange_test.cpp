#include "exchange_fixture.h"

#include "base/progress.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"
#include "store/demo_data_tree.h"
#include "store/table_schemas.h"

#include <QDate>

namespace {

const QString kYear = QStringLiteral("2019");

// The first lines of a file written in Windows-1250, each with its CR LF.
QString Lines(const QByteArray &bytes, int count)
{
    return DecodeWindows1250(bytes).section(QStringLiteral("\r\n"), 0, count - 1) + QStringLiteral("\r\n");
}

const char *const kGoldenDocuments =
    "SYMBOL\tNUMER\tAUTO\tRD\tROK\tNRD\tPOZ\tGLOWKA\tDATA\tKWOTA\tONR\tONAZ1\tONAZ2\tOKOD\tOMIEJSC\tOUL\tONIP\t"
    "TYT1\tKONTO\tKWOTAP\tL1\tL2\tL3\tA1\tA2\tA3\tB1\tB2\t\r\n"
    "KAS1\t1\t1\tKP\t2019\t1\t1\tTak\t2019.01.02\t1386,98\t33\tHotel \"MALINOWSKI\"\ts.c.\t85-001\tBydgoszcz\t"
    "ul. Kwiatowa 106\t928-288-07-25\tZwrot zaliczki\t234\t1386,98\t\t\t\t\t\t\t\t\t\r\n"
    "KAS1\t1\t2\tKP\t2019\t2\t2\tTak\t2019.01.02\t2263,97\t10\tAgnieszka Woźniak\t\t15-001\tBiałystok\t"
    "ul. Ogrodowa 44\t697-971-14-79\tWpłata za fakturę FV 298/2019\t201\t1362,86\t\t\t\t\t\t\t\t\t\r\n"
    "KAS1\t1\t3\tKP\t2019\t2\t\tNie\t\t\t\t\t\t\t\t\t\tWpłata za fakturę FV 133/2019\t201\t551,11\t\t\t\t\t\t\t"
    "\t\t\r\n";

const char *const kGoldenContractors =
    "TKontrahNR\tTKontrahNIP\tTKontrahSKROT\tTKontrahNAZWA1\tTKontrahNAZWA2\tTKontrahKOD\tTKontrahMIEJSC\t"
    "TKontrahUL\tTKontrahBANK\tTKontrahNUM1\tTKontrahNUM2\tTKontrahNUM3\tTKontrahff\t\r\n"
    "1\t360-181-59-03\tKowalski J.\tJan Kowalski\t\t00-950\tWarszawa\tul. Długa 42\t\t\t\t\t\t\r\n"
    "2\t930-166-13-10\tHurtownia Nowak\tHurtownia \"NOWAK\"\tSpółka z o.o.\t30-001\tKraków\tul. Krótka 117\t\t\t\t\t\t\r\n";

class ContractorExchangeTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        contractors = std::make_unique<Table>(tree.session(), QStringLiteral("TKontrah"));
        contractors->setTableName(contractorTable());
    }
    void TearDown() override { contractors->close(); }

    void addContractors(const QList<RowValues> &rows) { tree.addRows(contractorTable(), rows); }
    ImportResult importFile(const QString &path)
    {
        contractors->open();
        const ImportResult result = ImportFile(ContractorExchangeSource(*contractors), path, progress);
        contractors->close();
        return result;
    }
    // The error an import of the file stops with.
    ExchangeError importError(const QString &path)
    {
        try {
            importFile(path);
        } catch (const ExchangeError &error) {
            contractors->close();
            return error;
        }
        ADD_FAILURE() << "the import went through";
        return ExchangeError(QString());
    }

    std::unique_ptr<Table> contractors;
    NullProgress progress;
};

// The demo firm's year in the tree (its operator list is the demo's own).
void FillDemo(DataTreeBuilder &tree)
{
    tree.createTable(tree.yearTable(kYear, QStringLiteral("KSIEGA\\USER.DB")), OperatorListTableDefinition());
    FillDemoYear(tree.session(), tree.dataRoot(), kYear, QDate(2019, 3, 15));
}

RowValues Contractor(int number, const QString &shortName, const QString &town = QString())
{
    return {{QStringLiteral("NR"), number}, {QStringLiteral("SKROT"), shortName}, {QStringLiteral("MIEJSC"), town}};
}

TEST_F(ExchangeTest, DemoDocumentsAndContractorsExportAsTheGoldenFiles)
{
    FillDemo(tree);
    NullProgress progress;
    const ExportResult documents = ExportDocuments(helpers, file(QStringLiteral("dokumenty.txt")), progress);
    const QByteArray bytes = readFile(file(QStringLiteral("dokumenty.txt")));
    EXPECT_EQ(documents.rows, bytes.count("\r\n") - 1);
    EXPECT_EQ(documents.rows, rowsOf(documentTable()).size());
    EXPECT_EQ(Lines(bytes, 4), QString::fromUtf8(kGoldenDocuments));

    Table contractors(tree.session(), QStringLiteral("TKontrah"));
    contractors.setTableName(contractorTable());
    contractors.open();
    const ExportResult catalogue = ExportFile(ContractorExchangeSource(contractors), file(QStringLiteral("k.txt")), progress);
    contractors.close();
    EXPECT_EQ(catalogue.rows, 50);
    EXPECT_EQ(Lines(readFile(file(QStringLiteral("k.txt"))), 3), QString::fromUtf8(kGoldenContractors));
}

// The documents of the demo year go into an empty year of another tree and come back the same,
// but for their automatic numbers, which the new table gives; the file is marked as imported.
TEST_F(ExchangeTest, ExportThenImportGivesTheSameRows)
{
    FillDemo(tree);
    NullProgress progress;
    const QString path = file(QStringLiteral("import.txt"));
    ExportDocuments(helpers, path, progress);

    DataTreeBuilder other;
    other.withStandardTree(kYear);
    GlobalState otherState = state;
    otherState.DataRoot = other.dataRoot();
    TableHelperContext otherHelpers{other.session(), prompt, otherState};
    const DocumentImportResult result = ImportDocuments(otherHelpers, path, progress);
    const QStringList source = rowsOf(documentTable(), {QStringLiteral("AUTO")});
    EXPECT_EQ(result.import.inserted, source.size());
    EXPECT_EQ(result.import.updated, 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("zimport.txt"))));

    std::unique_ptr<Table> copy = other.open(other.yearTable(kYear, QStringLiteral("KASA\\NAGKASA.DB")));
    QStringList copied;
    for (copy->first(); !copy->eof(); copy->next()) {
        QStringList values;
        for (const FieldDef &field : copy->definition().fields)
            if (field.name != QStringLiteral("AUTO"))
                values.append(field.name + QLatin1Char('=') + copy->asString(field.name));
        copied.append(values.join(QLatin1Char('|')));
    }
    // The rows came in bulk: the engine's helper indexes are built with them.
    EXPECT_EQ(copy->helperIndexNames(), (QStringList{QStringLiteral("helper_AUTO"), QStringLiteral("helper_SYMBOL_NUMER_POZ"),
                                                     QStringLiteral("helper_SYMBOL_RD_NRD")}));
    copy->close();
    QStringList sortedSource = source;
    sortedSource.sort();
    copied.sort();
    EXPECT_EQ(copied, sortedSource);
    // The other tree has no reports: every document is named.
    EXPECT_EQ(result.breaches.count, rowsOf(documentTable()).filter(QStringLiteral("GLOWKA=True")).size());

    // Imported again into its own tree, the file finds every row by its key.
    const DocumentImportResult again = ImportDocuments(helpers, file(QStringLiteral("zimport.txt")), progress);
    EXPECT_EQ(again.import.updated, source.size());
    EXPECT_EQ(again.import.inserted, 0);
    EXPECT_EQ(rowsOf(documentTable(), {QStringLiteral("AUTO")}), source);
}

TEST_F(ContractorExchangeTest, ExportThenImportIntoAnEmptyTableGivesTheSameRows)
{
    addContractors({{{QStringLiteral("NR"), 7}, {QStringLiteral("NIP"), QStringLiteral("123-456-32-18")},
                     {QStringLiteral("SKROT"), QStringLiteral("Łąka")}, {QStringLiteral("NAZWA1"), QStringLiteral(" spacje ")},
                     {QStringLiteral("ff"), QStringLiteral("notatka długa ") + QString(300, QLatin1Char('x'))}},
                    Contractor(3, QStringLiteral("trzeci")), {{QStringLiteral("NR"), 2147483647}}});
    const QStringList before = rowsOf(contractorTable());
    contractors->open();
    ExportFile(ContractorExchangeSource(*contractors), file(QStringLiteral("k.txt")), progress);
    contractors->close();
    tree.createTable(contractorTable(), ContractorTableDefinition());
    const ImportResult result = importFile(file(QStringLiteral("k.txt")));
    EXPECT_EQ(result.inserted, 3);
    EXPECT_EQ(rowsOf(contractorTable()), before);
}

TEST_F(ContractorExchangeTest, KeysFoundAreUpdatedAndTheOthersAdded)
{
    addContractors({Contractor(1, QStringLiteral("Jeden"), QStringLiteral("Radom")), Contractor(2, QStringLiteral("Dwa"))});
    const QString path = writeFile(QStringLiteral("import.txt"),
                                   "TKontrahNR\tTKontrahSKROT\t\r\n2\tDwa nowy\t\r\n3\tTrzy\t\r\n1\r\n");
    const ImportResult result = importFile(path);
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(result.updated, 2);
    EXPECT_EQ(result.inserted, 1);
    EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("SKROT")), (QStringList{"Jeden", "Dwa nowy", "Trzy"}));
    // A line without a value leaves the field as it was.
    EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("MIEJSC")), (QStringList{"Radom", "", ""}));
}

// The catalogue's view (another order, a filter) neither hides a key from the import nor changes.
TEST_F(ContractorExchangeTest, KeysHiddenByTheViewAreFoundAndTheViewStays)
{
    addContractors({Contractor(1, QStringLiteral("Jeden"), QStringLiteral("Radom")), Contractor(2, QStringLiteral("Dwa"))});
    const QString path = writeFile(QStringLiteral("import.txt"), "TKontrahNR\tTKontrahSKROT\t\r\n2\tDwa nowy\t\r\n");
    contractors->open();
    contractors->setIndexName(QStringLiteral("Sinx"));
    contractors->setFilterCondition(QStringLiteral("MIEJSC"), QStringLiteral("Radom"));
    contractors->setFiltered(true);
    const ImportResult result = ImportFile(ContractorExchangeSource(*contractors), path, progress);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(result.inserted, 0);
    EXPECT_EQ(contractors->indexName(), QStringLiteral("Sinx"));
    EXPECT_EQ(contractors->recordCount(), 1);
    EXPECT_EQ(contractors->asString(QStringLiteral("SKROT")), QStringLiteral("Jeden"));
    contractors->close();
    EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("SKROT")), (QStringList{"Jeden", "Dwa nowy"}));
}

// Columns are matched by name in any order; a file whose names were changed is read by position.
TEST_F(ContractorExchangeTest, ColumnsReorderedOrRenamed)
{
    struct Case {
        const char *file;
        QStringList fields; // the field each column of the file goes into
    };
    const Case cases[] = {
        {"TKontrahSKROT\tTKontrahMIEJSC\tTKontrahNR\t\r\nBeta\tKraków\t5\t\r\n", {"SKROT", "MIEJSC", "NR"}},
        {"Numer\tPodatek\tSkrót\t\r\n5\t\tBeta\t\r\n", {"NR", "NIP", "SKROT"}},
        // A renamed column gives way to the column that bears its field's name.
        {"Numer\tTKontrahNR\tTKontrahSKROT\t\r\nx\t5\tBeta\t\r\n", {"", "NR", "SKROT"}},
    };
    for (const Case &c : cases) {
        tree.createTable(contractorTable(), ContractorTableDefinition());
        const QString path = writeFile(QStringLiteral("import.txt"), QByteArray(c.file));
        contractors->open();
        const ExchangeSource source = ContractorExchangeSource(*contractors);
        FieldMap map = FieldMap::forShowing(source, ExchangeMode::Import);
        map.matchHeader(source, ReadExchangeHeader(readFile(path)));
        QStringList fields;
        for (int i = 0; i < map.fileColumnCount(); ++i)
            fields.append(map.rows[i].fieldName);
        EXPECT_EQ(fields, c.fields) << c.file;
        EXPECT_TRUE(map.keyComplete(source)) << c.file;
        contractors->close();
        importFile(path);
        EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("NR")), QStringList{"5"}) << c.file;
        EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("SKROT")), QStringList{"Beta"}) << c.file;
    }
}

TEST_F(ContractorExchangeTest, AFileWithoutTheKeyColumnIsNotImported)
{
    const QString path = writeFile(QStringLiteral("import.txt"), "TKontrahNIP\tTKontrahSKROT\t\r\n1\tA\t\r\n");
    contractors->open();
    const ExchangeSource source = ContractorExchangeSource(*contractors);
    FieldMap map = FieldMap::forShowing(source, ExchangeMode::Import);
    EXPECT_FALSE(map.keyComplete(source));
    map.matchHeader(source, ReadExchangeHeader(readFile(path)));
    EXPECT_FALSE(map.keyComplete(source));
    contractors->close();
    EXPECT_EQ(importError(path).message(), QStringLiteral("W pliku brak kolumny klucza: TKontrahNR."));
    EXPECT_TRUE(QFile::exists(path));
}

// The same contractors in the kinds of file a user brings: the program's own in Windows-1250, a
// spreadsheet's tab file in UTF-8 without the last tabs, and a spreadsheet's CSV.
TEST_F(ContractorExchangeTest, FileKindsWithPolishLetters)
{
    const QString town = QStringLiteral("Łódź Źdźbło");
    const QString name = QStringLiteral("Spółka \"Ślązak\"; oddział");
    const QByteArray files[] = {
        QByteArray("TKontrahNR\tTKontrahMIEJSC\tTKontrahNAZWA1\t\r\n1\t\xA3\xF3" "d\x9F \x8F" "d\x9F" "b\xB3o\t"
                   "Sp\xF3\xB3ka \"\x8Cl\xB9zak\"; oddzia\xB3\t\r\n"),
        QByteArray("\xEF\xBB\xBFTKontrahNR\tTKontrahMIEJSC\tTKontrahNAZWA1\n1\t") + town.toUtf8() + "\t" + name.toUtf8() + "\n",
        QByteArray("TKontrahNR;TKontrahMIEJSC;TKontrahNAZWA1\r\n1;") + town.toUtf8() + ";\"Spółka \"\"Ślązak\"\"; oddział\"\r\n",
    };
    for (const QByteArray &bytes : files) {
        tree.createTable(contractorTable(), ContractorTableDefinition());
        importFile(writeFile(QStringLiteral("import.csv"), bytes));
        EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("MIEJSC")), QStringList{town}) << bytes.toStdString();
        EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("NAZWA1")), QStringList{name}) << bytes.toStdString();
        EXPECT_TRUE(QFile::exists(file(QStringLiteral("zimport.csv"))));
    }
}

// A bad value half-way through: the message names the line, the column and the value, and
// neither the table nor the file's name changes.
TEST_F(ExchangeTest, ABadValueInLine500Of1000ChangesNothing)
{
    tree.addRows(documentTable(), {{{QStringLiteral("SYMBOL"), QStringLiteral("KAS")}, {QStringLiteral("NUMER"), 1},
                                    {QStringLiteral("RD"), QStringLiteral("KP")}, {QStringLiteral("NRD"), 1}}});
    const QStringList before = rowsOf(documentTable());
    struct Case {
        const char *value;
        int column;
        const char *message;
    };
    // Columns: SYMBOL NUMER AUTO RD ROK NRD DATA KWOTA TYT1
    const Case cases[] = {
        {"2019.02.30", 7, "Wiersz 500, kolumna 7 (DATA): wartość \"2019.02.30\" - to nie jest data w postaci RRRR.MM.DD."},
        {"0019.03.01", 7, "Wiersz 500, kolumna 7 (DATA): wartość \"0019.03.01\" - rok daty spoza lat 1990 - 2020."},
        {"12,3a", 8, "Wiersz 500, kolumna 8 (KWOTA): wartość \"12,3a\" - to nie jest kwota."},
        {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx",
         9, "Wiersz 500, kolumna 9 (TYT1): wartość \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" - "
            "tekst dłuższy niż 150 znaków."},
    };
    for (const Case &c : cases) {
        QByteArray bytes = "SYMBOL\tNUMER\tAUTO\tRD\tROK\tNRD\tDATA\tKWOTA\tTYT1\t\r\n";
        for (int line = 2; line <= 1000; ++line) {
            QByteArrayList values{"KAS", "1", "", "KP", "2019", QByteArray::number(line), "2019.03.01", "10,00", "opis"};
            if (line == 500)
                values[c.column - 1] = c.value;
            bytes += values.join('\t') + "\t\r\n";
        }
        const QString path = writeFile(QStringLiteral("import.txt"), bytes);
        NullProgress progress;
        try {
            ImportDocuments(helpers, path, progress);
            ADD_FAILURE() << "imported " << c.value;
        } catch (const ExchangeError &error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(c.message) + QStringLiteral("\rNic nie zostało zaimportowane."));
            EXPECT_EQ(error.line(), 500);
            EXPECT_EQ(error.column(), c.column);
        }
        EXPECT_EQ(rowsOf(documentTable()), before);
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_FALSE(QFile::exists(file(QStringLiteral("zimport.txt"))));
    }
}

TEST_F(ContractorExchangeTest, ALetterWindows1250CannotHoldStopsTheExportAndKeepsTheOldFile)
{
    addContractors({Contractor(1, QStringLiteral("Dobry")), Contractor(2, QStringLiteral("Smørrebrød"))});
    const QString path = writeFile(QStringLiteral("export.txt"), "stary plik");
    contractors->open();
    try {
        ExportFile(ContractorExchangeSource(*contractors), path, progress);
        ADD_FAILURE() << "exported";
    } catch (const ExchangeError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Wiersz 3 pliku, kolumna 3 (TKontrahSKROT): znaku \"ø\" nie da się "
                                                  "zapisać w kodzie Windows-1250.\rPlik nie został zapisany."));
    }
    EXPECT_EQ(readFile(path), QByteArray("stary plik"));
}

// Values holding tabs and line breaks go out on one line; a column left blank is left out.
TEST_F(ContractorExchangeTest, ExportCleansValuesAndLeavesOutBlankColumns)
{
    addContractors({{{QStringLiteral("NR"), 1}, {QStringLiteral("SKROT"), QStringLiteral("a\tb")},
                     {QStringLiteral("ff"), QStringLiteral("wiersz 1\r\nwiersz 2")}}});
    contractors->open();
    const ExchangeSource source = ContractorExchangeSource(*contractors);
    FieldMap map = FieldMap::forShowing(source, ExchangeMode::Export);
    for (FieldMapRow &row : map.rows)
        if (row.fieldName != QStringLiteral("NR") && row.fieldName != QStringLiteral("SKROT") && row.fieldName != QStringLiteral("ff"))
            row.fileColumn = QStringLiteral("  ");
    map.rows[0].fileColumn = QStringLiteral("Numer");
    ExportTable(source, map, file(QStringLiteral("e.txt")), progress);
    EXPECT_EQ(readFile(file(QStringLiteral("e.txt"))),
              QByteArray("Numer\tTKontrahSKROT\tTKontrahff\t\r\n1\ta:b\twiersz 1wiersz 2\t\r\n"));
}

TEST_F(ExchangeTest, DocumentsBreakingTheLedgerRulesAreNamed)
{
    tree.addRows(reportTable(), {{{QStringLiteral("SYMBOL"), QStringLiteral("KAS")}, {QStringLiteral("NUMER"), 1},
                                  {QStringLiteral("ZAMKNIETY"), false}},
                                 {{QStringLiteral("SYMBOL"), QStringLiteral("KAS")}, {QStringLiteral("NUMER"), 2},
                                  {QStringLiteral("ZAMKNIETY"), true}}});
    const QString path = writeFile(QStringLiteral("import.txt"),
                                   "SYMBOL\tNUMER\tAUTO\tRD\tROK\tNRD\tGLOWKA\tKWOTA\tKWOTAP\t\r\n"
                                   "KAS\t1\t\tKP\t2019\t1\tTak\t30,00\t10,00\t\r\n"  // header counts as a line
                                   "KAS\t1\t\tKP\t2019\t1\tNie\t\t20,00\t\r\n"
                                   "KAS\t1\t\tKW\t2019\t1\tTak\t30,00\t10,00\t\r\n"  // 10 + 5
                                   "KAS\t1\t\tKW\t2019\t1\tNie\t\t5,00\t\r\n"
                                   "KAS\t1\t\tWZ\t2019\t1\tNie\t\t5,00\t\r\n"        // no header
                                   "KAS\t2\t\tKP\t2019\t2\tTak\t1,00\t1,00\t\r\n"    // closed report
                                   "KAS\t3\t\tRZ\t2019\t1\tTak\t\t7,00\t\r\n"        // no report; lines 7
                                   "KAS\t3\t\tRZ\t2019\t1\tNie\t\t7,00\t\r\n");
    NullProgress progress;
    const DocumentImportResult result = ImportDocuments(helpers, path, progress);
    EXPECT_EQ(result.breaches.count, 4);
    EXPECT_EQ(result.breaches.listed, (QStringList{"KAS raport 1: KW 1/2019 - kwota 30,00 różni się od sumy pozycji 15,00",
                                            "KAS raport 1: WZ 1/2019 - brak nagłówka",
                                            "KAS raport 2: KP 2/2019 - raport zamknięty",
                                            "KAS raport 3: RZ 1/2019 - brak raportu"}));
    EXPECT_EQ(ImportSummary(result.import, result.breaches),
              QStringLiteral("Zaimportowano wierszy: 8 (nowych: 8, zmienionych: 0).\r\r"
                             "Dokumenty niezgodne z zasadami kasy (zaimportowane):\r") + result.breaches.listed.join(QLatin1Char('\r')));
}

// Of many documents the summary names the first fifteen breaking the rules in the order of their
// keys (numbers as text: 1, 10, 100, 11, ...) and counts them all, whether every document breaks
// them or only a few that come late in that order.
TEST_F(ExchangeTest, OfManyBreachesTheFirstByKeyAreNamedAndAllCounted)
{
    tree.addRows(reportTable(), {{{QStringLiteral("SYMBOL"), QStringLiteral("KAS")}, {QStringLiteral("NUMER"), 1},
                                  {QStringLiteral("ZAMKNIETY"), false}},
                                 {{QStringLiteral("SYMBOL"), QStringLiteral("KAS")}, {QStringLiteral("NUMER"), 2},
                                  {QStringLiteral("ZAMKNIETY"), false}}});
    struct Case {
        int report;
        QList<int> broken; // document numbers whose header amount differs from their line
    };
    QList<int> all;
    for (int number = 1; number <= 100; ++number)
        all.append(number);
    for (const Case &c : {Case{1, {97, 99, 98}}, Case{2, all}}) {
        QByteArray lines = "SYMBOL\tNUMER\tAUTO\tRD\tROK\tNRD\tGLOWKA\tKWOTA\tKWOTAP\t\r\n";
        for (int number = 1; number <= 100; ++number)
            lines += QStringLiteral("KAS\t%1\t\tKP\t2019\t%2\tTak\t%3\t1,00\t\r\n")
                         .arg(c.report)
                         .arg(number)
                         .arg(c.broken.contains(number) ? QStringLiteral("2,00") : QStringLiteral("1,00"))
                         .toLatin1();
        NullProgress progress;
        const DocumentImportResult result = ImportDocuments(helpers, writeFile(QStringLiteral("many.txt"), lines), progress);
        QStringList keys;
        for (int number : c.broken)
            keys.append(QString::number(number));
        keys.sort();
        QStringList expected;
        for (const QString &key : keys.first(std::min<qsizetype>(keys.size(), 15)))
            expected.append(QStringLiteral("KAS raport %1: KP %2/2019 - kwota 2,00 różni się od sumy pozycji 1,00")
                                .arg(c.report)
                                .arg(key));
        EXPECT_EQ(result.breaches.count, c.broken.size());
        EXPECT_EQ(result.breaches.listed, expected);
    }
}

} // namespace

// A file that ends in the middle of its last line: the cut line is refused with its number and
// nothing is imported; a last line that has all its columns is read though its line end is
// missing.
TEST_F(ContractorExchangeTest, AFileCutOffInItsLastLineIsRefused)
{
    const QByteArray cut[] = {
        "TKontrahNR\tTKontrahMIEJSC\tTKontrahNIP\t\r\n1\tRadom\t582-199-35-13\t\r\n2\tRad",
        "TKontrahNR\tTKontrahMIEJSC\t\r\n1\tRadom\t\r\n2",
        "TKontrahNR;TKontrahMIEJSC\r\n1;Radom\r\n2",
    };
    for (const QByteArray &bytes : cut) {
        const QString path = writeFile(QStringLiteral("import.txt"), bytes);
        EXPECT_TRUE(importError(path).message().startsWith(QStringLiteral("Wiersz 3: wiersz jest ucięty"))) << bytes.toStdString();
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("NR")), QStringList{}) << bytes.toStdString();
    }
    importFile(writeFile(QStringLiteral("import.txt"), "TKontrahNR;TKontrahMIEJSC\r\n1;Radom\r\n2;Rad"));
    EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("MIEJSC")), (QStringList{"Radom", "Rad"}));
}

// A file in UTF-16, or in UTF-8 with a byte UTF-8 cannot read, is refused whole, saying so; a
// file in Windows-1250 whose capitals happen to make a UTF-8 letter is still read as it is.
TEST_F(ContractorExchangeTest, AFileOfNoReadableEncodingIsRefused)
{
    struct Case {
        QByteArray bytes;
        const char *refusal; // the beginning of the message; null when the file imports
    };
    const QByteArray utf8Rows = QStringLiteral("TKontrahNR\tTKontrahMIEJSC\t\r\n1\tŁódź\t\r\n2\tŻywiec\t\r\n").toUtf8();
    const Case cases[] = {
        {QByteArray("\xFF\xFE") + QByteArray::fromRawData(reinterpret_cast<const char *>(u"TKontrahNR\t\r\n1\t\r\n"), 30),
         "Plik w kodowaniu UTF-16"},
        {utf8Rows + "3\tRadom\xB3\t\r\n", "Plik nie jest ani w kodowaniu UTF-8, ani Windows-1250: wiersz 4 "},
        {"TKontrahNR\tTKontrahMIEJSC\t\r\n1\tG\xD3\xA3KA \xB3\xB9" "ka\t\r\n", nullptr},
    };
    for (const Case &c : cases) {
        tree.createTable(contractorTable(), ContractorTableDefinition());
        const QString path = writeFile(QStringLiteral("import.txt"), c.bytes);
        if (c.refusal) {
            EXPECT_TRUE(importError(path).message().startsWith(QString::fromUtf8(c.refusal)))
                << importError(path).message().toStdString();
            EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("NR")), QStringList{});
        } else {
            importFile(path);
            EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("MIEJSC")), QStringList{QStringLiteral("GÓŁKA łąka")});
        }
    }
}

// A row whose key is empty, negative or holds an invisible character is refused with its line; nothing of
// the file is imported.
TEST_F(ContractorExchangeTest, ARowWithAnEmptyOrInvisibleKeyIsRefused)
{
    const QByteArray files[] = {
        "TKontrahNR\tTKontrahSKROT\t\r\n1\tA\t\r\n\tB\t\r\n",
        "TKontrahSKROT\tTKontrahNR\t\r\nA\t1\t\r\nB\r\n",
        QByteArray("TKontrahNR\tTKontrahSKROT\t\r\n1\tA\t\r\n\xEF\xBB\xBF" "2\tB\t\r\n"),
        "TKontrahNR\tTKontrahSKROT\t\r\n1\tA\t\r\n-2\tB\t\r\n",
    };
    for (const QByteArray &bytes : files) {
        const QString message = importError(writeFile(QStringLiteral("import.txt"), bytes)).message();
        EXPECT_TRUE(message.startsWith(QStringLiteral("Wiersz 3: "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("klucza"))) << message.toStdString();
        EXPECT_EQ(tree.column(contractorTable(), QStringLiteral("NR")), QStringList{});
    }
}

namespace {

// A file of new documents (no AUTO) imported twice changes the documents the first import made
// instead of adding them again; a file naming one document twice is refused.
TEST_F(ExchangeTest, NewDocumentsImportedAgainAreNotDuplicated)
{
    tree.addRows(reportTable(), {{{QStringLiteral("SYMBOL"), QStringLiteral("KAS")}, {QStringLiteral("NUMER"), 1},
                                  {QStringLiteral("ZAMKNIETY"), false}}});
    const QByteArray header = "SYMBOL\tNUMER\tAUTO\tRD\tROK\tNRD\tPOZ\tGLOWKA\tKWOTA\tKWOTAP\t\r\n";
    const QByteArray rows = "KAS\t1\t\tKP\t2019\t1\t0\tTak\t30,00\t\t\r\n"
                            "KAS\t1\t\tKP\t2019\t1\t1\tNie\t\t30,00\t\r\n";
    NullProgress progress;
    for (int time = 0; time < 3; ++time) {
        const DocumentImportResult result = ImportDocuments(helpers, writeFile(QStringLiteral("import.txt"), header + rows), progress);
        EXPECT_EQ(result.import.inserted, time == 0 ? 2 : 0);
        EXPECT_EQ(result.import.updated, time == 0 ? 0 : 2);
    }
    const QString twice = writeFile(QStringLiteral("import.txt"), header + rows + "KAS\t1\t\tKP\t2019\t1\t1\tNie\t\t5,00\t\r\n");
    try {
        ImportDocuments(helpers, twice, progress);
        ADD_FAILURE() << "a document named twice was imported";
    } catch (const ExchangeError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Wiersz 4: ten sam dokument"))) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QStringLiteral("jest już w wierszu 3 pliku."))) << error.message().toStdString();
    }
}

} // namespace
