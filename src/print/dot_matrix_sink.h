#pragma once

#include "print/control_tokens.h"
#include "print/line_file.h"
#include "print/print_settings.h"
#include "print/print_sink.h"

class Prompt;

// The dot-matrix printer on a parallel port: every line goes back to normal pitch, moves in
// by the left margin, sets its density and ends with CR LF; Polish letters as the settings
// say; a form feed between pages.
class DotMatrixSink final : public PrintSink {
public:
    DotMatrixSink(const PrintSettings &settings, PageCounters &counters, Prompt &prompt);

    bool begin() override;
    void line(const QString &text) override;
    void pageBreak() override;
    void end() override;

private:
    const PrintSettings settings_;
    PageCounters &counters_;
    LineFile device_;
    Density density_ = Density::Condensed;
};
