#include "settings/company_input.h"

#include <QDate>
#include <QRegularExpression>

QString TextLengthProblem(const QString &typed, int size)
{
    if (size <= 0 || typed.size() <= size)
        return {};
    return QStringLiteral("Wpisany tekst ma %1 znaków, a pole mieści najwyżej %2.\rTekst nie został zapisany.")
        .arg(typed.size())
        .arg(size);
}

QString BirthDateProblem(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || QDate::fromString(text, QStringLiteral("dd-MM-yyyy")).isValid())
        return {};
    return QStringLiteral("Niepoprawna data urodzenia: %1\rProszę wpisać datę w postaci DD-MM-RRRR.").arg(typed);
}

QString FiscalYearStartProblem(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    static const QRegularExpression monthDay(QStringLiteral("^(\\d\\d)\\.(\\d\\d)$"));
    const QRegularExpressionMatch match = monthDay.match(text);
    // A year without 29 February: the start must come every year.
    if (match.hasMatch() && QDate(2001, match.captured(1).toInt(), match.captured(2).toInt()).isValid())
        return {};
    return QStringLiteral("Niepoprawna data początku okresu obrachunkowego: %1\r"
                          "Proszę wpisać miesiąc i dzień w postaci MM.DD, np. 07.01.")
        .arg(typed);
}

QString ArchiveIntervalProblem(const QString &typed)
{
    const QString text = typed.trimmed();
    bool number = false;
    const int days = text.toInt(&number);
    if (text.isEmpty() || (number && days >= 0))
        return {};
    return QStringLiteral("Okres aktualizacji archiwum musi być liczbą całkowitą dni, nie mniejszą niż 0: %1").arg(typed);
}
