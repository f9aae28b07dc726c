#pragma once

#include <QString>

class Prompt;

// The catalogue's help page, "kontrah\index.htm" under the working folder.
QString ContractorHelpFile(const QString &workingFolder);

// Opens the page with the desktop's viewer. Without the page (the sibling programs install it)
// the program's own guide opens, as F1 opens it, at the catalogue's chapter; only when neither can
// be shown is the user told.
void OpenContractorHelp(const QString &helpFile, Prompt &prompt);
