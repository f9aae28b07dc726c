#pragma once

#include "print/line_file.h"
#include "print/print_settings.h"
#include "print/print_sink.h"

class Prompt;
class SaveFileDialog;

// The export to a text file chosen by the user. With cutting (drEKSPORT) only the data lines
// are kept: ruling lines, lines shorter than two characters and the ">KASA<" marker lines are
// dropped. Without cutting (drBW) every line is kept and a page eject becomes a form feed.
class TextFileSink final : public PrintSink {
public:
    enum class Cutting { DataLinesOnly, EveryLine };

    TextFileSink(Cutting cutting, const PrintSettings &settings, PageCounters &counters,
                 Prompt &prompt, SaveFileDialog &saveDialog);

    bool begin() override;
    void line(const QString &text) override;
    void pageBreak() override;
    void end() override;

private:
    QString lineWithoutToken(const QString &text) const;

    const Cutting cutting_;
    const PrintSettings settings_;
    PageCounters &counters_;
    SaveFileDialog &saveDialog_;
    LineFile file_;
};

// True when an export with cutting keeps this 8-bit line.
bool IsDataLine(const QByteArray &line);
