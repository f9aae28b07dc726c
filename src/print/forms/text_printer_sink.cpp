#include "print/forms/text_printer_sink.h"

#include "base/prompt.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPrinter>
#include <cmath>
#include <utility>

namespace {

// The letters of a printed line: the plain alphabet, digits, signs and the Polish letters.
const QString kSampleLetters = QStringLiteral("0Wiąę ĄĘŁłŃńÓóŚśŹźŻżĆć|.,-");

// The width of one character when the font gives every sample letter the same width, else 0.
qreal FixedAdvance(const QFontMetricsF &metrics)
{
    const qreal one = metrics.horizontalAdvance(QLatin1Char(' '));
    for (const QChar letter : kSampleLetters)
        if (!qFuzzyCompare(metrics.horizontalAdvance(letter), one))
            return 0;
    if (!qFuzzyCompare(metrics.horizontalAdvance(kSampleLetters), one * kSampleLetters.size()))
        return 0;
    return one;
}

// A text whose characters each take one fixed-pitch cell: no combining marks, no characters
// beyond the Latin letters a listing holds.
bool OneCellPerCharacter(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() > 0x017F || c.unicode() < 0x20)
            return false;
    return true;
}

} // namespace

QFont TextPrintFont(int pointSize)
{
    // Asking the font database is slow (it matches patterns each time): the family is found once.
    static const QFont family = [] {
        const QString preferred = QStringLiteral("Lucida Console");
        return QFontDatabase::hasFamily(preferred) ? QFont(preferred) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }();
    QFont font = family;
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
    fonts_.clear();
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

// A job prints thousands of lines in one or two sizes: each size's font and metrics are made
// once for the job.
const TextPrinterSink::JobFont &TextPrinterSink::fontOf(int pointSize) const
{
    const auto key = std::make_pair(pointSize, scale_);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        QFont font = TextPrintFont(pointSize);
        if (scale_ < 1.0)
            font.setPointSizeF(pointSize * scale_);
        const QFont onPrinter(font, &printer_);
        JobFont job{onPrinter, QFontMetrics(onPrinter, &printer_).ascent(),
                    QFontMetricsF(TextPrintFont(pointSize), &printer_)};
        job.advance = FixedAdvance(QFontMetricsF(onPrinter, &printer_));
        job.unscaledAdvance = FixedAdvance(job.unscaledMetrics);
        if (job.advance <= 0 || job.unscaledAdvance <= 0)
            job.advance = job.unscaledAdvance = 0;
        found = fonts_.emplace(key, std::move(job)).first;
    }
    return found->second;
}

void TextPrinterSink::drawText(int x, int y, int pointSize, const QString &text)
{
    const JobFont &font = fontOf(pointSize);
    if (painter_.font() != font.font)
        painter_.setFont(font.font);
    const int baseline = toDots(y) + font.ascent;
    const int left = int(x * dotsPerUnitX_);
    if (font.advance <= 0 || !OneCellPerCharacter(text)) {
        painter_.drawText(QPoint(left, baseline), text);
        return;
    }
    // A listing's line is mostly spaces between its columns, and every character drawn costs
    // the PDF file and the printer a glyph of its own: the words are drawn where the fixed pitch
    // puts them, the runs of spaces between them are left out.
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    qsizetype start = 0;
    while (start < end) {
        while (start < end && text[start] == u' ')
            ++start;
        qsizetype stop = start;
        while (stop < end && !(text[stop] == u' ' && (stop + 1 == end || text[stop + 1] == u' ')))
            ++stop;
        painter_.drawText(QPointF(left + start * font.advance, baseline), text.mid(start, stop - start));
        start = stop;
    }
}

int TextPrinterSink::pageWidth() const
{
    return int(printer_.width() / dotsPerUnitX_);
}

// Measured on the printer itself, whose resolution the font's widths follow.
int TextPrinterSink::textWidth(int pointSize, const QString &text) const
{
    const JobFont &font = fontOf(pointSize);
    const qreal width = font.unscaledAdvance > 0 && OneCellPerCharacter(text)
                            ? font.unscaledAdvance * text.size()
                            : font.unscaledMetrics.horizontalAdvance(text);
    return int(std::ceil(width / dotsPerUnitX_));
}

void TextPrinterSink::closeDocument()
{
    painter_.end();
    printer_.setOutputFileName(previousOutputFile_);
}
