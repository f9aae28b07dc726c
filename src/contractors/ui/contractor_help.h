#pragma once

#include <QString>

class Prompt;

// The catalogue's help page, "kontrah\index.htm" under the working folder.
QString ContractorHelpFile(const QString &workingFolder);

// Opens the page with the desktop's viewer; says so when it cannot.
void OpenContractorHelp(const QString &helpFile, Prompt &prompt);
