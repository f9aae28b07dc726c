#pragma once

#include <QString>
#include <memory>

class QSettings;
struct PrintSettings;

// Where the print settings of the user are kept: the values "DRTYP", "DRPORT", "DREKSPORT",
// "DRRODZAJ", "DRPL", "DRPODZIAL", "DRBUFOR", "DRLEWY", "DRGORA", "DRLINIDOS" (integers,
// booleans as 0/1) and "DRURZADZENIE" (the dot-matrix device, a path).
class PrintSettingsStore {
public:
    // The user's own settings: organisation "KASA", application "DRUK" (the registry key
    // HKEY_CURRENT_USER\Software\KASA\DRUK on Windows, ~/.config/KASA/DRUK.conf elsewhere).
    PrintSettingsStore();
    // Settings kept in the given ini file instead.
    explicit PrintSettingsStore(const QString &iniFile);

    // Reads the stored values into settings; a value that is not stored keeps what settings
    // holds. Returns false when nothing is stored.
    bool load(PrintSettings &settings) const;
    // Writes every value; when the store cannot be written, nothing is written and nothing said.
    void save(const PrintSettings &settings) const;
    // Whether the user has been told that the machine has no printer ("DRBEZDRUKARKI"), so that
    // he is told once, not at every start.
    bool noPrinterWarningShown() const;
    void setNoPrinterWarningShown(bool shown) const;

private:
    std::unique_ptr<QSettings> open() const;

    QString iniFile_;
};
