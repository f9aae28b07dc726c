#include "print/forms/text_printer_sink.h"

#include "base/prompt.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPrinter>
#include <cmath>
#include <utility>

QFont TextPrintFont(int pointSize)
{
    const QString preferred = QStringLiteral("Lucida Console");
    QFont font = QFontDatabase::hasFamily(preferred)
                     ? QFont(preferred)
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(pointSize);
    return font;
}

TextPrinterSink::TextPrinterSink(QPrinter &printer, Prompt &prompt, const PrintSettings &settings,
                                 PageCounters &counters, const QString &title, QString pdfFile)
    : SystemPrinterSink(settings, counters, title),
      printer_(printer),
      prompt_(prompt),
      pdfFile_(std::move(pdfFile))
{
}

TextPrinterSink::~TextPrinterSink()
{
    if (painter_.isActive())
        closeDocument();
}

std::optional<int> TextPrinterSink::openDocument(const QString &title)
{
    previousOutputFile_ = printer_.outputFileName();
    if (!pdfFile_.isEmpty())
        printer_.setOutputFileName(pdfFile_);
    printer_.setDocName(title);
    if (!painter_.begin(&printer_)) {
        reportOpenFailure();
        printer_.setOutputFileName(previousOutputFile_);
        return std::nullopt;
    }
    dotsPerUnit_ = double(printer_.logicalDpiY()) / kUnitsPerInch;
    dotsPerUnitX_ = double(printer_.logicalDpiX()) / kUnitsPerInch;
    scale_ = 1.0;
    return int(printer_.height() / dotsPerUnit_);
}

void TextPrinterSink::reportOpenFailure()
{
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        prompt_.error(QStringLiteral("Błąd otwarcia pliku : ") + printer_.outputFileName());
    else
        prompt_.error(QStringLiteral("Błąd otwarcia drukarki : ") + printer_.printerName());
}

int TextPrinterSink::toDots(int units) const
{
    return int(units * dotsPerUnit_);
}

void TextPrinterSink::startNewPage()
{
    printer_.newPage();
}

QFont TextPrinterSink::fontOf(int pointSize) const
{
    QFont font = TextPrintFont(pointSize);
    if (scale_ < 1.0)
        font.setPointSizeF(pointSize * scale_);
    return font;
}

void TextPrinterSink::drawText(int x, int y, int pointSize, const QString &text)
{
    painter_.setFont(QFont(fontOf(pointSize), &printer_));
    const int baseline = toDots(y) + painter_.fontMetrics().ascent();
    painter_.drawText(QPoint(int(x * dotsPerUnitX_), baseline), text);
}

int TextPrinterSink::pageWidth() const
{
    return int(printer_.width() / dotsPerUnitX_);
}

// Measured on the printer itself, whose resolution the font's widths follow.
int TextPrinterSink::textWidth(int pointSize, const QString &text) const
{
    const QFontMetricsF metrics(TextPrintFont(pointSize), &printer_);
    return int(std::ceil(metrics.horizontalAdvance(text) / dotsPerUnitX_));
}

void TextPrinterSink::closeDocument()
{
    painter_.end();
    printer_.setOutputFileName(previousOutputFile_);
}
