#include "store/data_module.h"

#include "base/global_state.h"
#include "support/data_tree_builder.h"
#include "support/scripted_prompt.h"
#include "store/session.h"
#include "store/structure_listing.h"
#include "store/table_files.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString kYear = QStringLiteral("2019");

QString LongOpenError(const QString &name, const QString &pathWithoutExtension)
{
    return QString::fromUtf8("Błąd otwarcia bazy : ") + name + QStringLiteral("\rBaza : ") + pathWithoutExtension
           + QString::fromUtf8(".DB\rUżyj polecenia Narzędzia/Naprawa indeksów.\r"
                               "Jeżeli bład się powtórzy odtwórz dane z ARCHIWUM");
}

QString ShortOpenError(const QString &text)
{
    return QString::fromUtf8("Błąd otwarcia bazy : ") + text;
}

IndexDef IndexNamed(const TableDefinition &definition, const char *name)
{
    for (const IndexDef &index : definition.indexes)
        if (index.name == QLatin1String(name))
            return index;
    return {};
}

// The data module over a builder's tree, with today 2019.05.10.
class OpenSequenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.isValid());
        state.TodayText = QStringLiteral("2019.05.10");
        state.CurrentYear = kYear;
        state.CurrentMonth = QStringLiteral("05");
        session.setWorkingFolder(tree.workingFolder());
    }

    TDANE &run(const QStringList &arguments)
    {
        if (!dane)
            dane = std::make_unique<TDANE>(DataModuleContext{session, prompt, state, tree.environment(arguments)});
        dane->runOpenSequence();
        return *dane;
    }
    TDANE &runWithDataRoot() { return run({tree.dataRootArgument()}); }

    // A year table's path without extension, as the program composes it.
    QString year(const QString &relative) const { return tree.yearTable(kYear, relative); }

    QStringList openObjects() const
    {
        QStringList names;
        for (Table *table : dane->tableObjects())
            if (table->isOpen())
                names << table->objectName();
        return names;
    }

    DataTreeBuilder tree;
    ScriptedPrompt prompt;
    GlobalState state;
    Session session;
    std::unique_ptr<TDANE> dane;
};

const QStringList kEveryYearTable{"TFIRMA", "TPARA", "TKASA", "TRKASA", "TNAG", "TPOZ", "KNAG",
                                  "TSLO", "TKONTA", "TWALUTA", "TKontrah", "TUSER"};

TEST_F(OpenSequenceTest, OpensEveryTableOfTheYearAndFillsTheGlobalState)
{
    tree.withStandardTree(kYear);
    TDANE &d = runWithDataRoot();

    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(openObjects(), kEveryYearTable);
    EXPECT_FALSE(state.StartupStop);
    EXPECT_EQ(state.DataRoot, tree.dataRoot());
    EXPECT_EQ(state.CurrentYear, kYear);
    EXPECT_EQ(state.CompanyShortName, QStringLiteral("Firma Testowa"));
    EXPECT_EQ(state.OperatorName, QStringLiteral("Jan Kowalski"));
    EXPECT_EQ(state.AccessLevel, 255);
    EXPECT_EQ(state.BiezacyRD, QStringLiteral("KP"));
    EXPECT_EQ(state.OpenedTableList,
              QStringList({tree.dataRoot() + "FIRMA", year("FIN\\WALUTA"), year("KASA\\KASA"), year("KASA\\RKASA"),
                           year("KASA\\NAGKASA"), year("KSIEGA\\USER")}));
    EXPECT_EQ(d.TNAG.indexName(), QStringLiteral("Pinx"));
    EXPECT_EQ(d.TPOZ.indexName(), QStringLiteral("Rinx"));
    EXPECT_EQ(d.KNAG.indexName(), QStringLiteral("Ainx"));
    // The tables the sequence leaves closed are named for the year, for whoever opens them.
    EXPECT_EQ(QFileInfo(d.TKONTRAHo.filePath()).fileName(), QStringLiteral("KONTRAHO.DB"));
    EXPECT_TRUE(d.TKONTRAHo.exists());

    // Tables opened with a display name get their structure listing, the others none.
    for (const QString &listed : state.OpenedTableList)
        EXPECT_TRUE(QFileInfo::exists(listed + ".STR")) << listed.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tree.workingFolder() + "KASA.STR"));
    EXPECT_FALSE(QFileInfo::exists(year("FIN\\KONTRAHI.STR")));
    QFile listing(year("KASA\\NAGKASA.STR"));
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    EXPECT_EQ(listing.readAll(), StructureListingText(CashDocumentTableDefinition()));
}

TEST_F(OpenSequenceTest, DesksReportsDocumentsAndLinesFollowEachOther)
{
    tree.withStandardTree(kYear);
    tree.addRows(year("KASA\\KASA.DB"), {{{"SYMBOL", "A"}}, {{"SYMBOL", "B"}}});
    tree.addRows(year("KASA\\RKASA.DB"), {{{"SYMBOL", "A"}, {"NUMER", 1}, {"ZAMKNIETY", true}, {"BOWARTOSC", "1234,5"}},
                                          {{"SYMBOL", "A"}, {"NUMER", 2}},
                                          {{"SYMBOL", "B"}, {"NUMER", 1}}});
    auto header = [](int position, int number) {
        return RowValues{{"SYMBOL", "A"}, {"NUMER", 2}, {"RD", "KP"}, {"ROK", "2019"}, {"NRD", number},
                         {"POZ", position}, {"GLOWKA", true}};
    };
    RowValues line = header(0, 7);
    line.append({"GLOWKA", false});
    tree.addRows(year("KASA\\NAGKASA.DB"), {header(2, 7), header(1, 8), line});
    TDANE &d = runWithDataRoot();

    d.TKASA.first();
    EXPECT_EQ(d.TRKASA.recordCount(), 2);
    EXPECT_EQ(d.TRKASA.asString("TZAMKNIETY"), QString::fromUtf8("Zamknięty"));
    EXPECT_EQ(d.TRKASA.displayText("BOWARTOSC"), QStringLiteral("1 234,50"));
    d.TRKASA.next();
    EXPECT_EQ(d.TRKASA.asString("TZAMKNIETY"), QStringLiteral("Otwarty"));
    // Documents of report A/2 in the order of their place in the report.
    EXPECT_EQ(d.TNAG.recordCount(), 3);
    EXPECT_EQ(d.TNAG.asInteger("NRD"), 7);
    EXPECT_EQ(d.TNAG.asInteger("POZ"), 0);
    d.TNAG.last();
    EXPECT_EQ(d.TNAG.asInteger("POZ"), 2);
    EXPECT_EQ(d.TPOZ.recordCount(), 2); // the header row and the line row of document 7
    EXPECT_EQ(d.KNAG.recordCount(), 3);
}

TEST_F(OpenSequenceTest, DataRootComesFromTheArgumentWithUnderscoresOrFromTheCompanyRow)
{
    DataTreeBuilder spaced(QStringLiteral("moje dane"));
    ASSERT_TRUE(spaced.isValid());
    spaced.withStandardTree(kYear);
    {
        TDANE d(DataModuleContext{spaced.session(), prompt, state,
                                  spaced.environment({"rok", "2019", spaced.dataRootArgument()})});
        EXPECT_TRUE(spaced.dataRootArgument().contains(QStringLiteral("moje_dane")));
        d.runOpenSequence();
        EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
        EXPECT_EQ(state.DataRoot, spaced.dataRoot());
        EXPECT_TRUE(d.TNAG.isOpen());
        EXPECT_EQ(state.CommandArgIndex, 3);
    }

    // No argument: the company table of the working folder names the data root.
    state = GlobalState{};
    state.TodayText = QStringLiteral("2019.05.10");
    state.CurrentYear = kYear;
    tree.withParameterTable().withYear(kYear);
    tree.createTable(tree.workingFolder() + "FIRMA.DB", CompanyTableDefinition(),
                     {{{"NR", 1}, {"SKROT", "Z folderu"}, {"DR", QDir::toNativeSeparators(tree.dataRoot())}}});
    run({});
    EXPECT_EQ(state.DataRoot, tree.dataRoot());
    EXPECT_EQ(state.CompanyShortName, QStringLiteral("Z folderu"));
    EXPECT_TRUE(dane->TNAG.isOpen());
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

TEST_F(OpenSequenceTest, WithoutCompanyTableTheProgramFolderIsTheDataRootAndStartUpGoesOn)
{
    tree.withParameterTable();
    run({});

    ASSERT_FALSE(prompt.messages().isEmpty());
    EXPECT_EQ(prompt.messages().first().text, LongOpenError(QStringLiteral("Brak danych o firmie"), QStringLiteral("FIRMA")));
    EXPECT_EQ(prompt.messages().first().icon, PromptIcon::None);
    EXPECT_EQ(prompt.count(prompt.messages().first().text), 1);
    EXPECT_EQ(state.DataRoot, tree.programFolder());
    EXPECT_TRUE(dane->TPARA.isOpen());
    EXPECT_FALSE(state.StartupStop);
    EXPECT_EQ(state.CompanyShortName, QString());
    EXPECT_EQ(state.OperatorName, QString::fromUtf8("Brak użytkownika"));
}

TEST_F(OpenSequenceTest, WithoutParameterTableStartUpStops)
{
    tree.withCompanyTable().withYear(kYear);
    runWithDataRoot();

    const QString message = QString::fromUtf8("Nie można otworzyć tabeli parametrów programu\r") + tree.workingFolder()
                            + QString::fromUtf8("KASA.DB\rProgram zostanie zakończony.");
    EXPECT_EQ(prompt.shownOnce(message).icon, PromptIcon::Error);
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(state.StartupStop);
    EXPECT_EQ(openObjects(), QStringList{"TFIRMA"});
    EXPECT_EQ(state.OpenedTableList, QStringList{tree.dataRoot() + "FIRMA"});

    // Once stopped, a later run ends early as well.
    tree.withParameterTable();
    prompt.clear();
    runWithDataRoot();
    EXPECT_FALSE(dane->TKASA.isOpen());
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(OpenSequenceTest, WithNeitherCompanyNorParameterTableTheDriverErrorIsShown)
{
    runWithDataRoot();

    ASSERT_EQ(prompt.messages().size(), 2);
    EXPECT_EQ(prompt.messages()[0].text,
              LongOpenError(QStringLiteral("Brak danych o firmie"), tree.dataRoot() + QStringLiteral("FIRMA")));
    const ScriptedPrompt::Message driver = prompt.messages()[1];
    EXPECT_EQ(driver.icon, PromptIcon::Error);
    EXPECT_TRUE(driver.text.startsWith(QString::fromUtf8("Błąd sterownika BDE.\r"))) << driver.text.toStdString();
    EXPECT_TRUE(driver.text.contains(tree.workingFolder()));
    EXPECT_TRUE(state.StartupStop);
}

TEST_F(OpenSequenceTest, RefusedLoginStopsBeforeTheYearIsOpened)
{
    tree.withParameterTable(2).withCompanyTable().withYear(kYear);
    runWithDataRoot();

    EXPECT_EQ(prompt.shownOnce(QString::fromUtf8("Logowanie użytkowników nie jest jeszcze dostępne w tej wersji programu.\r"
                                                 "Sposób identyfikacji użytkowników ustawiony w parametrach programu "
                                                 "nie może zostać sprawdzony."))
                  .icon,
              PromptIcon::Error);
    EXPECT_TRUE(state.StartupStop);
    EXPECT_EQ(openObjects(), QStringList({"TFIRMA", "TPARA"}));
}

TEST_F(OpenSequenceTest, AnInjectedLoginDecides)
{
    tree.withParameterTable(2).withCompanyTable().withYear(kYear);
    int calls = 0;
    TDANE d(DataModuleContext{session, prompt, state, tree.environment({tree.dataRootArgument()}), [&](Table &parameters) {
                                  ++calls;
                                  EXPECT_EQ(parameters.asInteger("L4"), 2);
                                  state.AccessLevel = 100;
                                  state.LoginName = QStringLiteral("ADAM");
                                  return true;
                              }});
    d.runOpenSequence();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(state.AccessLevel, 100);
    EXPECT_FALSE(state.StartupStop);
    EXPECT_TRUE(d.TNAG.isOpen());
}

TEST_F(OpenSequenceTest, AParameterTableWithoutL5IsUpgradedWithLoginSwitchedOff)
{
    tree.withCompanyTable().withYear(kYear);
    TableDefinition older = ParameterTableDefinition();
    older.fields.erase(older.fields.begin() + 4, older.fields.end()); // P1 P2 B3 L4
    tree.createTable(tree.parameterTable(), older, {{{"P1", "[RD] [NRD]"}, {"P2", "10110"}, {"L4", 2}}});
    runWithDataRoot();

    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    EXPECT_FALSE(state.StartupStop);
    EXPECT_TRUE(dane->TPARA.hasField("L5"));
    EXPECT_EQ(dane->TPARA.asInteger("L4"), 0);
    EXPECT_EQ(dane->TPARA.asString("P2"), QStringLiteral("10110"));
    EXPECT_TRUE(dane->TNAG.isOpen());
}

TEST_F(OpenSequenceTest, ADamagedYearTableIsReportedAndTheRestOpens)
{
    tree.withStandardTree(kYear);
    tree.damageTable(year("FIN\\WALUTA.DB"));
    runWithDataRoot();

    EXPECT_EQ(prompt.texts(), QStringList{LongOpenError(QStringLiteral("Baza walut"), year("FIN\\WALUTA"))});
    QStringList expected = kEveryYearTable;
    expected.removeOne(QStringLiteral("TWALUTA"));
    EXPECT_EQ(openObjects(), expected);
    // Still recorded, so index repair works on it.
    EXPECT_TRUE(state.OpenedTableList.contains(year("FIN\\WALUTA")));
}

TEST_F(OpenSequenceTest, MissingPlainTablesGetTheShortMessageWithTheirPath)
{
    tree.withStandardTree(kYear);
    for (const char *table : {"FIN\\KONTRAHI.DB", "KASA\\OPISKASA.DB", "SLOWNIKI\\KONTAK.DB"})
        tree.removeTable(year(QString::fromLatin1(table)));
    runWithDataRoot();

    EXPECT_EQ(prompt.texts(),
              QStringList({ShortOpenError(QString::fromUtf8("Baza kontrahentów ") + year("FIN\\KONTRAHI.DB")),
                           ShortOpenError(QString::fromUtf8("Słownik opisu ") + year("KASA\\OPISKASA.DB")),
                           ShortOpenError(QStringLiteral("Baza Slownika KONT ") + year("SLOWNIKI\\KONTAK.DB"))}));
}

TEST_F(OpenSequenceTest, AReadOnlyDocumentTableIsMadeWritableWhenTheUserAgrees)
{
    tree.withStandardTree(kYear);
    runWithDataRoot(); // writes the listings
    const QString documents = year("KASA\\NAGKASA");
    for (const QString &file : {documents + ".DB", documents + ".STR"})
        ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    prompt.clear();
    prompt.answer(Yes);
    runWithDataRoot();

    const QString question = QString::fromUtf8("Uwaga baza: ") + documents
                             + QString::fromUtf8(".DB\rjest w trybie Tylko Do Odczytu\rCzy zmienić automatycznie atrybut Bazy?");
    const ScriptedPrompt::Message asked = prompt.shownOnce(question);
    EXPECT_EQ(asked.icon, PromptIcon::Warning);
    EXPECT_EQ(asked.buttons, Yes | No);
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_FALSE(IsReadOnlyFile(documents + ".DB"));
    EXPECT_FALSE(IsReadOnlyFile(documents + ".STR"));
    EXPECT_TRUE(dane->TNAG.isOpen());
    EXPECT_FALSE(dane->TNAG.isReadOnly());

    // Answering No leaves the attribute and the table open as it is.
    ASSERT_TRUE(QFile::setPermissions(documents + ".DB", QFileDevice::ReadOwner));
    prompt.clear();
    prompt.answer(No);
    runWithDataRoot();
    EXPECT_EQ(prompt.count(question), 1);
    EXPECT_TRUE(IsReadOnlyFile(documents + ".DB"));
    EXPECT_TRUE(dane->TNAG.isOpen());
    QFile::setPermissions(documents + ".DB", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(OpenSequenceTest, ASecondRunRecordsTheTablesAfreshAndKeepsTheChosenYear)
{
    tree.withStandardTree(QStringLiteral("2018")).withYear(kYear);
    tree.createTable(tree.companyTable(), CompanyTableDefinition(), {{{"NR", 1}, {"SKROT", "F"}, {"OBRDATA", "06.01"}}});
    runWithDataRoot();
    // Before 1 June the books belong to the previous year.
    EXPECT_EQ(state.CurrentYear, QStringLiteral("2018"));
    const QStringList first = state.OpenedTableList;
    ASSERT_EQ(first.size(), 6);

    state.CurrentYear = kYear; // as the year change leaves it
    runWithDataRoot();
    EXPECT_EQ(state.CurrentYear, kYear);
    EXPECT_EQ(state.OpenedTableList.size(), 6);
    EXPECT_EQ(state.OpenedTableList[0], first[0]);
    EXPECT_EQ(state.OpenedTableList[2], year("KASA\\KASA"));
    EXPECT_EQ(openObjects(), kEveryYearTable);
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
}

TEST_F(OpenSequenceTest, AThreeFieldDateIndexIsRebuiltOverFourFields)
{
    tree.withStandardTree(kYear);
    TableDefinition older = CashDocumentTableDefinition();
    for (IndexDef &index : older.indexes)
        if (index.name == QLatin1String("Dinx"))
            index.fields = QStringList{"SYMBOL", "NUMER", "DATA"};
    tree.createTable(year("KASA\\NAGKASA.DB"), older, {{{"SYMBOL", "A"}, {"NUMER", 1}, {"RD", "KP"}, {"NRD", 1}}});
    runWithDataRoot();

    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(IndexNamed(dane->TNAG.definition(), "Dinx"), IndexNamed(CashDocumentTableDefinition(), "Dinx"));
    EXPECT_EQ(dane->TNAG.definition().indexes.size(), CashDocumentTableDefinition().indexes.size());
    EXPECT_TRUE(dane->TNAG.isOpen());
    EXPECT_FALSE(dane->TNAG.isExclusive());
    EXPECT_EQ(dane->TNAG.indexName(), QStringLiteral("Pinx"));
    EXPECT_EQ(tree.column(year("KASA\\NAGKASA.DB"), "NRD"), QStringList{"1"});
}

TEST_F(OpenSequenceTest, IndexesOfTheDocumentsThatAreGoneAreMadeAgain)
{
    // What a kill between dropping and adding an index used to leave.
    tree.withStandardTree(kYear);
    TableDefinition damaged = CashDocumentTableDefinition();
    damaged.indexes.removeIf([](const IndexDef &index) { return index.name == "Dinx" || index.name == "Ninx"; });
    tree.createTable(year("KASA\\NAGKASA.DB"), damaged, {{{"SYMBOL", "A"}, {"NUMER", 1}, {"RD", "KP"}, {"NRD", 1}}});
    runWithDataRoot();

    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(IndexNamed(dane->TNAG.definition(), "Dinx"), IndexNamed(CashDocumentTableDefinition(), "Dinx"));
    EXPECT_EQ(IndexNamed(dane->TNAG.definition(), "Ninx"), IndexNamed(CashDocumentTableDefinition(), "Ninx"));
    EXPECT_EQ(dane->TNAG.indexName(), QStringLiteral("Pinx"));
    EXPECT_EQ(tree.column(year("KASA\\NAGKASA.DB"), "NRD"), QStringList{"1"});
}

TEST_F(OpenSequenceTest, TheDateIndexWaitsWhileAnotherProgramHasTheDocuments)
{
    tree.withStandardTree(kYear);
    TableDefinition older = CashDocumentTableDefinition();
    for (IndexDef &index : older.indexes)
        if (index.name == QLatin1String("Dinx"))
            index.fields = QStringList{"SYMBOL", "NUMER", "DATA"};
    tree.createTable(year("KASA\\NAGKASA.DB"), older);
    // Another program holds the table open.
    const int other = ::open(QFile::encodeName(year("KASA\\NAGKASA.DB")).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    runWithDataRoot();
    ::close(other);

    const ScriptedPrompt::Message error = prompt.shownOnce(
        QString::fromUtf8("Błąd aktualizacji indeksu.\rProszę zamknąć wszystkie programy i uruchomić\rprogram ")
        + tree.programFolder() + "kasa");
    EXPECT_EQ(error.icon, PromptIcon::Error);
    EXPECT_EQ(prompt.messages().size(), 1);
    EXPECT_TRUE(dane->TNAG.isOpen());
    EXPECT_TRUE(dane->TUSER.isOpen());
    EXPECT_EQ(dane->TNAG.definition(), older);
}

TEST_F(OpenSequenceTest, ATwoFieldDescriptionTableIsConvertedKeepingEveryRow)
{
    tree.withStandardTree(kYear);
    TableDefinition older;
    older.fields = {{"RD", FieldType::Text, 4, false}, {"NAZWA", FieldType::Text, 50, false}};
    older.indexes = {{QString(), {"RD", "NAZWA"}, true, true, false}};
    tree.createTable(year("KASA\\OPISKASA.DB"), older,
                     {{{"RD", "KP"}, {"NAZWA", "Wpłata utargu"}}, {{"RD", "KW"}, {"NAZWA", "Zakup paliwa"}},
                      {{"RD", "KW"}, {"NAZWA", "Delegacja"}}});
    runWithDataRoot();

    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    ASSERT_TRUE(dane->TSLO.isOpen());
    EXPECT_EQ(dane->TSLO.definition(), PaymentDescriptionTableDefinition());
    EXPECT_EQ(tree.column(year("KASA\\OPISKASA.DB"), "NAZWA"),
              QStringList({QString::fromUtf8("Wpłata utargu"), "Delegacja", "Zakup paliwa"}));
    EXPECT_EQ(tree.column(year("KASA\\OPISKASA.DB"), "CENA"), QStringList({"", "", ""}));
    EXPECT_FALSE(QFileInfo::exists(year("KASA\\OPISKAS.DB")));
}

// The oldest version: desks and reports keyed by automatic numbers.
class OldVersionOpenTest : public OpenSequenceTest {
protected:
    void SetUp() override
    {
        OpenSequenceTest::SetUp();
        tree.withStandardTree(kYear);
        tree.createTable(year("KASA\\KASA.DB"), OldCashDeskTableDefinition(),
                         {{{"AUTOKASA", 1}, {"NAZWA", "Kasa główna"}}, {{"AUTOKASA", 2}, {"NAZWA", "Kasa walutowa"}}});
        tree.createTable(year("KASA\\RKASA.DB"), OldCashReportTableDefinition(),
                         {{{"AUTOKASA", 1}, {"OZNACZENIE", "styczeń"}, {"BZWARTOSC", "150"}},
                          {{"AUTOKASA", 1}, {"OZNACZENIE", "luty"}},
                          {{"AUTOKASA", 2}, {"NUMER", 5}, {"OZNACZENIE", "maj"}}});
        tree.createTable(year("KASA\\NAGKASA.DB"), OldCashDocumentTableDefinition(),
                         {{{"AUTOKASA", 1}, {"AUTORK", 1}, {"RD", "KP"}, {"NRD", 1}, {"KWOTA", "100"}, {"TYT1", "Utarg"}},
                          {{"AUTOKASA", 1}, {"AUTORK", 2}, {"RD", "KW"}, {"NRD", 1}, {"KWOTA", "40"}},
                          {{"AUTOKASA", 2}, {"AUTORK", 3}, {"RD", "KP"}, {"NRD", 2}, {"KWOTA", "7,5"}}});
    }

    const QString question = QString::fromUtf8("Uwaga !! Stara wersja baz danych\rCzy zacząć konwersję baz danych ?");
};

TEST_F(OldVersionOpenTest, AnsweringNoLeavesTheReportsClosedAndTheRestOpens)
{
    prompt.answers({Ok, Ok, No}); // the desks and the reports do not open in the old structure
    runWithDataRoot();

    const QStringList texts = prompt.texts();
    const qsizetype reportsError = texts.indexOf(LongOpenError(QStringLiteral("Baza Raport Kasowy"), year("KASA\\RKASA")));
    const qsizetype asked = texts.indexOf(question);
    ASSERT_GE(reportsError, 0);
    ASSERT_GE(asked, 0);
    EXPECT_LT(reportsError, asked);
    EXPECT_EQ(prompt.shownOnce(question).icon, PromptIcon::Warning);
    EXPECT_FALSE(dane->TRKASA.isOpen());
    EXPECT_FALSE(dane->TRKASAS.isOpen());
    EXPECT_FALSE(state.StartupStop);
    EXPECT_FALSE(dane->restartRequired());
    for (const char *name : {"TUSER", "TSLO", "TKONTA", "TWALUTA", "TKontrah"})
        EXPECT_TRUE(dane->tableObject(QString::fromLatin1(name))->isOpen()) << name;
    EXPECT_EQ(state.OperatorName, QStringLiteral("Jan Kowalski"));
}

TEST_F(OldVersionOpenTest, AnsweringYesConvertsAndEndsTheProgram)
{
    prompt.answers({Ok, Ok, Yes});
    runWithDataRoot();

    EXPECT_EQ(prompt.shownOnce(QString::fromUtf8("Konwersja zakończona. Proszę uruchomić program jeszcze raz.")).icon,
              PromptIcon::Information);
    EXPECT_TRUE(state.StartupStop);
    EXPECT_TRUE(dane->restartRequired());
    EXPECT_FALSE(dane->TNAG.isOpen());

    // Started again: the current structure opens without a question.
    dane.reset();
    state.StartupStop = false;
    prompt.clear();
    TDANE &d = runWithDataRoot();
    EXPECT_TRUE(prompt.messages().isEmpty()) << prompt.texts().join(u'|').toStdString();
    EXPECT_EQ(tree.column(year("KASA\\KASA.DB"), "SYMBOL"), QStringList({"1", "2"}));
    EXPECT_EQ(tree.column(year("KASA\\RKASA.DB"), "NUMER"), QStringList({"1", "2", "5"}));
    d.TKASA.first();
    d.TRKASA.first();
    EXPECT_EQ(d.TRKASA.asString("OZNACZENIE"), QString::fromUtf8("styczeń"));
    EXPECT_EQ(d.TRKASA.asMoney("BZWARTOSC"), Money::fromUnits(150 * Money::kUnitsPerWhole));
    d.TNAG.first();
    EXPECT_EQ(d.TNAG.recordCount(), 1);
    EXPECT_EQ(d.TNAG.asString("TYT1"), QStringLiteral("Utarg"));
    d.TKASA.last();
    EXPECT_EQ(d.TRKASA.asInteger("NUMER"), 5);
    EXPECT_EQ(d.TNAG.asString("KWOTA"), QStringLiteral("7,5"));
}

} // namespace
