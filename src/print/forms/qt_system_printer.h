#pragma once

#include "print/system_printer_port.h"

#include <QPrinter>

class Prompt;
class SaveFileDialog;

// The system's printers through Qt. One QPrinter is kept for the whole run, so the printer
// chosen in the print settings and its setup stay for every job. Where no printer is
// installed, jobs for the system printer are written to a PDF file the user names.
class QtSystemPrinter final : public SystemPrinterPort {
public:
    QtSystemPrinter(Prompt &prompt, SaveFileDialog &saveDialog);

    QStringList installedPrinters() const override;
    QString currentPrinter() const override;
    void selectPrinter(const QString &name) override;
    std::unique_ptr<PrintSink> openSink(const QString &title, const PrintSettings &settings,
                                        PageCounters &counters) override;

    // The printer itself, for the printer-setup dialog.
    QPrinter &printer() { return printer_; }

private:
    bool printsToUnnamedPdf() const;

    Prompt &prompt_;
    SaveFileDialog &saveDialog_;
    QPrinter printer_;
};
