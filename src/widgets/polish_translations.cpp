#include "widgets/polish_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QTranslator *InstallPolishTranslations(QCoreApplication &application)
{
    // The standard dialogs write dates and month names in the default locale.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    // "qtbase" holds the widgets, the standard dialogs and print support.
    auto *translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}
