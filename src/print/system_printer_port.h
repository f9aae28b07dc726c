#pragma once

#include "print/print_settings.h"

#include <QString>
#include <QStringList>
#include <memory>

class PrintSink;

// The system's printers as the print module sees them: which are installed, which one is
// current, and a target that prints a job on the current one.
class SystemPrinterPort {
public:
    virtual ~SystemPrinterPort() = default;

    virtual QStringList installedPrinters() const = 0;
    // The printer jobs go to; empty when none is installed.
    virtual QString currentPrinter() const = 0;
    virtual void selectPrinter(const QString &name) = 0;
    // A target for one job on the current printer, named after the job's title. Nothing when
    // the job cannot go to a printer (the user has been told, or cancelled).
    virtual std::unique_ptr<PrintSink> openSink(const QString &title,
                                                const PrintSettings &settings,
                                                PageCounters &counters) = 0;
};
