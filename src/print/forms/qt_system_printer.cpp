#include "print/forms/qt_system_printer.h"

#include "print/forms/text_printer_sink.h"
#include "print/save_file_dialog.h"

#include <QPrinterInfo>

QtSystemPrinter::QtSystemPrinter(Prompt &prompt, SaveFileDialog &saveDialog)
    : prompt_(prompt), saveDialog_(saveDialog), printer_(QPrinter::HighResolution)
{
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    if (!defaultPrinter.isEmpty())
        printer_.setPrinterName(defaultPrinter);
}

QStringList QtSystemPrinter::installedPrinters() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString QtSystemPrinter::currentPrinter() const
{
    return printer_.outputFormat() == QPrinter::NativeFormat ? printer_.printerName() : QString();
}

void QtSystemPrinter::selectPrinter(const QString &name)
{
    printer_.setOutputFileName(QString());
    printer_.setPrinterName(name);
}

bool QtSystemPrinter::printsToUnnamedPdf() const
{
    return printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty();
}

std::unique_ptr<PrintSink> QtSystemPrinter::openSink(const QString &title,
                                                     const PrintSettings &settings,
                                                     PageCounters &counters)
{
    QString pdfFile;
    if (printsToUnnamedPdf()) {
        const auto chosen = saveDialog_.askSaveFileName(QStringLiteral("wydruk.pdf"),
                                                        QStringLiteral(".pdf"));
        if (!chosen)
            return nullptr;
        pdfFile = *chosen;
    }
    return std::make_unique<TextPrinterSink>(printer_, prompt_, settings, counters, title,
                                             pdfFile);
}
