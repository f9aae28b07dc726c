#pragma once

#include "base/prompt.h"

#include <QStringList>
#include <QTextStream>

// The prompt of a command run without a window: every message goes to standard error, and a
// question gets its cautious answer (No, Cancel, Abort) unless the command was told to agree.
class ConsolePrompt final : public Prompt {
public:
    explicit ConsolePrompt(QTextStream &err) : err_(err) {}

    PromptButton show(PromptIcon icon, const QString &text, PromptButtons buttons = Ok,
                      const QString &caption = QString()) override;
    void beep() override {}

    // The question beginning with the text is answered Yes (the command's own question, which the
    // user answered by running it, or with "--yes"); every other question keeps its cautious
    // answer, also when the command opens the tables again.
    void agreeTo(const QString &questionStart) { agreed_ << questionStart; }
    int errorCount() const { return errors_; }
    // A message that means nothing here (the print module's warning about the system printer, for
    // a listing written to a file) is not shown: every message beginning with the text.
    void ignore(const QString &start) { ignored_ << start; }

private:
    QTextStream &err_;
    QStringList agreed_;
    int errors_ = 0;
    QStringList ignored_;
};
