#pragma once

class QCoreApplication;
class QTranslator;

// Loads Qt's own Polish texts (the buttons and captions of the standard dialogs: saving a file,
// choosing and setting up a printer, context menus) from the machine's Qt translations. Returns
// the installed translator (owned by the application), or null when the machine has none; the
// program's own texts are Polish either way.
QTranslator *InstallPolishTranslations(QCoreApplication &application);
