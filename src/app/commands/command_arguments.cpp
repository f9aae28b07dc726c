#include "app/commands/command_arguments.h"

#include <QRegularExpression>

const QStringList &ValueOptions()
{
    static const QStringList options{
        QStringLiteral("-C"),     QStringLiteral("--year"),   QStringLiteral("--to"),     QStringLiteral("--from"),
        QStringLiteral("--out"),  QStringLiteral("--pdf"),    QStringLiteral("--desk"),   QStringLiteral("--report"),
        QStringLiteral("--day"),  QStringLiteral("--min"),    QStringLiteral("--max"),    QStringLiteral("--contractor"),
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
            parsed.options.insert(argument, arguments[++i]);
        } else if (argument.startsWith(QLatin1String("--"))) {
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
