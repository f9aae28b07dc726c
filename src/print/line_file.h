#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

class Prompt;

// The file or device a job's 8-bit lines go to, each ended with CR LF.
// A failure to open is said once with its message; a failed write stops the writing and is
// said once when the file is closed.
class LineFile {
public:
    // openError and writeError are the messages' beginnings; the file name follows them.
    LineFile(Prompt &prompt, QString openError, QString writeError);

    // Creates or overwrites the file for writing.
    bool open(const QString &path);
    // Opens a printer's device for writing without ever creating anything: an existing
    // character device, or, when the user named the path himself, also a regular file
    // (overwritten) or a named pipe. A pipe nobody reads from is an error, not a wait.
    bool openDevice(const QString &path, bool namedByUser);
    void writeLine(const QByteArray &bytes);
    void close();

private:
    Prompt &prompt_;
    const QString openError_;
    const QString writeError_;
    QFile file_;
    QString path_;
    bool failed_ = false;
};
