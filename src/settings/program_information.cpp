#include "settings/program_information.h"

#include <QDir>

#ifndef KASA_VERSION
#define KASA_VERSION "0.0.0"
#endif

QString ProgramVersion()
{
    return QStringLiteral(KASA_VERSION);
}

QString ProgramLicence()
{
    return QStringLiteral("Licencja własna projektu Kasa, wszelkie prawa zastrzeżone.");
}

QString ProgramDescription()
{
    return QStringLiteral("Kasa gotówkowa dla małych i średnich firm: kasy, raporty kasowe, dokumenty KP, KW, "
                          "wnioski o zaliczkę i ich rozliczenia, wydruki i zestawienia.");
}

QString HelpFileName()
{
    return QStringLiteral("kasa.pdf");
}

QStringList InstallationFileCandidates(const QString &fileName, const QString &workingFolder,
                                       const QString &programFolder)
{
    QStringList candidates;
    if (!workingFolder.isEmpty())
        candidates << QDir(workingFolder).absoluteFilePath(fileName);
    if (!programFolder.isEmpty()) {
        const QDir program(programFolder);
        candidates << program.absoluteFilePath(fileName)
                   << QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/doc/kasa/")) + u'/' + fileName);
    }
    return candidates;
}

QStringList HelpFileCandidates(const QString &workingFolder, const QString &programFolder)
{
    return InstallationFileCandidates(HelpFileName(), workingFolder, programFolder);
}
