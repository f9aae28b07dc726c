#include "contractors/ui/contractor_help.h"

#include "base/prompt.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString ContractorHelpFile(const QString &workingFolder)
{
    return QDir(workingFolder).absoluteFilePath(QStringLiteral("kontrah/index.htm"));
}

void OpenContractorHelp(const QString &helpFile, Prompt &prompt)
{
    if (QFileInfo::exists(helpFile) && QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile)))
        return;
    prompt.warning(QStringLiteral("Nie można otworzyć pliku pomocy ") + QDir::toNativeSeparators(helpFile));
}
