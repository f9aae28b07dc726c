#pragma once

#include <QString>

// How the core speaks to a person: a modal message with an icon, a text and buttons.
// The windows implement it with QMessageBox; tests use a scripted double.
// Texts use "\r" for a line break inside a message, as every message of the program is written.

enum class PromptIcon { None, Information, Warning, Error, Question };

enum PromptButton : int {
    NoButton = 0,
    Ok = 1 << 0,
    Cancel = 1 << 1,
    Yes = 1 << 2,
    No = 1 << 3,
    AbortButton = 1 << 4, // not "Abort": that name is the exception of a refused operation
    Retry = 1 << 5,
    Ignore = 1 << 6,
};
using PromptButtons = int;

class Prompt {
public:
    virtual ~Prompt() = default;

    // Shows the message and returns the button pressed.
    virtual PromptButton show(PromptIcon icon, const QString &text, PromptButtons buttons = Ok,
                              const QString &caption = QString()) = 0;
    virtual void beep() = 0;

    void information(const QString &text) { show(PromptIcon::Information, text, Ok); }
    void warning(const QString &text) { show(PromptIcon::Warning, text, Ok); }
    void error(const QString &text) { show(PromptIcon::Error, text, Ok); }
    // A plain message box without an icon.
    void message(const QString &text) { show(PromptIcon::None, text, Ok); }
    // A Yes/No question with the given icon; true for Yes.
    bool askYesNo(const QString &text, PromptIcon icon = PromptIcon::Question)
    {
        return show(icon, text, Yes | No) == Yes;
    }
};
