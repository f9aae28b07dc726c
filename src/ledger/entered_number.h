#pragma once

#include <QString>

class Prompt;

// A number the user typed into a number dialog, trimmed. Text that is no integer is refused
// with a message naming it and the running command stops (Abort), changing nothing.
int EnteredNumber(const QString &text, Prompt &prompt);
// A document number the user typed: as EnteredNumber, and a number below 1 is refused as well
// (a header numbered 0 takes the next number of its sequence when posted, leaving its lines
// behind).
int EnteredDocumentNumber(const QString &text, Prompt &prompt);
