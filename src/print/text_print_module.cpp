#include "print/text_print_module.h"

#include "base/progress.h"
#include "base/prompt.h"
#include "print/dot_matrix_sink.h"
#include "print/print_sink.h"
#include "print/system_printer_port.h"
#include "print/text_file_sink.h"

#include <algorithm>
#include <limits>

namespace {

const QString kNoPrinter = QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki !!");
const QString kMakerLabel = QStringLiteral("Program KASA");
// Fewer lines than this per page on the dot-matrix printer are taken for a missing setting.
constexpr int kFewestLinesPerPage = 10;
constexpr int kDefaultLinesPerPage = 70;

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == QChar::ParagraphSeparator;
}

}  // namespace

QString FooterLine(const QString &title)
{
    return QStringLiteral("&G") + kMakerLabel + QStringLiteral(" - Koniec wydruku: ") + title;
}

TDRUK::TDRUK(const PrintModulePorts &ports) : ports_(ports)
{
    loadSettings();
}

TDRUK::~TDRUK() = default;

// A machine without a printer still prints to the dot-matrix port, to files and, for the system
// printer, to a PDF file: its settings are read all the same, and the missing printer is said
// once, not at every start.
void TDRUK::loadSettings()
{
    const bool noPrinter = ports_.systemPrinter.installedPrinters().isEmpty();
    if (noPrinter && !ports_.store.noPrinterWarningShown()) {
        ports_.prompt.warning(kNoPrinter);
        ports_.store.setNoPrinterWarningShown(true);
    } else if (!noPrinter) {
        ports_.store.setNoPrinterWarningShown(false);
    }
    ports_.store.load(*this);
    Eksport = drTXT;
    if (MaxLiniaDOS < kFewestLinesPerPage)
        MaxLiniaDOS = kDefaultLinesPerPage;
}

void TDRUK::ZapiszUstawienia()
{
    ports_.store.save(*this);
}

std::unique_ptr<PrintSink> TDRUK::StartWydruku()
{
    const PrintSettings &settings = *this;
    PageCounters &counters = *this;
    std::unique_ptr<PrintSink> target;
    switch (TypWydruku) {
    case drWINDOWS:
        target = ports_.systemPrinter.openSink(Tytul, settings, counters);
        break;
    case drDOS:
        target = std::make_unique<DotMatrixSink>(settings, counters, ports_.prompt);
        break;
    case drEKSPORT:
    case drBW:
        target = std::make_unique<TextFileSink>(
            TypWydruku == drBW ? TextFileSink::Cutting::EveryLine
                               : TextFileSink::Cutting::DataLinesOnly,
            settings, counters, ports_.prompt, ports_.saveDialog);
        break;
    }
    if (target && target->begin())
        return target;
    return nullptr;
}

void TDRUK::KoniecWydruku()
{
    if (directTarget_)
        directTarget_->end();
    directTarget_.reset();
}

void TDRUK::START(const QString &TYT, int MaxLicz)
{
    KoniecWydruku();
    releasePreview();
    Tytul = TYT;
    Strona = 0;
    Linia = 0;
    directJob_ = Bufor;
    if (directJob_)
        directTarget_ = StartWydruku();
    ports_.progress.Start(Tytul, MaxLicz);
}

void TDRUK::PISZ(const QString &x)
{
    if (directJob_) {
        if (directTarget_)
            directTarget_->line(x);
        return;
    }
    preview_.appendLine(x);
    ++Linia;
}

void TDRUK::Postep()
{
    ports_.progress.Postep();
}

void TDRUK::STOP(bool ZlStopka)
{
    if (ZlStopka)
        PISZ(FooterLine(Tytul));
    preview_.squeeze();
    ports_.progress.Stop();
    if (directJob_)
        KoniecWydruku();
    else if (Auto)
        DRUKUJ(0, preview_.lineCount() - 1);
    else if (showPreview_)
        showPreview_();
    directJob_ = false;
    Auto = false;
}

void TDRUK::DRUKUJ(const QString &text)
{
    printThrough(int(text.size()), [&](PrintSink &target) {
        QString line;
        for (const QChar c : text) {
            ports_.progress.Postep();
            if (IsLineBreak(c)) {
                target.line(line);
                line.clear();
            } else {
                line += c;
            }
        }
    });
}

void TDRUK::DRUKUJ(qsizetype firstRow, qsizetype lastRow)
{
    firstRow = std::max<qsizetype>(firstRow, 0);
    lastRow = std::min(lastRow, preview_.rowCount() - 1);
    const qsizetype rows = std::max<qsizetype>(lastRow - firstRow + 1, 0);
    printThrough(int(std::min<qsizetype>(rows, std::numeric_limits<int>::max())), [&](PrintSink &target) {
        for (qsizetype row = firstRow; row <= lastRow; ++row) {
            ports_.progress.Postep();
            target.line(preview_.row(row));
        }
    });
}

// A print from the first page, under the progress window of so many steps.
void TDRUK::printThrough(int steps, const std::function<void(PrintSink &)> &write)
{
    ports_.progress.Start(Tytul, steps);
    Strona = 1;
    Linia = 0;
    if (const auto target = StartWydruku()) {
        write(*target);
        target->end();
    }
    ports_.progress.Stop();
}
