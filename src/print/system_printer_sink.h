#pragma once

#include "print/control_tokens.h"
#include "print/print_settings.h"
#include "print/print_sink.h"

#include <optional>

// The system printer: lines drawn with a fixed-pitch font, one below the other, positions in
// 1/300 inch from the top left of the printable area. This class lays the lines out; the
// drawing itself is done by the printer code that derives from it.
class SystemPrinterSink : public PrintSink {
public:
    static constexpr int kUnitsPerInch = 300;

    SystemPrinterSink(const PrintSettings &settings, PageCounters &counters, QString title);

    bool begin() override;
    void line(const QString &text) override;
    void pageBreak() override;
    void end() override;

    // How lines of a density are printed: the font size in points and the line height.
    struct LineLook {
        int pointSize;
        int height;  // 1/300 inch
    };
    static LineLook lookOf(Density density);

protected:
    // Begins the print document named after the job; returns the height of the printable
    // area in 1/300 inch, or nothing when the printer cannot be used.
    virtual std::optional<int> openDocument(const QString &title) = 0;
    virtual void startNewPage() = 0;
    // Draws the text with its top left corner at (x, y), in 1/300 inch.
    virtual void drawText(int x, int y, int pointSize, const QString &text) = 0;
    virtual void closeDocument() = 0;

private:
    const PrintSettings settings_;
    PageCounters &counters_;
    const QString title_;
    int pageHeight_ = 0;
    int position_ = 0;
    Density density_ = Density::Condensed;
};
