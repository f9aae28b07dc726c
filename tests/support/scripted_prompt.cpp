#include "scripted_prompt.h"

#include <gtest/gtest.h>

namespace {

PromptButton DefaultAnswer(PromptButtons buttons)
{
    if (buttons & Ok)
        return Ok;
    for (int bit = 1; bit <= Ignore; bit <<= 1) {
        if (buttons & bit)
            return PromptButton(bit);
    }
    return Ok;
}

}  // namespace

PromptButton ScriptedPrompt::show(PromptIcon icon, const QString &text, PromptButtons buttons,
                                  const QString &caption)
{
    messages_.append({icon, text, buttons, caption});
    if (whileShowing_)
        whileShowing_();
    if (answers_.empty())
        return DefaultAnswer(buttons);
    const PromptButton answer = answers_.front();
    answers_.pop_front();
    if (!(buttons & answer))
        ADD_FAILURE() << "scripted answer " << int(answer) << " is not offered by \""
                      << text.toStdString() << "\"";
    return answer;
}

ScriptedPrompt &ScriptedPrompt::answer(PromptButton button)
{
    answers_.push_back(button);
    return *this;
}

ScriptedPrompt &ScriptedPrompt::answers(std::initializer_list<PromptButton> buttons)
{
    for (PromptButton button : buttons)
        answers_.push_back(button);
    return *this;
}

QStringList ScriptedPrompt::texts() const
{
    QStringList result;
    for (const Message &message : messages_)
        result.append(message.text);
    return result;
}

int ScriptedPrompt::count(const QString &text) const
{
    return int(std::count_if(messages_.begin(), messages_.end(),
                             [&](const Message &message) { return message.text == text; }));
}

ScriptedPrompt::Message ScriptedPrompt::shownOnce(const QString &text) const
{
    const int shown = count(text);
    if (shown != 1) {
        ADD_FAILURE() << "\"" << text.toStdString() << "\" was shown " << shown
                      << " times; shown were: " << texts().join(" | ").toStdString();
        return {PromptIcon::None, QString(), NoButton, QString()};
    }
    return *std::find_if(messages_.begin(), messages_.end(),
                         [&](const Message &message) { return message.text == text; });
}

void ScriptedPrompt::clear()
{
    messages_.clear();
    answers_.clear();
    beeps_ = 0;
    whileShowing_ = nullptr;
}
