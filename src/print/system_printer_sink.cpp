#include "print/system_printer_sink.h"

#include <utility>

namespace {

// A line goes to the next page when less than this is left below the current position.
constexpr int kRoomForLine = 50;
// The left margin counts in 1/15 inch.
constexpr int kMarginUnit = SystemPrinterSink::kUnitsPerInch / 15;

}  // namespace

SystemPrinterSink::SystemPrinterSink(const PrintSettings &settings, PageCounters &counters,
                                     QString title)
    : settings_(settings), counters_(counters), title_(std::move(title))
{
}

SystemPrinterSink::LineLook SystemPrinterSink::lookOf(Density density)
{
    switch (density) {
    case Density::Condensed: break;
    case Density::Normal: return {12, 50};
    case Density::Wide: return {16, 65};
    }
    return {8, 40};
}

bool SystemPrinterSink::begin()
{
    density_ = Density::Condensed;
    position_ = 0;
    pending_.clear();
    const auto height = openDocument(title_);
    pageHeight_ = height.value_or(0);
    return height.has_value();
}

void SystemPrinterSink::line(const QString &text)
{
    if (StartsWithEject(text)) {
        pageBreak();
        return;
    }
    QString rest = text;
    density_ = DensityOfLine(rest, density_, settings_.Rodzaj);
    pending_.append({false, density_, rest});
}

void SystemPrinterSink::pageBreak()
{
    pending_.append({true, density_, {}});
}

double SystemPrinterSink::scaleToFit() const
{
    const int available = pageWidth() - qMax(0, settings_.MarL) * kMarginUnit;
    if (pageWidth() <= 0 || available <= 0)
        return 1.0;
    int widest = 0;
    for (const PendingLine &line : pending_)
        if (!line.pageBreak)
            widest = qMax(widest, textWidth(lookOf(line.density).pointSize, line.text));
    return widest > available ? double(available) / widest : 1.0;
}

void SystemPrinterSink::newPage()
{
    startNewPage();
    position_ = 0;
    ++counters_.Strona;
    counters_.Linia = 0;
}

void SystemPrinterSink::draw(const PendingLine &line, double scale)
{
    if (line.pageBreak) {
        newPage();
        return;
    }
    const LineLook look = lookOf(line.density);
    if (position_ + qRound(kRoomForLine * scale) > pageHeight_)
        newPage();
    drawText(qMax(0, settings_.MarL) * kMarginUnit, position_, look.pointSize, line.text);
    position_ += qMax(1, qRound(look.height * scale));
    ++counters_.Linia;
}

void SystemPrinterSink::end()
{
    const double scale = scaleToFit();
    setTextScale(scale);
    for (const PendingLine &line : std::as_const(pending_))
        draw(line, scale);
    pending_.clear();
    closeDocument();
}
