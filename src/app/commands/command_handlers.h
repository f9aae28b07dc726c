#pragma once

#include "app/commands/command_arguments.h"

#include <QStringList>

class Clock;
class QTextStream;

// The commands of the tool; each returns the program's exit status (0: done; 1: failed, the
// reason on standard error; 2: the command line could not be read).
int RunCheckCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err);
int RunRepairCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunListingCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunPrintCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunArchiveCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunRestoreCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunNewYearCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunExportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunImportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunMigrateCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunMigrateParadoxCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);
int RunReportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock);

// Every option of the listing command (each listing takes some of them).
const QStringList &ListingValueOptions();
