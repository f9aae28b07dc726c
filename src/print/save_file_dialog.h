#pragma once

#include <QString>
#include <optional>

// Asks the user where to save a file. The windows implement it with the system's save dialog;
// tests answer from a script.
class SaveFileDialog {
public:
    virtual ~SaveFileDialog() = default;

    // The chosen path, or nothing when the user cancelled. defaultName is proposed as the file
    // name and defaultSuffix (".txt") is added to a name typed without one; both may be empty.
    virtual std::optional<QString> askSaveFileName(const QString &defaultName,
                                                   const QString &defaultSuffix) = 0;
};
