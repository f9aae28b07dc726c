#pragma once

#include <QString>
#include <functional>

class Prompt;

// Starts the table-engine installer "bde.exe" from the working folder; false when it cannot be
// started.
bool StartTableEngineInstaller(const QString &workingFolder);

// True when the table engine could be initialised. Otherwise offers to run its installer, asks
// the user to start the program again afterwards, and returns false.
bool CheckTableEngine(Prompt &prompt, const std::function<bool()> &initialiseEngine,
                      const std::function<bool()> &startInstaller);
