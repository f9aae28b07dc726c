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
    QStringList flags;               // "--yes" and the other options given without a value
    QString workingFolder = QStringLiteral(".");
    QString dataRootArgument;        // "dr=..." as given, empty when none
    QString year;                    // "--year YYYY", empty for the year the program would choose
    bool help = false;

    QString option(const QString &name) const { return options.value(name); }
    bool has(const QString &name) const { return options.contains(name) || flags.contains(name); }
};

// What one command accepts besides the common options (-C, --year, dr=, --help).
struct CommandSyntax {
    QStringList valueOptions; // options followed by their value
    QStringList flags;        // options without a value
    int minWords = 0;
    int maxWords = 0;
};

// The options that take a value, of every command; every other option is a flag.
const QStringList &ValueOptions();

// Reads the arguments after the program's name; nothing, with the reason, when they cannot be
// read (an option without its value, a value that is another option, a year that is not four
// digits).
std::optional<CommandArguments> ParseCommandArguments(const QStringList &arguments, QString &error);

// Why the command line does not fit the command (an option it does not know, a word too many or
// too few), or empty when it fits.
QString CommandSyntaxProblem(const CommandArguments &arguments, const CommandSyntax &syntax);

// Why the options given are not among those allowed (one listing's options among all of the
// listing command's), or empty.
QString UnknownOptionsProblem(const CommandArguments &arguments, const QStringList &allowed, const QString &what);
