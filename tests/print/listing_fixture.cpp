#include "listing_fixture.h"

void FailingProgress::Postep()
{
    recorded_.Postep();
    if (recorded_.steps == failAtStep)
        throw EngineError(EngineErrorKind::Damaged, QStringLiteral("Uszkodzona tabela"));
}

void ListingTest::SetUp()
{
    ASSERT_TRUE(tree.isValid());
    tree.withStandardTree(QStringLiteral("2019"));
    state.TodayText = QStringLiteral("2019.03.15");
    state.CurrentYear = QStringLiteral("2019");
    state.CurrentMonth = QStringLiteral("03");
    session.setWorkingFolder(tree.workingFolder());
}

void ListingTest::TearDown()
{
    listing.reset();
    druk.reset();
    ledger.reset();
    dane.reset();
}

void ListingTest::addDesk(const QString &symbol, const QString &name, const QString &currency)
{
    tree.addRows(year(QStringLiteral("KASA\\KASA.DB")), {{{"SYMBOL", symbol}, {"NAZWA", name}, {"A2", currency}}});
}

void ListingTest::addReport(const QString &desk, int number, const char *opening, bool closed)
{
    tree.addRows(year(QStringLiteral("KASA\\RKASA.DB")),
                 {{{"SYMBOL", desk}, {"NUMER", number}, {"BOWARTOSC", QString::fromLatin1(opening)}, {"ZAMKNIETY", closed}}});
}

RowValues ListingTest::Header(const QString &desk, int report, int place, const QString &kind, int number,
                              const char *amount, const QString &date)
{
    return {{"SYMBOL", desk}, {"NUMER", report}, {"RD", kind},       {"ROK", "2019"},
            {"NRD", number},  {"POZ", place},    {"GLOWKA", true},   {"DATA", date},
            {"KWOTA", QString::fromLatin1(amount)}, {"KWOTAP", QString::fromLatin1(amount)}};
}

RowValues ListingTest::Line(const QString &desk, int report, const QString &kind, int number, const char *amount,
                            const QString &description)
{
    return {{"SYMBOL", desk}, {"NUMER", report}, {"RD", kind},    {"ROK", "2019"},
            {"NRD", number},  {"GLOWKA", false}, {"TYT1", description}, {"KWOTAP", QString::fromLatin1(amount)}};
}

void ListingTest::addDocuments(const QList<RowValues> &rows)
{
    tree.addRows(year(QStringLiteral("KASA\\NAGKASA.DB")), rows);
}

void ListingTest::open()
{
    dane = std::make_unique<TDANE>(
        DataModuleContext{session, prompt, state, tree.environment({tree.dataRootArgument()})});
    dane->runOpenSequence();
    ASSERT_FALSE(state.StartupStop) << prompt.texts().join(u'|').toStdString();
    ledger = std::make_unique<CashLedger>(LedgerTables{dane->TPARA, dane->TKASA, dane->TRKASA, dane->TNAG, dane->TPOZ,
                                                       dane->KNAG, dane->TSLO, dane->TKONTA, dane->TWALUTA},
                                          prompt, state, clock);
    druk = std::make_unique<TDRUK>(PrintModulePorts{prompt, failingProgress, saveDialog, printer,
                                                    PrintSettingsStore(tree.root() + QStringLiteral("druk.ini"))});
    druk->setPreviewHandler([this] { ++previews; });
    listing = std::make_unique<ListingContext>(ListingContextOf(*ledger, *druk));
    prompt.clear();
}

void ListingTest::selectDesk(const QString &symbol)
{
    ASSERT_TRUE(dane->TKASA.findKey({symbol}));
}

void ListingTest::selectReport(int number)
{
    Table &reports = dane->TRKASA;
    for (reports.first(); !reports.eof(); reports.next())
        if (reports.asInteger(QStringLiteral("NUMER")) == number)
            return;
    FAIL() << "no report " << number;
}

void ListingTest::selectDocument(int place)
{
    Table &documents = dane->TNAG;
    for (documents.first(); !documents.eof(); documents.next())
        if (documents.asInteger(QStringLiteral("POZ")) == place)
            return;
    FAIL() << "no document at " << place;
}

QStringList ListingTest::previewLines() const
{
    QStringList lines = druk->previewText().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
