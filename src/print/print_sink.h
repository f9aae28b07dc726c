#pragma once

#include <QString>

// A target of the text print module: the system printer, the dot-matrix printer on a port, or
// a text file. A job opens it, hands it lines one by one (control tokens and all) and closes
// it. Each target keeps the page and line counters of the job it was opened for.
class PrintSink {
public:
    virtual ~PrintSink() = default;

    // Opens the target. False when it cannot be opened or the user cancelled; whatever had to
    // be said has been said, and the job then ends without output.
    virtual bool begin() = 0;
    // Writes one line, control tokens included.
    virtual void line(const QString &text) = 0;
    // Ends the page: the next line starts a new one.
    virtual void pageBreak() = 0;
    // Closes the target.
    virtual void end() = 0;
};
