#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// A command line of the tool: "kasa COMMAND [arguments] [options]".
struct CommandArguments {
    QString command;
    QStringList words;               // the command's own arguments, in order
    QHash<QString, QString> options; // "--out" -> "plik.txt"
    QStringList flags;               // "--yes", "--pdf" given without a value
    QString workingFolder = QStringLiteral(".");
    QString dataRootArgument;        // "dr=..." as given, empty when none
    QString year;                    // "--year YYYY", empty for the year the program would choose
    bool help = false;

    QString option(const QString &name) const { return options.value(name); }
    bool has(const QString &name) const { return options.contains(name) || flags.contains(name); }
};

// The options that take a value; every other "--name" is a flag.
const QStringList &ValueOptions();

// Reads the arguments after the program's name; nothing, with the reason, when they cannot be
// read (an option without its value, a year that is not four digits).
std::optional<CommandArguments> ParseCommandArguments(const QStringList &arguments, QString &error);
