#pragma once

#include "base/progress.h"

#include <QElapsedTimer>
#include <QTextStream>

// Progress of a command on standard error: on a terminal one line that updates in place (at
// most every tenth of a second), elsewhere a plain line at the start, at every tenth and at the
// end, so a log file stays short.
class ConsoleProgress final : public Progress {
public:
    ConsoleProgress(QTextStream &err, bool terminal) : err_(err), terminal_(terminal) {}

    void Start(const QString &title, int maximum) override;
    void Postep() override;
    void Stop() override;

private:
    void show(bool force);

    QTextStream &err_;
    bool terminal_;
    QString title_;
    int maximum_ = 0;
    int done_ = 0;
    int lastTenth_ = -1;
    QElapsedTimer sinceShown_;
};
