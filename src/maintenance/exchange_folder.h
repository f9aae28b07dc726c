#pragma once

#include <QString>

// "ImpExp.txt" keeps the folder the import and export dialogs open in: one line, the folder with
// a separator at its end. It lies in the data root, or in the program's folder when the data root
// is empty.
QString ExchangeFolderFilePath(const QString &dataRoot, const QString &programFolder);

// The folder the file names; empty when the file is missing or unreadable.
QString ReadExchangeFolder(const QString &settingsFile);

// The folder of a chosen file (or the folder itself), ending with a separator.
QString FolderOfChosenPath(const QString &path);

// Writes the folder as the file's only line (replacing the file as a whole); false on failure.
bool WriteExchangeFolder(const QString &settingsFile, const QString &folder);
