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

    // Questions are answered Yes (a command the user asked for with its own consent, "--yes").
    void agreeToQuestions(bool agree) { agree_ = agree; }
    int errorCount() const { return errors_; }
    // A message that means nothing here (the print module's warning about the system printer, for
    // a listing written to a file) is not shown.
    void ignore(const QString &text) { ignored_ << text; }

private:
    QTextStream &err_;
    bool agree_ = false;
    int errors_ = 0;
    QStringList ignored_;
};
