#include "app/commands/console_prompt.h"

#include <algorithm>

PromptButton ConsolePrompt::show(PromptIcon icon, const QString &text, PromptButtons buttons, const QString &)
{
    const auto beginsWithOneOf = [&text](const QStringList &starts) {
        return std::any_of(starts.cbegin(), starts.cend(), [&text](const QString &start) { return text.startsWith(start); });
    };
    const bool ignored = beginsWithOneOf(ignored_);
    if (ignored)
        return (buttons & Ok) ? Ok : (buttons & No) ? No : PromptButton(buttons & -buttons);
    if (icon == PromptIcon::Error)
        ++errors_;
    QString shown = text;
    shown.replace(u'\r', u'\n');
    // The window's command has its own word here.
    shown.replace(QStringLiteral("Użyj polecenia Narzędzia/Naprawa indeksów."), QStringLiteral("Użyj polecenia kasa repair."));
    err_ << shown;
    PromptButton answer = Ok;
    if ((buttons & Yes) && beginsWithOneOf(agreed_))
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
