#include "print/print_settings_store.h"

#include "print/print_settings.h"

#include <QSettings>

namespace {

const QString kTyp = QStringLiteral("DRTYP");
const QString kPort = QStringLiteral("DRPORT");
const QString kEksport = QStringLiteral("DREKSPORT");
const QString kRodzaj = QStringLiteral("DRRODZAJ");
const QString kPl = QStringLiteral("DRPL");
const QString kPodzial = QStringLiteral("DRPODZIAL");
const QString kBufor = QStringLiteral("DRBUFOR");
const QString kLewy = QStringLiteral("DRLEWY");
const QString kGora = QStringLiteral("DRGORA");
const QString kLinieDos = QStringLiteral("DRLINIDOS");
const QString kUrzadzenie = QStringLiteral("DRURZADZENIE");
const QString kBezDrukarki = QStringLiteral("DRBEZDRUKARKI");

// Reads one integer value; a value that is missing or not a number leaves the field alone.
void ReadInteger(const QSettings &settings, const QString &name, int &field)
{
    if (!settings.contains(name))
        return;
    bool ok = false;
    const int value = settings.value(name).toInt(&ok);
    if (ok)
        field = value;
}

// Reads an ordinal 0..last; anything outside the range gives the first choice.
template <typename Enum>
void ReadChoice(const QSettings &settings, const QString &name, Enum &field, Enum last)
{
    int value = int(field);
    ReadInteger(settings, name, value);
    field = value >= 0 && value <= int(last) ? Enum(value) : Enum(0);
}

void ReadFlag(const QSettings &settings, const QString &name, bool &field)
{
    int value = field ? 1 : 0;
    ReadInteger(settings, name, value);
    field = value != 0;
}

void ReadCount(const QSettings &settings, const QString &name, int &field)
{
    ReadInteger(settings, name, field);
    field = qMax(0, field);
}

}  // namespace

PrintSettingsStore::PrintSettingsStore() = default;

PrintSettingsStore::PrintSettingsStore(const QString &iniFile) : iniFile_(iniFile) {}

std::unique_ptr<QSettings> PrintSettingsStore::open() const
{
    if (!iniFile_.isEmpty())
        return std::make_unique<QSettings>(iniFile_, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("KASA"), QStringLiteral("DRUK"));
}

bool PrintSettingsStore::load(PrintSettings &settings) const
{
    const auto stored = open();
    if (stored->status() != QSettings::NoError || stored->childKeys().isEmpty())
        return false;
    ReadChoice(*stored, kTyp, settings.TypWydruku, drBW);
    ReadChoice(*stored, kPort, settings.Port, drLPT3);
    ReadChoice(*stored, kRodzaj, settings.Rodzaj, drROZSZCZELONY);
    ReadChoice(*stored, kPl, settings.Pl, drLATIN852);
    ReadFlag(*stored, kPodzial, settings.Podzial);
    ReadFlag(*stored, kBufor, settings.Bufor);
    ReadCount(*stored, kLewy, settings.MarL);
    ReadCount(*stored, kGora, settings.MarG);
    ReadCount(*stored, kLinieDos, settings.MaxLiniaDOS);
    settings.Eksport = drTXT;
    settings.DRURZADZENIE = stored->value(kUrzadzenie).toString();
    return true;
}

void PrintSettingsStore::save(const PrintSettings &settings) const
{
    const auto stored = open();
    if (!stored->isWritable())
        return;
    const bool knownPort = settings.Port >= drLPT1 && settings.Port <= drLPT3;
    stored->setValue(kTyp, int(settings.TypWydruku));
    stored->setValue(kPort, knownPort ? int(settings.Port) : 0);
    stored->setValue(kEksport, 0);
    stored->setValue(kRodzaj, int(settings.Rodzaj));
    stored->setValue(kPl, int(settings.Pl));
    stored->setValue(kPodzial, settings.Podzial ? 1 : 0);
    stored->setValue(kBufor, settings.Bufor ? 1 : 0);
    stored->setValue(kLewy, settings.MarL);
    stored->setValue(kGora, settings.MarG);
    stored->setValue(kLinieDos, settings.MaxLiniaDOS);
    if (settings.DRURZADZENIE.trimmed().isEmpty())
        stored->remove(kUrzadzenie);
    else
        stored->setValue(kUrzadzenie, settings.DRURZADZENIE.trimmed());
    stored->sync();
}

bool PrintSettingsStore::noPrinterWarningShown() const
{
    return open()->value(kBezDrukarki).toInt() != 0;
}

void PrintSettingsStore::setNoPrinterWarningShown(bool shown) const
{
    const auto stored = open();
    if (!stored->isWritable() || (stored->value(kBezDrukarki).toInt() != 0) == shown)
        return;
    if (shown)
        stored->setValue(kBezDrukarki, 1);
    else
        stored->remove(kBezDrukarki);
    stored->sync();
}
