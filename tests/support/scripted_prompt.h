#pragma once

#include "base/prompt.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

// A Prompt for tests: records every message and answers from a queue. With an empty queue it
// answers Ok when Ok is offered, else the first button offered.
class ScriptedPrompt : public Prompt {
public:
    struct Message {
        PromptIcon icon;
        QString text;
        PromptButtons buttons;
        QString caption;
    };

    PromptButton show(PromptIcon icon, const QString &text, PromptButtons buttons = Ok,
                      const QString &caption = QString()) override;
    void beep() override { ++beeps_; }

    // Runs while each message is up, as whatever a real message box sets off in the window
    // behind it (a control losing the focus).
    void whileShowing(std::function<void()> step) { whileShowing_ = std::move(step); }

    // Queues the answers to the next messages, in order. An answer the message does not offer
    // fails the test.
    ScriptedPrompt &answer(PromptButton button);
    ScriptedPrompt &answers(std::initializer_list<PromptButton> buttons);

    const QList<Message> &messages() const { return messages_; }
    QStringList texts() const;
    // How many times exactly this text was shown.
    int count(const QString &text) const;
    // The one message with exactly this text; fails the test unless it was shown exactly once.
    Message shownOnce(const QString &text) const;
    int beeps() const { return beeps_; }
    int pendingAnswers() const { return int(answers_.size()); }
    void clear();

private:
    QList<Message> messages_;
    std::deque<PromptButton> answers_;
    int beeps_ = 0;
    std::function<void()> whileShowing_;
};
