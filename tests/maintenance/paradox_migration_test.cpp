#include "base/money.h"
#include "base/progress.h"
#include "maintenance/paradox_field_conversion.h"
#include "maintenance/paradox_migration.h"
#include "maintenance/paradox_migration_report.h"
#include "maintenance/ui/paradox_migration_window.h"
#include "store/session.h"
#include "store/table.h"
#include "support/paradox_writer.h"
#include "support/scripted_prompt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
// pxlib's header declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

namespace {

// Every file below the folder with a hash of its content: what "unchanged" means.
QMap<QString, QByteArray> Snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        files.insert(file.fileName(), QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

class ParadoxMigrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        old = temp.filePath(QStringLiteral("stara"));
        target = temp.filePath(QStringLiteral("nowa"));
        WriteParadoxInstallation(old);
    }

    ParadoxMigrationResult migrate()
    {
        NullProgress progress;
        return MigrateParadoxInstallation({old, QString(), target}, progress);
    }

    // The values of a new table's rows, in its primary order, read through the engine.
    QList<QVariantList> rows(const QString &relative, const QStringList &fields)
    {
        Session session;
        Table table(session);
        table.setTableName(QDir(target).filePath(relative));
        table.open();
        QList<QVariantList> values;
        for (table.first(); !table.eof(); table.next()) {
            QVariantList row;
            for (const QString &field : fields)
                row << table.value(field);
            values << row;
        }
        return values;
    }

    // The only entries beside the target are the old installation and what the test put there.
    QStringList entriesBesideTarget() const
    {
        return QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir temp;
    QString old;
    QString target;
};

TEST_F(ParadoxMigrationTest, BringsEveryTableOverValueForValueAndLeavesTheOldInstallationAsItWas)
{
    const QMap<QString, QByteArray> before = Snapshot(old);
    const ParadoxMigrationResult result = migrate();
    ASSERT_TRUE(result.installed) << ParadoxMigrationReport(result).toStdString();
    EXPECT_TRUE(result.figures.agree());
    EXPECT_EQ(Snapshot(old), before);
    EXPECT_EQ(entriesBesideTarget(), (QStringList{QStringLiteral("nowa"), QStringLiteral("stara")}));

    // Money exact to the ten-thousandth (0,10 stays 0,10), Polish letters, automatic numbers kept.
    const QList<QVariantList> documents =
        rows(QStringLiteral("2024/KASA/NAGKASA.DB"), {QStringLiteral("AUTO"), QStringLiteral("KWOTA"), QStringLiteral("ONAZ1")});
    ASSERT_EQ(documents.size(), 6);
    QMap<int, std::pair<qint64, QString>> byAuto;
    for (const QVariantList &row : documents)
        byAuto.insert(row[0].toInt(), {row[1].isValid() ? row[1].value<Money>().units() : 0, row[2].toString()});
    EXPECT_EQ(byAuto.keys(), (QList<int>{3, 7, 8, 9, 10, 12}));
    EXPECT_EQ(byAuto[3], std::make_pair(qint64(9'999'999'999'900), QStringLiteral("Zakład Usług Leśnych „Jaźń”")));
    EXPECT_EQ(byAuto[7].first, 100);
    EXPECT_EQ(byAuto[9].first, -155'000);
    EXPECT_EQ(byAuto[12].first, 1'000);
    EXPECT_EQ(byAuto[8].second, QStringLiteral("Gęślą jaźń ŁÓDŹ"));

    // The memo comes whole from the memo file; the field another program added comes along.
    const QList<QVariantList> contractors =
        rows(QStringLiteral("2024/FIN/KONTRAHI.DB"), {QStringLiteral("NR"), QStringLiteral("ff"), QStringLiteral("RABAT")});
    ASSERT_EQ(contractors.size(), 2);
    EXPECT_EQ(contractors[0][1].toString(), QStringLiteral("Stały odbiorca drewna; płaci przelewem w ciągu 14 dni, "
                                                           "kontakt: pani Źrebięcka, tel. 42 000 00 00."));
    EXPECT_EQ(contractors[0][2].toInt(), 5);
    EXPECT_EQ(contractors[1][1].toString(), QStringLiteral("krótko"));

    // A table of another module is carried whole: its date, money and memo.
    const QList<QVariantList> entries = rows(QStringLiteral("2024/FK/DEKRETY.DB"),
                                             {QStringLiteral("LP"), QStringLiteral("DATA"), QStringLiteral("KWOTA"), QStringLiteral("OPIS")});
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0][1].toString(), QStringLiteral("2024.02.29"));
    EXPECT_EQ(entries[0][2].value<Money>().units(), -100);
    EXPECT_EQ(entries[0][3].toString(), QStringLiteral("Przeksięgowanie różnic kursowych za luty (zaokrąglenia)"));
    EXPECT_EQ(entries[1][2].value<Money>().units(), 9'999'999'999'900);
    EXPECT_FALSE(entries[1][1].isValid()); // an empty date stays empty, and is no change

    // The company row names the new folder; the program's tables have their listings.
    const QList<QVariantList> company =
        rows(QStringLiteral("FIRMA.DB"), {QStringLiteral("DR"), QStringLiteral("NAZWA1"), QStringLiteral("DRTYP")});
    EXPECT_EQ(company[0][0].toString(), QDir::toNativeSeparators(target) + QDir::separator());
    EXPECT_EQ(company[0][1].toString(), QStringLiteral("Przedsiębiorstwo Handlowe „Pszczółka”"));
    EXPECT_FALSE(company[0][2].isValid());
    EXPECT_TRUE(QFile::exists(QDir(target).filePath(QStringLiteral("2024/KASA/NAGKASA.STR"))));
    EXPECT_TRUE(QFile::exists(QDir(target).filePath(QStringLiteral("BAZA/USER.STR"))));
    // The old installation had no contractor details: the table is made empty, as a new year has it.
    EXPECT_TRUE(rows(QStringLiteral("2024/FIN/KONTRAHO.DB"), {QStringLiteral("NR")}).isEmpty());
    EXPECT_TRUE(QFile::exists(QDir(target).filePath(QStringLiteral("2024/FIN/KONTRAHO.STR"))));

    const QString report = ParadoxMigrationReport(result);
    EXPECT_TRUE(report.contains(QStringLiteral("przeniesiona w całości"))) << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("nie jest datą"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("utworzona pusta"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("pola spoza programu: RABAT"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Rok 2024, kasa 01: stan kasy"))) << report.toStdString();
}

TEST_F(ParadoxMigrationTest, ABrokenInstallationIsRefusedByNameAndNothingIsWritten)
{
    const QString year = QDir(old).filePath(QStringLiteral("2024"));
    struct Case {
        const char *what;
        std::function<void()> breakIt;
        QString expected;
    };
    const QList<Case> cases{
        {"a truncated table",
         [&] { QFile::resize(year + QStringLiteral("/KASA/NAGKASA.DB"), 3000); },
         QStringLiteral("NAGKASA.DB jest uszkodzony")},
        {"a missing memo file",
         [&] { QFile::remove(year + QStringLiteral("/FIN/KONTRAHI.MB")); },
         QStringLiteral("Brak pliku pól memo")},
        {"a field type the program does not carry",
         [&] {
             WriteParadoxTable(year + QStringLiteral("/FK/OBRAZY.DB"),
                               {{QStringLiteral("NR"), pxfLong, 4}, {QStringLiteral("LOGO"), pxfGraphic, 20}}, {});
         },
         QStringLiteral("pole LOGO ma typ grafika (G)")},
        {"a file that is no Paradox table",
         [&] {
             QFile file(year + QStringLiteral("/KASA/OPISKASA.DB"));
             file.open(QIODevice::WriteOnly | QIODevice::Truncate);
             file.write(QByteArray(5000, 'x'));
         },
         QStringLiteral("OPISKASA.DB nie jest tabelą Paradox")},
        {"a value its field cannot hold",
         [&] {
             WriteParadoxTable(year + QStringLiteral("/KASA/OPISKASA.DB"),
                               {{QStringLiteral("RD"), pxfAlpha, 4}, {QStringLiteral("NAZWA"), pxfAlpha, 50},
                                {QStringLiteral("CENA"), pxfAlpha, 10}},
                               {{{QStringLiteral("RD"), QStringLiteral("KP")}, {QStringLiteral("CENA"), QStringLiteral("12,50")}},
                                {{QStringLiteral("RD"), QStringLiteral("KW")}, {QStringLiteral("CENA"), QStringLiteral("dużo")}}});
         },
         QStringLiteral("wiersz 2, pole CENA")},
    };
    for (const Case &broken : cases) {
        SCOPED_TRACE(broken.what);
        QDir(old).removeRecursively();
        WriteParadoxInstallation(old);
        broken.breakIt();
        const QMap<QString, QByteArray> before = Snapshot(old);
        try {
            migrate();
            ADD_FAILURE() << "migrated";
        } catch (const ParadoxMigrationError &error) {
            EXPECT_TRUE(error.message().contains(broken.expected)) << error.message().toStdString();
        }
        EXPECT_EQ(entriesBesideTarget(), QStringList{QStringLiteral("stara")});
        EXPECT_EQ(Snapshot(old), before);
    }
}

TEST_F(ParadoxMigrationTest, RefusesATargetThatHoldsSomethingAndAFolderThatIsNoInstallation)
{
    QDir().mkpath(target);
    QFile(QDir(target).filePath(QStringLiteral("notatka.txt"))).open(QIODevice::WriteOnly);
    NullProgress progress;
    EXPECT_THROW(MigrateParadoxInstallation({old, QString(), target}, progress), ParadoxMigrationError);
    EXPECT_TRUE(QFile::exists(QDir(target).filePath(QStringLiteral("notatka.txt"))));

    const QString elsewhere = temp.filePath(QStringLiteral("inna"));
    try {
        MigrateParadoxInstallation({QDir(old).filePath(QStringLiteral("2024")), QString(), elsewhere}, progress);
        ADD_FAILURE() << "migrated";
    } catch (const ParadoxMigrationError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("nie ma tabeli parametrów KASA.DB"))) << error.message().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
}

// The window runs the same work: the report fills its box, a refusal is said once and written
// into the box, and the old data root may be left empty.
TEST_F(ParadoxMigrationTest, TheWindowShowsTheReportOrWhyNothingWasWritten)
{
    ScriptedPrompt prompt;
    NullProgress progress;
    ParadoxMigrationWindow window(progress, &prompt);
    window.OldWorkingFolder->setText(QDir(old).filePath(QStringLiteral("2024")));
    window.NewFolder->setText(target);
    window.StartClick();
    ASSERT_EQ(prompt.messages().size(), 1);
    EXPECT_EQ(prompt.messages()[0].icon, PromptIcon::Error);
    EXPECT_TRUE(prompt.messages()[0].text.endsWith(QStringLiteral("\rNic nie zostało zapisane.")));
    EXPECT_TRUE(window.Report->toPlainText().contains(QStringLiteral("nie ma tabeli parametrów KASA.DB")));

    prompt.clear();
    window.OldWorkingFolder->setText(old);
    window.StartClick();
    EXPECT_EQ(prompt.texts(), QStringList{QStringLiteral("Dane zostały przeniesione do %1.").arg(target)});
    EXPECT_TRUE(window.Report->toPlainText().contains(QStringLiteral("Stara i nowa instalacja są zgodne")));
    EXPECT_TRUE(QFile::exists(QDir(target).filePath(QStringLiteral("2024/KASA/NAGKASA.DB"))));
}

TEST(ParadoxValueConversion, KeepsMoneyExactAndSaysWhatHadToChange)
{
    const FieldDef money{QStringLiteral("KWOTA"), FieldType::Currency, 0};
    const FieldDef text{QStringLiteral("ONAZ1"), FieldType::Text, 5};
    const FieldDef date{QStringLiteral("DATA"), FieldType::Date, 10};
    const FieldDef number{QStringLiteral("NRD"), FieldType::Integer, 0};
    struct Case {
        QVariant value;
        FieldDef field;
        QVariant stored;
        bool changed;
    };
    const QList<Case> cases{
        {0.1, money, qint64(1'000), false},
        {0.01, money, qint64(100), false},
        {999999999.99, money, qint64(9'999'999'999'900), false},
        {-15.5, money, qint64(-155'000), false},
        {0.00005, money, qint64(1), false}, // the nearest ten-thousandth, halves away from zero
        {QStringLiteral("Łódź"), text, QStringLiteral("Łódź"), false},
        {QStringLiteral("Gęślą jaźń"), text, QStringLiteral("Gęślą"), true},
        {QDate(2024, 2, 29), date, QStringLiteral("2024.02.29"), false},
        {QDate(), date, QVariant(), true},
        {qint64(42), number, qint64(42), false},
        {QVariant(), money, QVariant(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString() + " -> " + c.field.name.toStdString());
        const ConvertedValue converted = ConvertParadoxValue(c.value, c.field);
        EXPECT_EQ(converted.stored, c.stored);
        EXPECT_EQ(!converted.change.isEmpty(), c.changed);
    }
    EXPECT_THROW(ConvertParadoxValue(QStringLiteral("dużo"), number), ParadoxFileError);
    EXPECT_THROW(ConvertParadoxValue(2.5, number), ParadoxFileError);
}

} // namespace

// The old side's doubles and the new side's money meet exactly; a cent apart in one report shows
// on that report's line and on its desk's, and fails the check.
TEST(ParadoxMigrationCheck, ComparesTheOldDoublesWithTheNewMoneyExactly)
{
    using Source = LedgerFigures::Source;
    const auto figures = [](const QVariant &opening, const QVariant &receipt) {
        LedgerFigures year;
        year.add(QStringLiteral("2024"), Source::Reports, {QStringLiteral("01"), 1, opening, QVariant(), false});
        year.add(QStringLiteral("2024"), Source::Documents,
                 {true, QStringLiteral("KP"), QVariant(), receipt, QStringLiteral("01"), 1});
        year.add(QStringLiteral("2024"), Source::Documents,
                 {false, QStringLiteral("KP"), QVariant(), 1000.0, QStringLiteral("01"), 1}); // a line: no figure
        return year;
    };
    const LedgerFigures old = figures(0.1, 5.0);
    ComparedFigures same;
    same.lines = CompareLedgerFigures(old, figures(QVariant::fromValue(Money::fromCents(10)), QVariant::fromValue(Money::fromCents(500))));
    EXPECT_TRUE(same.agree());

    ComparedFigures differing;
    differing.lines = CompareLedgerFigures(old, figures(QVariant::fromValue(Money::fromCents(10)), QVariant::fromValue(Money::fromCents(501))));
    EXPECT_FALSE(differing.agree());
    QStringList disagreeing;
    for (const ComparedFigure &figure : differing.lines)
        if (!figure.agrees())
            disagreeing << figure.label + u' ' + figure.oldValue + u'|' + figure.newValue;
    EXPECT_EQ(disagreeing, (QStringList{QStringLiteral("Rok 2024, kasa 01, raport 1: wpłaty 5,00|5,01"),
                                        QStringLiteral("Rok 2024, kasa 01: wpłaty 5,00|5,01"),
                                        QStringLiteral("Rok 2024, kasa 01: stan kasy 5,10|5,11"),
                                        QStringLiteral("Rok 2024, dokumenty KP: kwota 5,00|5,01")}));
}
