#include "app/commands/console_prompt.h"

PromptButton ConsolePrompt::show(PromptIcon icon, const QString &text, PromptButtons buttons, const QString &)
{
    if (ignored_.contains(text))
        return (buttons & Ok) ? Ok : (buttons & No) ? No : PromptButton(buttons & -buttons);
    if (icon == PromptIcon::Error)
        ++errors_;
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("\n  "));
    err_ << shown;
    PromptButton answer = Ok;
    if (agree_ && (buttons & Yes))
        answer = Yes;
    else if (buttons & No)
        answer = No;
    else if (buttons & Cancel)
        answer = Cancel;
    else if (buttons & AbortButton)
        answer = AbortButton;
    else if (buttons & Ok)
        answer = Ok;
    else
        for (int bit = 1; bit <= Ignore; bit <<= 1)
            if (buttons & bit) {
                answer = PromptButton(bit);
                break;
            }
    if (buttons != Ok)
        err_ << QStringLiteral(" [%1]").arg(answer == Yes ? QStringLiteral("Tak") : answer == No ? QStringLiteral("Nie")
                                                                                                   : QStringLiteral("Anuluj"));
    err_ << Qt::endl;
    return answer;
}
