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
    if (position_ + kRoomForLine > pageHeight_)
        pageBreak();
    QString rest = text;
    density_ = DensityOfLine(rest, density_, settings_.Rodzaj);
    const LineLook look = lookOf(density_);
    drawText(qMax(0, settings_.MarL) * kMarginUnit, position_, look.pointSize, rest);
    position_ += look.height;
    ++counters_.Linia;
}

void SystemPrinterSink::pageBreak()
{
    startNewPage();
    position_ = 0;
    ++counters_.Strona;
    counters_.Linia = 0;
}

void SystemPrinterSink::end()
{
    closeDocument();
}
