#include "app/commands/command_tool.h"

#include "app/commands/command_arguments.h"
#include "app/commands/command_handlers.h"
#include "store/engine_error.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextStream>

#include <functional>

namespace {

using Handler = std::function<int(const CommandArguments &, QTextStream &, QTextStream &, const Clock &)>;

struct ToolCommand {
    QString usage;
    QString help;
    Handler run;
    CommandSyntax syntax;
};

const QString kCommonOptions = QStringLiteral(
    "Opcje wspólne:\n"
    "  -C FOLDER      folder roboczy instalacji (domyślnie bieżący)\n"
    "  dr=ŚCIEŻKA     folder danych (spacja zapisana jako _), jak przy uruchomieniu programu\n"
    "  --year RRRR    rok danych (domyślnie rok wybierany przez program)\n"
    "  --help         opis polecenia\n");

const QList<std::pair<QString, ToolCommand>> &Commands()
{
    static const QList<std::pair<QString, ToolCommand>> commands{
        {QStringLiteral("archive"),
         {QStringLiteral("kasa archive [--to FOLDER]"),
          QStringLiteral("Archiwizuje dane (domyślnie do folderu ARCHIWUM w folderze danych, a gdy dane są na\n"
                         "serwerze: w folderze roboczym) i zapisuje datę archiwum. Tabele są kopiowane spójnie\n"
                         "także wtedy, gdy program pracuje.\n"),
          RunArchiveCommand, {{QStringLiteral("--to")}, {}, 0, 0}}},
        {QStringLiteral("restore"),
         {QStringLiteral("kasa restore --from FOLDER --yes"),
          QStringLiteral("Odtwarza dane z archiwum. Niczego nie zmienia, gdy któraś tabela archiwum jest\n"
                         "uszkodzona albo otwarta w innym programie.\n"),
          RunRestoreCommand, {{QStringLiteral("--from")}, {QStringLiteral("--yes")}, 0, 0}}},
        {QStringLiteral("new-year"),
         {QStringLiteral("kasa new-year [--from RRRR]"),
          QStringLiteral("Otwiera bazy na rok następny po podanym (domyślnie po roku danych).\n"), RunNewYearCommand, {{QStringLiteral("--from")}, {}, 0, 0}}},
        {QStringLiteral("export"),
         {QStringLiteral("kasa export documents|contractors PLIK"),
          QStringLiteral("Zapisuje dokumenty roku albo katalog kontrahentów do pliku tekstowego (kolumny\n"
                         "rozdzielone tabulatorem, Windows-1250), jak okno \"Export danych\".\n"),
          RunExportCommand, {{}, {}, 2, 2}}},
        {QStringLiteral("import"),
         {QStringLiteral("kasa import documents|contractors PLIK"),
          QStringLiteral("Wczytuje plik jak okno \"Import danych\": wiersze o istniejącym kluczu są zmieniane,\n"
                         "pozostałe dopisywane, wszystko w jednej transakcji; błędna wartość zatrzymuje import\n"
                         "z numerem wiersza i kolumną, niczego nie zmieniając.\n"),
          RunImportCommand, {{}, {}, 2, 2}}},
        {QStringLiteral("migrate"),
         {QStringLiteral("kasa migrate --to pg:USŁUGA|postgresql://...|FOLDER"),
          QStringLiteral("Przenosi dane firmy (każdy rok i każdą tabelę) z plików do pustej bazy danych na serwerze\n"
                         "albo z serwera do pustego folderu. Kopia jest porównywana ze źródłem wiersz po wierszu\n"
                         "i zostaje tylko wtedy, gdy jest taka sama; inaczej nic się nie zmienia.\n"),
          RunMigrateCommand, {{QStringLiteral("--to")}, {}, 0, 0}}},
        {QStringLiteral("migrate-paradox"),
         {QStringLiteral("kasa migrate-paradox --from STARY_FOLDER_ROBOCZY [dr=STARY_FOLDER_DANYCH] --to NOWY_FOLDER"),
          QStringLiteral("Przenosi instalację, której tabele są plikami Paradox (KASA.DB, BAZA\\USER.DB, FIRMA.DB i foldery\n"
                         "lat), do nowego folderu w tabelach programu. Stara instalacja jest tylko czytana; nowa\n"
                         "powstaje obok i dostaje swoją nazwę dopiero wtedy, gdy każda tabela została przeniesiona,\n"
                         "a liczby wierszy, salda kas, raporty i sumy dokumentów są takie same w starej i nowej.\n"),
          RunMigrateParadoxCommand, {{QStringLiteral("--from"), QStringLiteral("--to")}, {}, 0, 0}}},
        {QStringLiteral("check"),
         {QStringLiteral("kasa check"),
          QStringLiteral("Otwiera bez zapisu każdą tabelę instalacji, sprawdza jej spójność i strukturę.\n"
                         "Kod wyjścia 0 tylko wtedy, gdy wszystkie tabele są w porządku.\n"),
          [](const CommandArguments &a, QTextStream &o, QTextStream &e, const Clock &) { return RunCheckCommand(a, o, e); },
          {}}},
        {QStringLiteral("repair"),
         {QStringLiteral("kasa repair"), QStringLiteral("Naprawa indeksów tabel otwieranych przez program.\n"),
          RunRepairCommand, {}}},
        {QStringLiteral("listing"),
         {QStringLiteral("kasa listing NAZWA [opcje] --out PLIK | --pdf PLIK | --xlsx PLIK | --csv PLIK"),
          QStringLiteral("Wykaz do pliku tekstowego (Windows-1250) albo do PDF. Nazwy i ich opcje:\n"
                         "  cash-state                                 stan wszystkich kas\n"
                         "  report-state --desk KASA [--report NR]     stan raportu (domyślnie ostatniego)\n"
                         "  day-state --desk KASA --day RRRR-MM-DD     stan kasy na dzień\n"
                         "  amount-range --min KWOTA --max KWOTA       dokumenty z kwotą od / do (0: bez granicy)\n"
                         "  receipts|payouts [--desk KASA] [--from RRRR-MM-DD] [--to RRRR-MM-DD]\n"
                         "                                             wpłaty lub wypłaty okresu\n"
                         "  history --contractor NR [--from ...] [--to ...]  historia kontrahenta\n"),
          RunListingCommand, {ListingValueOptions(), {}, 1, 1}}},
        {QStringLiteral("print"),
         {QStringLiteral("kasa print RODZAJ NUMER [--desk KASA] --pdf PLIK"),
          QStringLiteral("Dokument (KP, KW, KPD, KWD, WZ, RZ) na formularzu wybranym w parametrach, do PDF.\n"),
          RunPrintCommand, {{QStringLiteral("--desk"), QStringLiteral("--pdf")}, {}, 2, 2}}},
        {QStringLiteral("report"),
         {QStringLiteral("kasa report KASA NUMER --pdf PLIK"),
          QStringLiteral("Raport kasowy (z zestawieniem kont, gdy włączone w parametrach) do PDF.\n"), RunReportCommand, {{QStringLiteral("--pdf")}, {}, 2, 2}}},
    };
    return commands;
}

const ToolCommand *Find(const QString &word)
{
    for (const auto &[name, command] : Commands())
        if (name == word)
            return &command;
    return nullptr;
}

void ShowUsage(QTextStream &out)
{
    out << QStringLiteral("Kasa: polecenia bez okna\n\n");
    for (const auto &[name, command] : Commands())
        out << QStringLiteral("  %1\n").arg(command.usage);
    out << QStringLiteral("  kasa --init FOLDER [--demo] [--year RRRR]   nowa instalacja (--demo: z danymi przykładowymi)\n"
                          "  kasa --forms FOLDER                        (w folderze roboczym) każdy formularz do PDF\n")
        << QStringLiteral("\n") << kCommonOptions
        << QStringLiteral("\nKod wyjścia: 0 wykonano, 1 nie wykonano (przyczyna na standardowym wyjściu błędów),\n"
                          "2 błędny wiersz polecenia.\n"
                          "\nPrzykład (archiwum co noc o 22:30, crontab; program zainstalowany z --prefix /opt/kasa):\n"
                          "  30 22 * * *  /opt/kasa/bin/kasa archive -C /srv/kasa >> /var/log/kasa.log 2>&1\n")
        << Qt::flush;
}

// Arguments the windowed program takes first: "rok YYYY", a year, "nowy ..." from another
// program, the forms written to files and the new installation, and Qt's own options.
bool StartsTheWindowedProgram(const QString &argument)
{
    static const QStringList words{QStringLiteral("rok"), QStringLiteral("nowy"), QStringLiteral("--forms"),
                                   QStringLiteral("--init")};
    static const QStringList qtOptions{QStringLiteral("-platform"), QStringLiteral("-style"), QStringLiteral("-display"),
                                       QStringLiteral("-geometry"), QStringLiteral("-qwindowgeometry"),
                                       QStringLiteral("-reverse"), QStringLiteral("-stylesheet")};
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}$"));
    return words.contains(argument.toLower()) || qtOptions.contains(argument) || year.match(argument).hasMatch();
}

} // namespace

bool IsDataChangingCommand(const QString &word)
{
    static const QStringList changing{QStringLiteral("archive"), QStringLiteral("restore"), QStringLiteral("new-year"),
                                      QStringLiteral("import"), QStringLiteral("repair")};
    return changing.contains(word);
}

bool IsToolCommandLine(const QStringList &arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument.startsWith(QLatin1String("dr="), Qt::CaseInsensitive))
            continue;
        if (ValueOptions().contains(argument)) {
            ++i;
            continue;
        }
        // Anything else is a command, known or not: an unknown one gets the usage, not a window.
        return !StartsTheWindowedProgram(argument);
    }
    return false;
}

bool ToolCommandDraws(const QStringList &arguments)
{
    QString error;
    const std::optional<CommandArguments> parsed = ParseCommandArguments(arguments, error);
    if (!parsed)
        return true;
    if (parsed->command == QLatin1String("export") || parsed->command == QLatin1String("import"))
        return false;
    return parsed->command != QLatin1String("listing") || parsed->has(QStringLiteral("--pdf"));
}

int RunCommandTool(const QStringList &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    QString error;
    const std::optional<CommandArguments> parsed = ParseCommandArguments(arguments, error);
    if (!parsed) {
        err << error << Qt::endl;
        return 2;
    }
    if (parsed->command.isEmpty() || parsed->command == QLatin1String("help")) {
        if (parsed->help || parsed->command == QLatin1String("help")) {
            ShowUsage(out);
            return 0;
        }
        err << QStringLiteral("Nieznana opcja %1. kasa --help wymienia polecenia.")
                   .arg(parsed->flags.value(0, parsed->options.keys().value(0)))
            << Qt::endl;
        ShowUsage(err);
        return 2;
    }
    const ToolCommand *command = Find(parsed->command);
    if (!command) {
        err << QStringLiteral("Nieznane polecenie \"%1\".").arg(parsed->command) << Qt::endl;
        ShowUsage(err);
        return 2;
    }
    if (parsed->help) {
        out << QStringLiteral("Użycie: %1\n\n%2\n%3").arg(command->usage, command->help, kCommonOptions) << Qt::flush;
        return 0;
    }
    const QString problem = CommandSyntaxProblem(*parsed, command->syntax);
    if (!problem.isEmpty()) {
        err << problem << Qt::endl << QStringLiteral("Użycie: %1").arg(command->usage) << Qt::endl;
        return 2;
    }
    try {
        return command->run(*parsed, out, err, clock);
    } catch (const EngineError &error) {
        err << QString(error.message()).replace(u'\r', u'\n') << Qt::endl;
    } catch (const Abort &) {
        // a refusal has said why
    }
    return 1;
}
