#include "app/commands/command_arguments.h"

#include <QRegularExpression>

namespace {

// "-x" and "--x", but not a negative number given as a value.
bool LooksLikeOption(const QString &argument)
{
    return argument.size() > 1 && argument.front() == u'-' && !argument.at(1).isDigit();
}

} // namespace

const QStringList &ValueOptions()
{
    static const QStringList options{
        QStringLiteral("-C"),     QStringLiteral("--year"),   QStringLiteral("--to"),     QStringLiteral("--from"),
        QStringLiteral("--out"),  QStringLiteral("--pdf"),    QStringLiteral("--desk"),   QStringLiteral("--report"),
        QStringLiteral("--day"),  QStringLiteral("--min"),    QStringLiteral("--max"),    QStringLiteral("--contractor"),
        QStringLiteral("--xlsx"), QStringLiteral("--csv"),
    };
    return options;
}

std::optional<CommandArguments> ParseCommandArguments(const QStringList &arguments, QString &error)
{
    CommandArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
        } else if (argument.startsWith(QLatin1String("dr="), Qt::CaseInsensitive)) {
            parsed.dataRootArgument = argument;
        } else if (ValueOptions().contains(argument)) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("Opcja %1 wymaga wartości.").arg(argument);
                return std::nullopt;
            }
            const QString &value = arguments[++i];
            if (LooksLikeOption(value)) {
                error = QStringLiteral("Opcja %1 wymaga wartości, a podano \"%2\".").arg(argument, value);
                return std::nullopt;
            }
            if (parsed.options.contains(argument)) {
                error = QStringLiteral("Opcja %1 podana dwa razy.").arg(argument);
                return std::nullopt;
            }
            parsed.options.insert(argument, value);
        } else if (LooksLikeOption(argument)) {
            parsed.flags << argument;
        } else if (parsed.command.isEmpty()) {
            parsed.command = argument;
        } else {
            parsed.words << argument;
        }
    }
    if (parsed.options.contains(QStringLiteral("-C")))
        parsed.workingFolder = parsed.options.take(QStringLiteral("-C"));
    if (parsed.options.contains(QStringLiteral("--year"))) {
        parsed.year = parsed.options.take(QStringLiteral("--year"));
        static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
        if (!fourDigits.match(parsed.year).hasMatch()) {
            error = QStringLiteral("Rok \"%1\" nie jest rokiem (cztery cyfry).").arg(parsed.year);
            return std::nullopt;
        }
    }
    return parsed;
}

QString UnknownOptionsProblem(const CommandArguments &arguments, const QStringList &allowed, const QString &what)
{
    QStringList given = arguments.options.keys() + arguments.flags;
    given.sort();
    for (const QString &option : std::as_const(given))
        if (!allowed.contains(option))
            return QStringLiteral("%1 nie zna opcji %2.").arg(what, option);
    return QString();
}

QString CommandSyntaxProblem(const CommandArguments &arguments, const CommandSyntax &syntax)
{
    const QString what = QStringLiteral("Polecenie %1").arg(arguments.command);
    const QString unknown = UnknownOptionsProblem(arguments, syntax.valueOptions + syntax.flags, what);
    if (!unknown.isEmpty())
        return unknown;
    if (arguments.words.size() > syntax.maxWords)
        return QStringLiteral("%1: zbędny argument \"%2\".").arg(what, arguments.words.at(syntax.maxWords));
    if (arguments.words.size() < syntax.minWords)
        return QStringLiteral("%1: brak argumentów.").arg(what);
    return QString();
}
