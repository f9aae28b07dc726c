#include "print/dot_matrix_sink.h"

#include "print/print_line_encoding.h"

namespace {

const QByteArray kNormalPitch = QByteArrayLiteral("\x14\x12");
const QByteArray kFormFeed = QByteArrayLiteral("\x0C");

QByteArray DensityCode(Density density)
{
    switch (density) {
    case Density::Condensed: return QByteArrayLiteral("\x0F");
    case Density::Normal: return QByteArrayLiteral("\x14\x12");
    case Density::Wide: return QByteArrayLiteral("\x12\x0E");
    }
    return {};
}

}  // namespace

DotMatrixSink::DotMatrixSink(const PrintSettings &settings, PageCounters &counters,
                             Prompt &prompt)
    : settings_(settings),
      counters_(counters),
      device_(prompt, QStringLiteral("Błąd otwarcia portu : "),
              QStringLiteral("Błąd zapisu do portu : "))
{
}

bool DotMatrixSink::begin()
{
    density_ = Density::Condensed;
    return device_.openDevice(DotMatrixDevice(settings_), !settings_.DRURZADZENIE.trimmed().isEmpty());
}

void DotMatrixSink::line(const QString &text)
{
    if (StartsWithEject(text)) {
        pageBreak();
        return;
    }
    if (settings_.Podzial && counters_.Linia > settings_.MaxLiniaDOS)
        pageBreak();
    QString rest = text;
    density_ = DensityOfLine(rest, density_, settings_.Rodzaj);
    ++counters_.Linia;
    device_.writeLine(kNormalPitch + QByteArray(qMax(0, settings_.MarL), ' ')
                      + DensityCode(density_) + EncodePrintLine(rest, settings_.Pl));
}

void DotMatrixSink::pageBreak()
{
    device_.writeLine(kFormFeed);
    ++counters_.Strona;
    counters_.Linia = 0;
}

void DotMatrixSink::end()
{
    if (settings_.Podzial)
        device_.writeLine(kFormFeed);
    device_.close();
}
