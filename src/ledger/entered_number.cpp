#include "ledger/entered_number.h"

#include "base/prompt.h"
#include "ledger/refusal.h"

int EnteredNumber(const QString &text, Prompt &prompt)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (ok)
        return number;
    prompt.error(QStringLiteral("'%1' nie jest poprawną liczbą całkowitą.").arg(text.trimmed()));
    Refuse();
}

int EnteredDocumentNumber(const QString &text, Prompt &prompt)
{
    const int number = EnteredNumber(text, prompt);
    if (number >= 1)
        return number;
    prompt.error(QStringLiteral("Numer dokumentu musi być większy od zera."));
    Refuse();
}
