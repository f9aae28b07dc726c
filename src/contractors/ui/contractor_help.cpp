#include "contractors/ui/contractor_help.h"

#include "base/prompt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QWidget>
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
    QWidget *window = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    if (window) {
        QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
        return;
    }
    prompt.warning(QStringLiteral("Nie można otworzyć pliku pomocy ") + QDir::toNativeSeparators(helpFile));
}
