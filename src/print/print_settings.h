#pragma once

#include <QString>

// What the text print module is told to do: the target, the dot-matrix port, the density
// override, the Polish-letter encoding, the page division, the buffering and the margins.
// The settings window edits these; they are kept per user (PrintSettingsStore).

// Output target, in the order of the settings window.
enum TTypWydruku : int {
    drWINDOWS = 0,  // the selected system printer
    drDOS = 1,      // a dot-matrix printer on a parallel port
    drEKSPORT = 2,  // text file keeping only the data lines ("with cutting")
    drBW = 3,       // text file keeping every line ("Bez wycinania")
};

enum TPort : int { drLPT1 = 0, drLPT2 = 1, drLPT3 = 2 };

// Export file kind; the program only writes plain text.
enum TEKSPORT : int { drTXT = 0, drTXTb = 1 };

// Density override: automatic (the lines' own tokens), condensed, normal, wide.
enum TRODZAJ : int { drAUTO = 0, drGESTY = 1, drNORMALNY = 2, drROZSZCZELONY = 3 };

// Polish letters on the port and in files: plain ASCII, Mazovia, code page 852, Windows-1250.
enum TPL : int { drBRAK = 0, drMAZOWIA = 1, drLATIN = 2, drLATIN852 = 3 };

struct PrintSettings {
    TTypWydruku TypWydruku = drWINDOWS;
    TPort Port = drLPT1;
    TEKSPORT Eksport = drTXT;
    TRODZAJ Rodzaj = drAUTO;
    TPL Pl = drBRAK;
    bool Podzial = false;  // divide the output into pages
    bool Bufor = false;    // direct output, without the preview buffer ("bez bufora")
    int MarL = 0;          // left margin: characters on the port, 1/15 inch on the system printer
    int MarG = 0;          // top margin in lines; kept and edited, not used by the jobs
    int MaxLiniaDOS = 0;   // lines per page on the dot-matrix printer
    // Device the dot-matrix printer is written to instead of the port's own device; empty for
    // the port's device.
    QString DRURZADZENIE;
};

// Lines written and pages started during a job.
struct PageCounters {
    int Strona = 0;  // current page
    int Linia = 0;   // lines on the current page
};

// A margin or line count typed into the settings window: spaces are ignored, and a text that
// is not a number or a negative number counts as 0.
int ReadSettingsCount(const QString &text);

// The device file of a parallel port: "/dev/lp0".."/dev/lp2" (LPT1..LPT3 on Windows).
QString ParallelPortDevice(TPort port);

// The device the dot-matrix printer is written to: the override when one is set, else the port's.
QString DotMatrixDevice(const PrintSettings &settings);
