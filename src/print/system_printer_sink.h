#pragma once

#include "print/control_tokens.h"
#include "print/print_settings.h"
#include "print/print_sink.h"

#include <QBuffer>
#include <QTemporaryFile>
#include <optional>

// The system printer: lines drawn with a fixed-pitch font, one below the other, positions in
// 1/300 inch from the top left of the printable area. This class lays the lines out; the
// drawing itself is done by the printer code that derives from it. The job's lines are laid
// out when it ends: when its widest line does not fit across the page, the whole job is drawn
// smaller, the same for every line, so that every character is on the page and the columns of
// a listing stay under each other.
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
    // The width of the printable area and of a text in a size, in 1/300 inch; 0 when unknown
    // (nothing is then made smaller).
    virtual int pageWidth() const { return 0; }
    virtual int textWidth(int pointSize, const QString &text) const
    {
        (void)pointSize;
        (void)text;
        return 0;
    }
    // Every size drawn from now on is this many times the size asked for (at most 1).
    virtual void setTextScale(double scale) { (void)scale; }

private:
    // The job's lines wait for its end in a scratch file (in memory only when no file can be
    // made), so that a listing of a whole year does not wait in memory.
    QIODevice &openPending();
    void appendPending(Density density, const QString *text);
    // How much smaller the job must be drawn for its widest line to fit (1: not at all).
    double scaleToFit() const;
    void newPage();
    void draw(Density density, const QString *text, double scale);

    const PrintSettings settings_;
    PageCounters &counters_;
    const QString title_;
    int pageHeight_ = 0;
    int position_ = 0;
    Density density_ = Density::Condensed;
    QTemporaryFile pendingFile_;
    QBuffer pendingBuffer_;
    QIODevice *pending_ = nullptr;
    int widest_ = 0; // of the lines so far, measured as they come
};
