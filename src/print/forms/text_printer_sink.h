#pragma once

#include "print/system_printer_sink.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <map>
#include <utility>

class Prompt;
class QPrinter;

// The system-printer target drawn on a QPrinter: a fixed-pitch font ("Lucida Console" where
// installed, else the system's fixed-pitch font), the job's title as the document name, and
// the layout's 1/300 inch positions scaled to the printer's resolution.
class TextPrinterSink final : public SystemPrinterSink {
public:
    // With pdfFile given the job goes to that PDF file instead of the printer's own output.
    TextPrinterSink(QPrinter &printer, Prompt &prompt, const PrintSettings &settings,
                    PageCounters &counters, const QString &title, QString pdfFile = {});
    ~TextPrinterSink() override;

protected:
    std::optional<int> openDocument(const QString &title) override;
    void startNewPage() override;
    void drawText(int x, int y, int pointSize, const QString &text) override;
    void closeDocument() override;
    int pageWidth() const override;
    int textWidth(int pointSize, const QString &text) const override;
    void setTextScale(double scale) override { scale_ = scale; }

private:
    struct JobFont {
        QFont font;                    // on the printer, at the job's scale
        int ascent;                    // of that font on the printer
        QFontMetricsF unscaledMetrics; // widths are measured at the unscaled size
        // Where every letter of the plain and Polish alphabets is as wide as a space: the
        // width of one character at the job's scale and unscaled; 0 for a font that is not so.
        qreal advance = 0;
        qreal unscaledAdvance = 0;
    };
    const JobFont &fontOf(int pointSize) const;
    void reportOpenFailure();
    int toDots(int units) const;

    QPrinter &printer_;
    Prompt &prompt_;
    const QString pdfFile_;
    QString previousOutputFile_;
    QPainter painter_;
    double dotsPerUnit_ = 1.0;
    double dotsPerUnitX_ = 1.0;
    double scale_ = 1.0;
    mutable std::map<std::pair<int, double>, JobFont> fonts_;
};

// The fixed-pitch font of text printouts in the given size.
QFont TextPrintFont(int pointSize);
