#include "base/clock.h"
#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "print/amount_range_listing.h"
#include "print/cash_state_listing.h"
#include "print/document_text_layout.h"
#include "print/listing_context.h"
#include "print/text_print_module.h"
#include "store/data_tree_initializer.h"
#include "store/session.h"
#include "store/data_module.h"
#include "support/print_doubles.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The listings on the demo firm's year, as a first run of the program finds it: the data module
// over a fresh installation, the ledger's rules, the print module.
class DemoTreeListings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + QStringLiteral("/");
        InitialiseDataTree({folder, QStringLiteral("2019"), true}, clock);
        state.TodayText = QStringLiteral("2019.12.15");
        state.CurrentYear = QStringLiteral("2019");
        state.CurrentMonth = QStringLiteral("12");
        session.setWorkingFolder(folder);
        dane = std::make_unique<TDANE>(DataModuleContext{
            session, prompt, state,
            ProcessEnvironment{{QStringLiteral("dr=") + folder}, folder, folder, folder + QStringLiteral("kasa"),
                               QStringLiteral("operator")}});
        dane->runOpenSequence();
        ASSERT_FALSE(state.StartupStop) << prompt.texts().join(u'|').toStdString();
        ledger = std::make_unique<CashLedger>(LedgerTables{dane->TPARA, dane->TKASA, dane->TRKASA, dane->TNAG,
                                                           dane->TPOZ, dane->KNAG, dane->TSLO, dane->TKONTA,
                                                           dane->TWALUTA},
                                              prompt, state, clock);
        druk = std::make_unique<TDRUK>(PrintModulePorts{prompt, progress, saveDialog, printer,
                                                        PrintSettingsStore(folder + QStringLiteral("druk.ini"))});
        druk->setPreviewHandler([] {});
        context = std::make_unique<ListingContext>(ListingContextOf(*ledger, *druk));
    }
    void TearDown() override
    {
        context.reset();
        druk.reset();
        ledger.reset();
        dane.reset();
    }

    QStringList previewLines() const
    {
        QStringList lines = druk->previewText().split(u'\n');
        lines.removeLast();
        return lines;
    }

    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/kasa-demo-XXXXXX")}; // no space: passed as dr=
    QString folder;
    FixedClock clock{QDate(2019, 12, 15), QTime(9, 30)};
    Session session;
    ScriptedPrompt prompt;
    GlobalState state;
    RecordingProgress progress;
    ScriptedSaveFileDialog saveDialog;
    RecordingSystemPrinter printer;
    std::unique_ptr<TDANE> dane;
    std::unique_ptr<CashLedger> ledger;
    std::unique_ptr<TDRUK> druk;
    std::unique_ptr<ListingContext> context;
};

TEST_F(DemoTreeListings, CashStateOfBothDesks)
{
    StanKasy(*context);
    const QStringList lines = previewLines();
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines.first(), QStringLiteral("Raport stanu kas.    data : 2019.12.15    godzina : 09:30"));
    for (int i = 2; i <= 10; ++i)
        EXPECT_EQ(lines[i].size(), 89) << lines[i].toStdString();
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("| KAS1   | Kasa główna"))) << lines[5].toStdString();
    EXPECT_TRUE(lines[5].endsWith(QStringLiteral(" PLN |")));
    EXPECT_TRUE(lines[6].endsWith(QStringLiteral(" EUR |")));
    EXPECT_EQ(lines[8].mid(62), lines[5].mid(62)); // one desk per currency: its total is its state
    EXPECT_EQ(lines[9].mid(62), lines[6].mid(62));
}

// Straight into a text file: every row of the year from 1 000,00 on, in the table's order.
TEST_F(DemoTreeListings, LargeAmountsOfTheYearIntoATextFile)
{
    const QString file = folder + QStringLiteral("kwoty.txt");
    saveDialog.answer(file);
    druk->Bufor = true;
    druk->TypWydruku = drBW;
    druk->Pl = drLATIN852;
    DokumentyZKwota(*context, AmountRangeTexts{QStringLiteral("1000"), QStringLiteral("0")});

    QFile printed(file);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = printed.readAll().split('\n');
    lines.removeLast();
    Table raw(session);
    raw.setTableName(dane->TNAG.tableName());
    raw.open();
    int expected = 0;
    for (raw.first(); !raw.eof(); raw.next())
        expected += raw.asMoney("KWOTA") >= Money::fromCents(100000) ? 1 : 0;
    ASSERT_GT(expected, 0);
    ASSERT_EQ(lines.size(), expected + 5);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), (i == lines.size() - 2 ? 171 : 170) + 1) << i; // with the "\r"
    // The footer without its density token, in Windows-1250 ("\xf3" is "ó").
    EXPECT_EQ(lines.last(), QByteArray("Program KASA - Koniec wydruku: Raport dokument\xf3w z kwotami od 1000 do 0\r"));
}

TEST_F(DemoTreeListings, TextLayoutOfAReceipt)
{
    Table &documents = dane->TNAG;
    for (documents.first(); !documents.eof() && documents.asString("RD") != QStringLiteral("KP"); documents.next()) {
    }
    ASSERT_FALSE(documents.eof());
    const QStringList lines = DocumentTextLines(
        ReadDocumentText({documents, dane->TPOZ, dane->TKASA, dane->TWALUTA, dane->TFIRMA, dane->TPARA}));
    ASSERT_EQ(lines.size(), 27);
    for (const QString &line : lines)
        EXPECT_EQ(line.size(), 78) << line.toStdString();
    EXPECT_EQ(lines[2].mid(46, 30).trimmed(), documents.asString("DOWOD"));
}

} // namespace
