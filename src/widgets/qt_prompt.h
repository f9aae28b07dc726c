#pragma once

#include "base/prompt.h"

class QMessageBox;

// Messages as modal message boxes over the active window. The caption defaults to the
// application title; "\r" in a text starts a new line.
class QtPrompt final : public Prompt {
public:
    PromptButton show(PromptIcon icon, const QString &text, PromptButtons buttons = Ok,
                      const QString &caption = QString()) override;
    void beep() override;
};

// Gives the standard buttons of a message box their Polish names ("Tak", "Nie", "OK", "Anuluj",
// "Przerwij", ...).
void NamePromptButtons(QMessageBox &box);
