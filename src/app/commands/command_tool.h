#pragma once

#include <QStringList>
#include <optional>

class Clock;
class QTextStream;

// "kasa COMMAND ...": one job on a data tree without any window, for scripts and the nightly
// crontab. The exit status is 0 when the job was done, 1 when it failed (one clear message on
// standard error naming the table, line or file) and 2 when the command line was wrong.
// Whether these arguments (without the program's name) ask for such a job: the command word may
// follow the common options ("kasa -C /srv/kasa archive") as well as lead them; any word the
// windowed program does not take is a job (an unknown one gets the usage).
bool IsToolCommandLine(const QStringList &arguments);
// Whether the job draws (a form or a listing to PDF needs fonts); the others run on Qt's core
// alone, without starting its graphics.
bool ToolCommandDraws(const QStringList &arguments);
// The commands that change the data tree (archive date, restore, new year, import, index repair):
// they need a login that may change data.
bool IsDataChangingCommand(const QString &word);
int RunCommandTool(const QStringList &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
