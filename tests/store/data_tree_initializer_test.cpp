#include "store/data_tree_initializer.h"

#include "base/clock.h"
#include "store/session.h"
#include "store/structure_listing.h"
#include "store/table.h"
#include "store/table_schemas.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Expected {
    const char *path;
    TableDefinition (*definition)();
};

// Every table of a fresh installation, with the year folder written as "YYYY".
const Expected kTables[] = {
    {"KASA.DB", &ParameterTableDefinition},
    {"BAZA/USER.DB", &UsersTableDefinition},
    {"FIRMA.DB", &CompanyTableDefinition},
    {"YYYY/KASA/KASA.DB", &CashDeskTableDefinition},
    {"YYYY/KASA/RKASA.DB", &CashReportTableDefinition},
    {"YYYY/KASA/NAGKASA.DB", &CashDocumentTableDefinition},
    {"YYYY/KASA/OPISKASA.DB", &PaymentDescriptionTableDefinition},
    {"YYYY/FIN/KONTRAHI.DB", &ContractorTableDefinition},
    {"YYYY/FIN/KONTRAHO.DB", &ContractorDetailsTableDefinition},
    {"YYYY/FIN/WALUTA.DB", &CurrencyTableDefinition},
    {"YYYY/KSIEGA/USER.DB", &OperatorListTableDefinition},
    {"YYYY/SLOWNIKI/KONTAK.DB", &AccountTableDefinition},
};

QStringList FilesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

QStringList Column(Table &t, const char *field)
{
    QStringList values;
    for (t.first(); !t.eof(); t.next())
        values << t.asString(QString::fromLatin1(field));
    return values;
}

class DataTreeInitializerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    int init(QStringList extra = {}, const QString &folder = QString())
    {
        out_.clear();
        errors_.clear();
        QTextStream out(&out_);
        QTextStream err(&errors_);
        return RunDataTreeInitializer(QStringList{"--init", folder.isEmpty() ? root() : folder} + extra, out, err, clock_);
    }

    QString root() const { return dir_.path() + QLatin1Char('/'); }

    std::unique_ptr<Table> open(const QString &relative)
    {
        auto t = std::make_unique<Table>(session_);
        t->setTableName(root() + relative);
        t->open();
        return t;
    }

    QTemporaryDir dir_;
    Session session_;
    FixedClock clock_{QDate(2026, 3, 15)};
    QString out_;
    QString errors_;
};

TEST_F(DataTreeInitializerTest, EmptyInstallationHoldsEveryTableBesideItsListing)
{
    ASSERT_EQ(init(), 0) << errors_.toStdString();

    for (const Expected &expected : kTables) {
        const QString relative = QString::fromLatin1(expected.path).replace("YYYY", "2026");
        SCOPED_TRACE(relative.toStdString());
        auto t = open(relative);
        EXPECT_EQ(t->definition(), expected.definition());
        QFile listing(root() + relative.chopped(3) + ".STR");
        ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
        EXPECT_EQ(listing.readAll(), StructureListingText(expected.definition()));
        if (relative.startsWith("2026"))
            EXPECT_TRUE(t->isEmpty());
    }

    auto parameters = open("KASA.DB");
    EXPECT_EQ(parameters->recordCount(), 1);
    EXPECT_EQ(parameters->asString("P1"), "[RD] [NRD]");
    EXPECT_EQ(parameters->asString("P2"), "00000");
    EXPECT_FALSE(parameters->isNull("B3"));
    EXPECT_FALSE(parameters->asBoolean("B3"));
    for (const char *zero : {"L4", "L5", "ACYKL"}) {
        EXPECT_FALSE(parameters->isNull(zero)) << zero;
        EXPECT_EQ(parameters->asInteger(zero), 0) << zero;
    }
    EXPECT_EQ(parameters->asString("ADATA"), "2026.03.00");

    auto users = open("BAZA/USER.DB");
    EXPECT_EQ(users->recordCount(), 1);
    EXPECT_EQ(users->asString("LOGIN"), "ADMIN");
    EXPECT_TRUE(users->isNull("HASLO"));
    EXPECT_EQ(users->asString("NAZWISKO"), "Administrator");
    EXPECT_EQ(users->asInteger("P0"), 255);
    EXPECT_EQ(users->asInteger("P9"), 255);

    auto company = open("FIRMA.DB");
    EXPECT_EQ(company->recordCount(), 1);
    EXPECT_EQ(company->asInteger("NR"), 1);
    EXPECT_EQ(company->asString("DR"), root());
    EXPECT_TRUE(company->isNull("SKROT"));
}

TEST_F(DataTreeInitializerTest, YearOptionChoosesTheYearFolder)
{
    ASSERT_EQ(init({"--year", "2019"}), 0) << errors_.toStdString();

    EXPECT_TRUE(QFile::exists(root() + "2019/KASA/NAGKASA.DB"));
    EXPECT_TRUE(QFile::exists(root() + "2019/KASA/NAGKASA.STR"));
    EXPECT_FALSE(QDir(root() + "2026").exists());
}

TEST_F(DataTreeInitializerTest, RefusesAFolderThatAlreadyHoldsATableAndWritesNothing)
{
    for (const char *existing : {"KASA.DB", "firma.db", "2026/KASA/NAGKASA.DB", "BAZA/USER.DB"}) {
        SCOPED_TRACE(existing);
        QTemporaryDir folder;
        const QString file = folder.filePath(QString::fromLatin1(existing));
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("dane innego programu");
        f.close();

        EXPECT_EQ(init({"--demo"}, folder.path()), 1);

        EXPECT_TRUE(errors_.contains(QFileInfo(file).fileName(), Qt::CaseInsensitive)) << errors_.toStdString();
        EXPECT_EQ(FilesUnder(folder.path()), QStringList{file});
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "dane innego programu");
    }
}

TEST_F(DataTreeInitializerTest, WrongArgumentsAreRefusedWithTheUsage)
{
    const QList<QStringList> cases{{"--init"}, {"--init", "--demo"}, {"--init", "x", "--year"},
                                   {"--init", "x", "--year", "26"}, {"--init", "x", "--pokaz"}};
    for (const QStringList &arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        QString err;
        QString out;
        QTextStream errStream(&err);
        QTextStream outStream(&out);

        EXPECT_EQ(RunDataTreeInitializer(arguments, outStream, errStream, clock_), 2);

        EXPECT_TRUE(err.contains("kasa --init FOLDER [--demo] [--year RRRR]")) << err.toStdString();
    }
    EXPECT_TRUE(FilesUnder(dir_.path()).isEmpty());
}

// The company table's DR holds 50 characters; a longer root could not be read back.
TEST_F(DataTreeInitializerTest, RefusesARootTheCompanyTableCannotHold)
{
    const QString deep = root() + QString(60, QLatin1Char('d'));

    EXPECT_EQ(init({}, deep), 1);

    EXPECT_TRUE(errors_.contains("DR")) << errors_.toStdString();
    EXPECT_TRUE(FilesUnder(dir_.path()).isEmpty());
}

// --- The demo firm -----------------------------------------------------------------------

struct DocumentRow {
    QString symbol, kind, year, date, sign, text, account;
    int report = 0, number = 0, place = 0;
    bool header = false;
    Money amount, lineAmount, advance;
    bool lineAmountEmpty = true;
};

struct ReportRow {
    QString symbol, from, to, closedBy;
    int number = 0;
    Money opening, closing;
    bool closingEmpty = true, closed = false;
};

Money Signed(const DocumentRow &header)
{
    const bool receipt = header.kind == "KP" || header.kind == "KPD" || (header.kind == "RZ" && header.sign == "+");
    return receipt ? header.amount : -header.amount;
}

class DemoTreeTest : public DataTreeInitializerTest {
protected:
    QList<DocumentRow> documents(const QString &year)
    {
        QList<DocumentRow> rows;
        auto t = open(year + "/KASA/NAGKASA.DB");
        for (t->first(); !t->eof(); t->next())
            rows.append({t->asString("SYMBOL"), t->asString("RD"), t->asString("ROK"), t->asString("DATA"),
                         t->asString("OKOD"), t->asString("TYT1"), t->asString("KONTO"), t->asInteger("NUMER"),
                         t->asInteger("NRD"), t->asInteger("POZ"), t->asBoolean("GLOWKA"), t->asMoney("KWOTA"),
                         t->asMoney("KWOTAP"), t->asMoney("L1"), t->isNull("KWOTAP")});
        return rows;
    }

    QList<ReportRow> reports(const QString &year)
    {
        QList<ReportRow> rows;
        auto t = open(year + "/KASA/RKASA.DB");
        for (t->first(); !t->eof(); t->next())
            rows.append({t->asString("SYMBOL"), t->asString("DATAOD"), t->asString("DATADO"), t->asString("OSOBA"),
                         t->asInteger("NUMER"), t->asMoney("BOWARTOSC"), t->asMoney("BZWARTOSC"),
                         t->isNull("BZWARTOSC"), t->asBoolean("ZAMKNIETY")});
        return rows;
    }

    void checkLedger(const QString &year, int months, const QString &lastDay);
};

// Header totals, numbering, places and dates, balances carried from report to report, and
// cash that never goes below zero.
void DemoTreeTest::checkLedger(const QString &year, int months, const QString &lastDay)
{
    const QList<DocumentRow> rows = documents(year);
    const QList<ReportRow> reportRows = reports(year);
    using DocumentKey = std::tuple<QString, int, QString, int>;
    QMap<DocumentKey, QList<DocumentRow>> lines;
    for (const DocumentRow &row : rows)
        if (!row.header)
            lines[{row.symbol, row.report, row.kind, row.number}] << row;

    QMap<std::pair<QString, QString>, QList<int>> numbers;
    QMap<std::pair<QString, int>, QList<DocumentRow>> headersOfReport;
    QSet<QString> kinds;
    for (const DocumentRow &h : rows) {
        if (!h.header)
            continue;
        SCOPED_TRACE((h.symbol + " " + h.kind + " " + QString::number(h.number)).toStdString());
        kinds << h.kind;
        numbers[{h.symbol, h.kind}] << h.number;
        headersOfReport[{h.symbol, h.report}] << h;
        EXPECT_EQ(h.year, year);
        const QList<DocumentRow> own = lines.value({h.symbol, h.report, h.kind, h.number});
        Money sum;
        for (const DocumentRow &line : own) {
            sum += line.lineAmount;
            EXPECT_FALSE(line.text.isEmpty());
            EXPECT_FALSE(line.account.isEmpty());
            EXPECT_EQ(line.year, h.year);
        }
        EXPECT_FALSE(h.text.isEmpty());
        if (h.kind == "WZ" || h.kind == "RZ")
            EXPECT_EQ(h.text, own.value(0).text);
        if (h.kind == "WZ") {
            EXPECT_EQ(h.amount, sum);
            EXPECT_TRUE(own.size() >= 1 && own.size() <= 3);
        } else if (h.kind == "RZ") {
            EXPECT_EQ(h.lineAmount, sum);
            const Money difference = h.advance - h.lineAmount;
            EXPECT_EQ(h.sign, difference.isNegative() ? "-" : "+");
            EXPECT_EQ(h.amount, difference.isNegative() ? -difference : difference);
            EXPECT_TRUE(own.size() >= 1 && own.size() <= 3);
        } else {
            EXPECT_FALSE(h.lineAmountEmpty);
            EXPECT_EQ(h.amount, h.lineAmount + sum);
            EXPECT_LE(own.size(), 2);
        }
        EXPECT_GT(h.amount + (h.kind == "RZ" ? h.advance : Money()), Money());
    }
    EXPECT_EQ(kinds, (QSet<QString>{"KP", "KW", "KPD", "KWD", "WZ", "RZ"}));
    for (auto it = numbers.begin(); it != numbers.end(); ++it) {
        QList<int> sorted = it.value();
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i], i + 1) << it.key().first.toStdString() << ' ' << it.key().second.toStdString();
    }

    QMap<QString, QList<ReportRow>> byDesk;
    for (const ReportRow &report : reportRows)
        byDesk[report.symbol] << report;
    EXPECT_EQ(byDesk.keys(), (QStringList{"KAS1", "WAL"}));
    for (const QList<ReportRow> &desk : std::as_const(byDesk)) {
        ASSERT_EQ(desk.size(), months);
        for (int k = 0; k < desk.size(); ++k) {
            const ReportRow &r = desk[k];
            SCOPED_TRACE((r.symbol + " " + QString::number(r.number)).toStdString());
            EXPECT_EQ(r.number, k + 1);
            if (k > 0)
                EXPECT_EQ(r.opening, desk[k - 1].closing);
            QList<DocumentRow> headers = headersOfReport.value({r.symbol, r.number});
            std::sort(headers.begin(), headers.end(), [](auto &a, auto &b) { return a.place < b.place; });
            Money cash = r.opening;
            for (int i = 0; i < headers.size(); ++i) {
                EXPECT_EQ(headers[i].place, i + 1);
                EXPECT_GE(headers[i].date, r.from);
                EXPECT_LE(headers[i].date, r.closed ? r.to : lastDay);
                if (i > 0)
                    EXPECT_LE(headers[i - 1].date, headers[i].date);
                cash += Signed(headers[i]);
                EXPECT_GE(cash, Money()) << "after place " << headers[i].place;
            }
            const bool last = k == desk.size() - 1;
            EXPECT_EQ(r.closed, !last);
            if (r.closed) {
                EXPECT_EQ(r.closing, cash);
                EXPECT_FALSE(r.closedBy.isEmpty());
                EXPECT_FALSE(r.to.isEmpty());
            } else {
                EXPECT_TRUE(r.closingEmpty);
                EXPECT_TRUE(r.closedBy.isEmpty());
                EXPECT_TRUE(r.to.isEmpty());
            }
        }
    }
}

TEST_F(DemoTreeTest, CurrentYearHasClosedMonthsAndAnOpenLastReport)
{
    ASSERT_EQ(init({"--demo"}), 0) << errors_.toStdString();

    checkLedger("2026", 3, "2026.03.15");
}

TEST_F(DemoTreeTest, PastYearRunsThroughDecemberWithAFewHundredDocuments)
{
    ASSERT_EQ(init({"--demo", "--year", "2025"}), 0) << errors_.toStdString();

    checkLedger("2025", 12, "2025.12.31");
    const QList<DocumentRow> rows = documents("2025");
    EXPECT_GT(std::count_if(rows.begin(), rows.end(), [](const DocumentRow &r) { return r.header; }), 200);
}

TEST_F(DemoTreeTest, FirmDesksAndDictionaries)
{
    ASSERT_EQ(init({"--demo"}), 0) << errors_.toStdString();

    auto company = open("FIRMA.DB");
    EXPECT_EQ(company->asString("DR"), root());
    EXPECT_EQ(company->asString("OBRDATA"), "01.01");
    EXPECT_FALSE(company->asString("SKROT").isEmpty());
    EXPECT_FALSE(company->asString("NIP").isEmpty());

    auto desks = open("2026/KASA/KASA.DB");
    EXPECT_EQ(Column(*desks, "SYMBOL"), (QStringList{"KAS1", "WAL"}));
    EXPECT_EQ(Column(*desks, "A2"), (QStringList{"PLN", "EUR"}));
    EXPECT_EQ(Column(*desks, "KONTO"), (QStringList{"100", "101"}));

    auto currencies = open("2026/FIN/WALUTA.DB");
    EXPECT_EQ(Column(*currencies, "KOD"), (QStringList{"1", "2"}));
    EXPECT_EQ(Column(*currencies, "WALUTA"), (QStringList{"PLN", "EUR"}));
    currencies->first();
    EXPECT_EQ(QStringList({currencies->asString("Z1"), currencies->asString("Z2"), currencies->asString("Z3"),
                           currencies->asString("G1"), currencies->asString("G2"), currencies->asString("G3")}),
              QString::fromUtf8("złoty złote złotych grosz grosze groszy").split(' '));
    currencies->last();
    EXPECT_EQ(QStringList({currencies->asString("Z3"), currencies->asString("G1"), currencies->asString("G2"),
                           currencies->asString("G3")}),
              QString::fromUtf8("euro cent centy centów").split(' '));

    auto contractors = open("2026/FIN/KONTRAHI.DB");
    QStringList oneToFifty;
    for (int i = 1; i <= 50; ++i)
        oneToFifty << QString::number(i);
    EXPECT_EQ(Column(*contractors, "NR"), oneToFifty);

    auto operators = open("2026/KSIEGA/USER.DB");
    EXPECT_GE(operators->recordCount(), 2);
    operators->first();
    EXPECT_FALSE(operators->asString("NAZWISKO").isEmpty());

    auto descriptions = open("2026/KASA/OPISKASA.DB");
    bool someDefaultAmount = false;
    for (descriptions->first(); !descriptions->eof(); descriptions->next())
        someDefaultAmount = someDefaultAmount || !descriptions->isNull("CENA");
    EXPECT_TRUE(someDefaultAmount);
    EXPECT_GT(open("2026/SLOWNIKI/KONTAK.DB")->recordCount(), 5);
}

} // namespace
