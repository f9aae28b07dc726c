#include "support/print_fixture.h"
#include "print/print_settings_store.h"

#include <QSettings>

namespace {

class PrintSettingsLoading : public PrintFixture {
protected:
    void store(const QList<std::pair<QString, QVariant>> &values)
    {
        QSettings stored(settingsFile(), QSettings::IniFormat);
        for (const auto &[name, value] : values)
            stored.setValue(name, value);
    }

    QVariant stored(const QString &name) const
    {
        return QSettings(settingsFile(), QSettings::IniFormat).value(name);
    }
};

TEST_F(PrintSettingsLoading, WithAPrinterAndNothingStoredTheDefaultsApply)
{
    const TDRUK &module = druk();
    EXPECT_EQ(module.TypWydruku, drWINDOWS);
    EXPECT_EQ(module.Port, drLPT1);
    EXPECT_EQ(module.Eksport, drTXT);
    EXPECT_EQ(module.Rodzaj, drAUTO);
    EXPECT_EQ(module.Pl, drBRAK);
    EXPECT_FALSE(module.Podzial);
    EXPECT_FALSE(module.Bufor);
    EXPECT_EQ(module.MarL, 0);
    EXPECT_EQ(module.MarG, 0);
    EXPECT_EQ(module.MaxLiniaDOS, 70);
    EXPECT_TRUE(prompt.messages().isEmpty());
}

TEST_F(PrintSettingsLoading, StoredValuesAreRead)
{
    store({{"DRTYP", 1}, {"DRPORT", 2}, {"DREKSPORT", 1}, {"DRRODZAJ", 3}, {"DRPL", 2},
           {"DRPODZIAL", 1}, {"DRBUFOR", 1}, {"DRLEWY", 4}, {"DRGORA", 2}, {"DRLINIDOS", 66},
           {"DRURZADZENIE", "/dev/usb/lp0"}});
    const TDRUK &module = druk();
    EXPECT_EQ(module.TypWydruku, drDOS);
    EXPECT_EQ(module.Port, drLPT3);
    EXPECT_EQ(module.Eksport, drTXT);
    EXPECT_EQ(module.Rodzaj, drROZSZCZELONY);
    EXPECT_EQ(module.Pl, drLATIN);
    EXPECT_TRUE(module.Podzial);
    EXPECT_TRUE(module.Bufor);
    EXPECT_EQ(module.MarL, 4);
    EXPECT_EQ(module.MarG, 2);
    EXPECT_EQ(module.MaxLiniaDOS, 66);
    EXPECT_EQ(module.DRURZADZENIE, "/dev/usb/lp0");
}

TEST_F(PrintSettingsLoading, DamagedValuesFallBackToTheFirstChoiceOrZero)
{
    store({{"DRTYP", 9}, {"DRPL", -1}, {"DRLEWY", "abc"}, {"DRGORA", -3}, {"DRLINIDOS", 5}});
    const TDRUK &module = druk();
    EXPECT_EQ(module.TypWydruku, drWINDOWS);
    EXPECT_EQ(module.Pl, drBRAK);
    EXPECT_EQ(module.MarL, 0);
    EXPECT_EQ(module.MarG, 0);
    EXPECT_EQ(module.MaxLiniaDOS, 70);
}

// A machine without a printer keeps its dot-matrix and export choices: the warning comes at the
// first start only, and the saved settings are read all the same.
TEST_F(PrintSettingsLoading, WithoutAPrinterItWarnsOnceAndStillReadsTheSettings)
{
    store({{"DRTYP", 2}, {"DRLINIDOS", 60}});
    printer.printers.clear();
    printer.current.clear();
    for (int start = 1; start <= 3; ++start) {
        SCOPED_TRACE(start);
        recreate();
        const TDRUK &module = druk();
        EXPECT_EQ(prompt.count("Uwaga nie posiadasz zainstalowanej drukarki !!"), 1);
        EXPECT_EQ(prompt.messages().size(), 1);
        EXPECT_EQ(prompt.messages().first().icon, PromptIcon::Warning);
        EXPECT_EQ(module.TypWydruku, drEKSPORT);
        EXPECT_EQ(module.MaxLiniaDOS, 60);
    }

    // A printer installed later and taken away again is worth a word again.
    printer.printers = {QStringLiteral("Drukarka biurowa")};
    recreate();
    druk();
    printer.printers.clear();
    recreate();
    druk();
    EXPECT_EQ(prompt.count("Uwaga nie posiadasz zainstalowanej drukarki !!"), 2);
}

TEST_F(PrintSettingsLoading, SavedOnlyOnRequestAndFewerThanTenLinesComeBackAsSeventy)
{
    druk().MaxLiniaDOS = 5;
    druk().TypWydruku = drBW;
    recreate();
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_EQ(druk().TypWydruku, drWINDOWS);

    druk().MaxLiniaDOS = 5;
    druk().TypWydruku = drBW;
    druk().Port = TPort(7);  // no such port: kept as the first
    druk().ZapiszUstawienia();
    EXPECT_EQ(stored("DRLINIDOS").toInt(), 5);
    EXPECT_EQ(stored("DREKSPORT").toInt(), 0);
    EXPECT_EQ(stored("DRPORT").toInt(), 0);
    EXPECT_EQ(QSettings(settingsFile(), QSettings::IniFormat).childKeys().size(), 10);

    recreate();
    EXPECT_EQ(druk().TypWydruku, drBW);
    EXPECT_EQ(druk().MaxLiniaDOS, 70);
}

TEST(PrintSettingsCount, SpacesAreIgnoredAndAnythingElseCountsAsZero)
{
    const QList<std::pair<QString, int>> cases = {
        {"5", 5}, {" 7", 7}, {"1 2", 12}, {"", 0}, {"ab", 0}, {"-4", 0}, {"3x", 0}};
    for (const auto &[text, value] : cases)
        EXPECT_EQ(ReadSettingsCount(text), value) << text.toStdString();
}

}  // namespace
