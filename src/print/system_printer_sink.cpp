#include "print/system_printer_sink.h"

#include <QtEndian>
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
    openPending();
    widest_ = 0;
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
    widest_ = qMax(widest_, textWidth(lookOf(density_).pointSize, rest));
    appendPending(density_, &rest);
}

void SystemPrinterSink::pageBreak()
{
    appendPending(density_, nullptr);
}

QIODevice &SystemPrinterSink::openPending()
{
    pendingFile_.close();
    pendingBuffer_.close();
    pendingBuffer_.setData(QByteArray());
    if (pendingFile_.open()) {
        pendingFile_.resize(0);
        pending_ = &pendingFile_;
    } else {
        pendingBuffer_.open(QIODevice::ReadWrite);
        pending_ = &pendingBuffer_;
    }
    return *pending_;
}

// A record: the density (one byte), the text's size in bytes (4 bytes; -1 for a page break) and
// the text in UTF-8.
void SystemPrinterSink::appendPending(Density density, const QString *text)
{
    const QByteArray encoded = text ? text->toUtf8() : QByteArray();
    char head[5];
    head[0] = char(density);
    qToLittleEndian<qint32>(text ? qint32(encoded.size()) : -1, head + 1);
    const qint64 recordStart = pending_->pos();
    if (pending_->write(head, sizeof head) == sizeof head && pending_->write(encoded) == encoded.size())
        return;
    if (pending_ != &pendingFile_)
        return;
    // The scratch file cannot take more (a full disk): the lines so far go on in memory.
    pendingFile_.seek(0);
    QByteArray written = pendingFile_.read(recordStart);
    pendingFile_.close();
    pendingBuffer_.setData(written);
    pendingBuffer_.open(QIODevice::ReadWrite);
    pendingBuffer_.seek(written.size());
    pending_ = &pendingBuffer_;
    pending_->write(head, sizeof head);
    pending_->write(encoded);
}

double SystemPrinterSink::scaleToFit() const
{
    const int available = pageWidth() - qMax(0, settings_.MarL) * kMarginUnit;
    if (pageWidth() <= 0 || available <= 0)
        return 1.0;
    return widest_ > available ? double(available) / widest_ : 1.0;
}

void SystemPrinterSink::newPage()
{
    startNewPage();
    position_ = 0;
    ++counters_.Strona;
    counters_.Linia = 0;
}

void SystemPrinterSink::draw(Density density, const QString *text, double scale)
{
    if (!text) {
        newPage();
        return;
    }
    const LineLook look = lookOf(density);
    if (position_ + qRound(kRoomForLine * scale) > pageHeight_)
        newPage();
    drawText(qMax(0, settings_.MarL) * kMarginUnit, position_, look.pointSize, *text);
    position_ += qMax(1, qRound(look.height * scale));
    ++counters_.Linia;
}

void SystemPrinterSink::end()
{
    const double scale = scaleToFit();
    setTextScale(scale);
    if (pending_) {
        pending_->seek(0);
        char head[5];
        QByteArray encoded;
        QString text;
        while (pending_->read(head, sizeof head) == sizeof head) {
            const qint32 size = qFromLittleEndian<qint32>(head + 1);
            if (size >= 0) {
                encoded.resize(size);
                if (pending_->read(encoded.data(), size) != size)
                    break;
                text = QString::fromUtf8(encoded);
            }
            draw(Density(head[0]), size >= 0 ? &text : nullptr, scale);
        }
        pending_->close();
        pendingBuffer_.setData(QByteArray());
        pending_ = nullptr;
    }
    closeDocument();
}
