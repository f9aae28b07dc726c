#pragma once

#include <QString>

// Copies every file of the source folder into the target folder, replacing the file of the same
// name there (names matched without regard to case). Each file is first copied beside its target
// under a scratch name and then takes the target's name, so the target is at every moment either
// the old file or the whole new one. A file that cannot be copied is skipped.
void CopyFolderFiles(const QString &sourceFolder, const QString &targetFolder);
