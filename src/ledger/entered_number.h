#pragma once

#include <QString>

class Prompt;

// A number the user typed into a number dialog, trimmed. Text that is no integer is refused
// with a message naming it and the running command stops (Abort), changing nothing.
int EnteredNumber(const QString &text, Prompt &prompt);
