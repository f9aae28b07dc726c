#include "app/table_engine_check.h"

#include "base/prompt.h"

#include <QDir>
#include <QProcess>

bool StartTableEngineInstaller(const QString &workingFolder)
{
    return QProcess::startDetached(QDir(workingFolder).filePath(QStringLiteral("bde.exe")), {},
                                   workingFolder);
}

bool CheckTableEngine(Prompt &prompt, const std::function<bool()> &initialiseEngine,
                      const std::function<bool()> &startInstaller)
{
    if (initialiseEngine())
        return true;
    if (prompt.askYesNo(QStringLiteral("BDE nie jest zainstalowane. Zainstalować BDE teraz?"),
                        PromptIcon::None)) {
        if (!startInstaller())
            prompt.message(QStringLiteral("Błąd! Przeinstaluj BDE."));
        prompt.warning(QStringLiteral("Proszę uruchomić ponownie program po instalacji BDE"));
    }
    // The caller ends the program; nothing else runs after a failed engine start.
    return false;
}
