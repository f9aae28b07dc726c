#pragma once

#include "print/preview_lines.h"
#include "print/print_settings.h"
#include "print/print_settings_store.h"

#include <QString>
#include <functional>
#include <memory>

class PrintSink;
class Progress;
class Prompt;
class SaveFileDialog;
class SystemPrinterPort;

// What the print module needs of the rest of the program.
struct PrintModulePorts {
    Prompt &prompt;
    Progress &progress;
    SaveFileDialog &saveDialog;
    SystemPrinterPort &systemPrinter;
    // Where the user's print settings are kept.
    PrintSettingsStore store = {};
};

// The text print module, one for the whole program. Every text printout goes through it:
// START opens a job, PISZ writes its lines, Postep moves the progress on and STOP ends it.
// Lines go to the preview buffer, to be printed afterwards (at once when Auto is set, else
// from the preview window), or straight to the target when Bufor is set.
// The settings fields (TypWydruku, Port, Rodzaj, Pl, Podzial, Bufor, MarL, MarG, MaxLiniaDOS)
// and the counters (Strona, Linia) are public: the settings window writes them directly.
class TDRUK : public PrintSettings, public PageCounters {
public:
    // Loads the user's settings once; the first start without an installed system printer
    // says so.
    explicit TDRUK(const PrintModulePorts &ports);
    ~TDRUK();

    TDRUK(const TDRUK &) = delete;
    TDRUK &operator=(const TDRUK &) = delete;

    // Opens a job titled TYT whose caller will report MaxLicz steps of progress.
    void START(const QString &TYT, int MaxLicz = 0);
    // Writes one line of the job.
    void PISZ(const QString &x);
    // One step of the job's progress.
    void Postep();
    // Ends the job; with ZlStopka a footer line naming the job is written first.
    void STOP(bool ZlStopka);

    // Prints the text to the chosen target, each line break ending a line; a fragment after
    // the last line break is not printed. The preview window prints its buffer, or the part
    // of it the user selected, through this ("DRUKUJ").
    void DRUKUJ(const QString &text);
    // Prints the preview's rows from first to last (both included), each as a line: the
    // preview window's "DRUKUJ" on the lines its selection touches.
    void DRUKUJ(qsizetype firstRow, qsizetype lastRow);
    // Keeps the settings for the user's next start ("ZAPISZ USTAWIENIA").
    void ZapiszUstawienia();

    // The preview buffer: the lines of the last job, each ended with "\n", kept compactly
    // (see PreviewLines); the preview window shows and edits it in place. Its memory goes back
    // when the next job starts or releasePreview() is called.
    PreviewLines &preview() { return preview_; }
    const PreviewLines &preview() const { return preview_; }
    QString previewText() const { return preview_.text(); }
    void setPreviewText(const QString &text) { preview_.setText(text); }
    void releasePreview() { preview_.clear(); }
    // Called when a job ends with its lines in the preview buffer and Auto not set: the
    // preview window shows itself.
    void setPreviewHandler(std::function<void()> handler) { showPreview_ = std::move(handler); }

    SystemPrinterPort &systemPrinter() const { return ports_.systemPrinter; }
    SaveFileDialog &saveDialog() const { return ports_.saveDialog; }
    Prompt &prompt() const { return ports_.prompt; }

    QString Tytul;      // title of the current job
    bool Auto = false;  // print the buffer when the job ends, without the preview

private:
    void loadSettings();
    // Opens the chosen target; nothing when it cannot be opened.
    std::unique_ptr<PrintSink> StartWydruku();
    void printThrough(int steps, const std::function<void(PrintSink &)> &write);
    void KoniecWydruku();

    PrintModulePorts ports_;
    PreviewLines preview_;
    std::function<void()> showPreview_;
    // The open target of a job written straight through (Bufor set at START).
    std::unique_ptr<PrintSink> directTarget_;
    bool directJob_ = false;
};

// The footer line STOP(true) writes: "&G", the program's label, " - Koniec wydruku: " and the
// job's title.
QString FooterLine(const QString &title);
