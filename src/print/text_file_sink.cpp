#include "print/text_file_sink.h"

#include "print/control_tokens.h"
#include "print/print_line_encoding.h"
#include "print/save_file_dialog.h"

namespace {

const QString kFormFeed = QStringLiteral("\f");

}  // namespace

bool IsDataLine(const QByteArray &line)
{
    return line.size() >= 2 && line.at(1) != '-' && line.at(1) != '='
           && !line.startsWith(QByteArrayLiteral(">KASA<"));
}

TextFileSink::TextFileSink(Cutting cutting, const PrintSettings &settings,
                           PageCounters &counters, Prompt &prompt, SaveFileDialog &saveDialog)
    : cutting_(cutting),
      settings_(settings),
      counters_(counters),
      saveDialog_(saveDialog),
      file_(prompt, QStringLiteral("Błąd otwarcia pliku : "),
            QStringLiteral("Błąd zapisu pliku : "))
{
}

bool TextFileSink::begin()
{
    const bool plainText = settings_.Eksport == drTXT;
    const auto path = saveDialog_.askSaveFileName(
        plainText ? QStringLiteral("eksport.txt") : QString(),
        plainText ? QStringLiteral(".txt") : QString());
    return path && file_.open(*path);
}

QString TextFileSink::lineWithoutToken(const QString &text) const
{
    if (cutting_ == Cutting::EveryLine && StartsWithEject(text))
        return kFormFeed + text.mid(2);
    return WithoutControlToken(text);
}

void TextFileSink::line(const QString &text)
{
    const QByteArray bytes = EncodePrintLine(lineWithoutToken(text), settings_.Pl);
    if (cutting_ == Cutting::EveryLine || IsDataLine(bytes))
        file_.writeLine(bytes);
    ++counters_.Linia;
}

void TextFileSink::pageBreak()
{
    if (cutting_ == Cutting::EveryLine)
        file_.writeLine(EncodePrintLine(kFormFeed, settings_.Pl));
    ++counters_.Strona;
    counters_.Linia = 0;
}

void TextFileSink::end()
{
    file_.close();
}
