#include "app/commands/command_handlers.h"
#include "app/commands/console_progress.h"
#include "app/commands/headless_tree.h"

#include "base/global_state.h"
#include "base/money.h"
#include "ledger/cash_ledger.h"
#include "print/amount_range_listing.h"
#include "print/cash_state_listing.h"
#include "print/contractor_history_listing.h"
#include "print/forms/qt_system_printer.h"
#include "print/listing_context.h"
#include "print/listing_file.h"
#include "print/listing_sheet_files.h"
#include "print/period_listing.h"
#include "print/print_sink.h"
#include "print/report_cash_state_listing.h"
#include "print/save_file_dialog.h"
#include "print/text_print_module.h"
#include "store/data_module.h"

#include <QDate>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// Every file the print module would ask for is the one the command was given.
class FixedFileName final : public SaveFileDialog {
public:
    explicit FixedFileName(QString path) : path_(std::move(path)) {}
    std::optional<QString> askSaveFileName(const QString &, const QString &) override { return path_; }

private:
    QString path_;
};

// The day an option gives (RRRR-MM-DD); invalid when it gives none.
QDate DayOption(const CommandArguments &arguments, const QString &name)
{
    return QDate::fromString(arguments.option(name), QStringLiteral("yyyy-MM-dd"));
}

// Where a listing goes: one of these options names its file.
const QStringList &OutputOptions()
{
    static const QStringList options{QStringLiteral("--out"), QStringLiteral("--pdf"), QStringLiteral("--xlsx"),
                                     QStringLiteral("--csv")};
    return options;
}

// The options each listing takes besides its output.
const QHash<QString, QStringList> &OptionsOfListings()
{
    static const QHash<QString, QStringList> options{
        {QStringLiteral("cash-state"), {}},
        {QStringLiteral("report-state"), {QStringLiteral("--desk"), QStringLiteral("--report")}},
        {QStringLiteral("day-state"), {QStringLiteral("--desk"), QStringLiteral("--day")}},
        {QStringLiteral("amount-range"), {QStringLiteral("--min"), QStringLiteral("--max")}},
        {QStringLiteral("receipts"), {QStringLiteral("--desk"), QStringLiteral("--from"), QStringLiteral("--to")}},
        {QStringLiteral("payouts"), {QStringLiteral("--desk"), QStringLiteral("--from"), QStringLiteral("--to")}},
        {QStringLiteral("history"), {QStringLiteral("--contractor"), QStringLiteral("--from"), QStringLiteral("--to")}},
    };
    return options;
}

// Why the listing's command line cannot be run (an unknown listing, an option of another
// listing, a day or an amount that cannot be read), or empty.
QString ListingArgumentsProblem(const QString &name, const CommandArguments &arguments)
{
    if (!OptionsOfListings().contains(name))
        return QStringLiteral("Nieznany wykaz \"%1\".").arg(name);
    const QString unknown = UnknownOptionsProblem(
        arguments, OptionsOfListings().value(name) + OutputOptions(),
        QStringLiteral("Wykaz %1").arg(name));
    if (!unknown.isEmpty())
        return unknown;
    if (std::count_if(OutputOptions().cbegin(), OutputOptions().cend(), [&](const QString &option) { return arguments.has(option); }) != 1)
        return QStringLiteral("Podaj jedną z opcji --out PLIK, --pdf PLIK, --xlsx PLIK albo --csv PLIK.");
    if (name == QLatin1String("day-state") && !arguments.has(QStringLiteral("--day")))
        return QStringLiteral("Wykaz day-state wymaga opcji --day RRRR-MM-DD.");
    if (name == QLatin1String("history") && !arguments.has(QStringLiteral("--contractor")))
        return QStringLiteral("Wykaz history wymaga opcji --contractor NR.");
    for (const QString &option : {QStringLiteral("--day"), QStringLiteral("--from"), QStringLiteral("--to")})
        if (arguments.has(option)
            && !DayOption(arguments, option).isValid())
            return QStringLiteral("Opcja %1: \"%2\" nie jest dniem (RRRR-MM-DD).").arg(option, arguments.option(option));
    for (const QString &option : {QStringLiteral("--min"), QStringLiteral("--max")})
        if (arguments.has(option) && !Money::parse(arguments.option(option).remove(u' ')))
            return QStringLiteral("Opcja %1: \"%2\" nie jest kwotą.").arg(option, arguments.option(option));
    if (arguments.has(QStringLiteral("--report"))) {
        bool number = false;
        arguments.option(QStringLiteral("--report")).toInt(&number);
        if (!number)
            return QStringLiteral("Opcja --report: \"%1\" nie jest numerem raportu.").arg(arguments.option(QStringLiteral("--report")));
    }
    return QString();
}

// The desk named by --desk becomes the current one (the first desk without the option).
bool SelectDesk(TDANE &d, const CommandArguments &arguments, QTextStream &err)
{
    if (!d.TKASA.isOpen() || !d.TRKASA.isOpen() || !d.TNAG.isOpen()) {
        err << QStringLiteral("Tabele kasy nie są otwarte.") << Qt::endl;
        return false;
    }
    if (!arguments.options.contains(QStringLiteral("--desk"))) {
        d.TKASA.first();
        return !d.TKASA.isEmpty();
    }
    const QString desk = arguments.option(QStringLiteral("--desk"));
    if (!d.TKASA.findKey({desk})) {
        err << QStringLiteral("Nie ma kasy %1.").arg(desk) << Qt::endl;
        return false;
    }
    return true;
}

// The desk's report whose period holds the day (an open report runs on without an end).
bool SelectReportOfDay(TDANE &d, QDate day, QTextStream &err)
{
    const QString stored = day.toString(QStringLiteral("yyyy.MM.dd"));
    Bookmark covering;
    for (d.TRKASA.first(); !d.TRKASA.eof(); d.TRKASA.next()) {
        const QString first = d.TRKASA.asString(QStringLiteral("DATAOD")).trimmed();
        const QString last = d.TRKASA.asString(QStringLiteral("DATADO")).trimmed();
        if (!first.isEmpty() && first <= stored && (last.isEmpty() || stored <= last))
            covering = d.TRKASA.bookmark();
    }
    const bool found = covering.isValid();
    if (found)
        d.TRKASA.gotoBookmark(covering);
    if (!found)
        err << QStringLiteral("Dzień %1 nie należy do żadnego raportu kasy %2.")
                   .arg(day.toString(Qt::ISODate), d.TKASA.asString(QStringLiteral("SYMBOL")))
            << Qt::endl;
    return found;
}

// The report named by --report (the desk's last report without the option).
bool SelectReport(TDANE &d, const CommandArguments &arguments, QTextStream &err)
{
    if (!arguments.options.contains(QStringLiteral("--report"))) {
        d.TRKASA.last();
        if (d.TRKASA.isEmpty()) {
            err << QStringLiteral("Kasa nie ma raportów.") << Qt::endl;
            return false;
        }
        return true;
    }
    bool number = false;
    const int wanted = arguments.option(QStringLiteral("--report")).toInt(&number);
    for (d.TRKASA.first(); number && !d.TRKASA.eof(); d.TRKASA.next())
        if (d.TRKASA.asInteger(QStringLiteral("NUMER")) == wanted)
            return true;
    err << QStringLiteral("Nie ma raportu %1.").arg(arguments.option(QStringLiteral("--report"))) << Qt::endl;
    return false;
}

// The period of --from and --to (read before the tree was opened); the working year without them.
DateRange Period(const CommandArguments &arguments, const GlobalState &state)
{
    const int year = state.CurrentYear.toInt();
    DateRange period{QDate(year, 1, 1), QDate(year, 12, 31)};
    if (arguments.has(QStringLiteral("--from")))
        period.from = DayOption(arguments, QStringLiteral("--from"));
    if (arguments.has(QStringLiteral("--to")))
        period.to = DayOption(arguments, QStringLiteral("--to"));
    return period;
}

// Runs the listing; false when what its options name is not there (said on standard error).
bool RunListing(const QString &name, const CommandArguments &arguments, HeadlessTree &tree, ListingContext &context,
                QTextStream &err)
{
    TDANE &d = tree.data();
    if (name == QLatin1String("cash-state")) {
        StanKasy(context);
    } else if (name == QLatin1String("report-state")) {
        if (!SelectDesk(d, arguments, err) || !SelectReport(d, arguments, err))
            return false;
        d.TNAG.last();
        StanKasyDoDokumentu(context);
    } else if (name == QLatin1String("day-state")) {
        const QDate day = DayOption(arguments, QStringLiteral("--day"));
        if (!SelectDesk(d, arguments, err) || !SelectReportOfDay(d, day, err))
            return false;
        d.TNAG.last();
        StanKasyNaDzien(context, day);
    } else if (name == QLatin1String("amount-range")) {
        DokumentyZKwota(context, AmountRangeTexts{arguments.option(QStringLiteral("--min")),
                                                  arguments.option(QStringLiteral("--max"))});
    } else if (name == QLatin1String("receipts") || name == QLatin1String("payouts")) {
        if (!SelectDesk(d, arguments, err))
            return false;
        DokumentyZaOkres(context, name == QLatin1String("receipts") ? QStringLiteral("KP") : QStringLiteral("KW"),
                         Period(arguments, tree.state()));
    } else if (name == QLatin1String("history")) {
        const QString number = arguments.option(QStringLiteral("--contractor"));
        if (!d.TKontrah.isOpen() || number.isEmpty() || !d.TKontrah.findKey({number})) {
            err << QStringLiteral("Nie ma kontrahenta \"%1\".").arg(number) << Qt::endl;
            return false;
        }
        HistoriaKontrahenta(context, ListedContractorOf(d.TKontrah), Period(arguments, tree.state()));
    }
    return true;
}

// A listing to a text file prints on no printer: the system's printers are not looked up.
class NoSystemPrinter final : public SystemPrinterPort {
public:
    QStringList installedPrinters() const override { return {}; }
    QString currentPrinter() const override { return {}; }
    void selectPrinter(const QString &) override {}
    std::unique_ptr<PrintSink> openSink(const QString &, const PrintSettings &, PageCounters &) override { return nullptr; }
};

} // namespace

const QStringList &ListingValueOptions()
{
    static const QStringList options = [] {
        QStringList all = OutputOptions();
        for (const QStringList &own : OptionsOfListings())
            for (const QString &option : own)
                if (!all.contains(option))
                    all << option;
        return all;
    }();
    return options;
}

int RunListingCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const QString name = arguments.words.value(0);
    const QString problem = ListingArgumentsProblem(name, arguments);
    if (!problem.isEmpty()) {
        err << problem << Qt::endl;
        return 2;
    }
    const QString output = *std::find_if(OutputOptions().cbegin(), OutputOptions().cend(),
                                         [&](const QString &option) { return arguments.has(option); });
    const bool pdf = output == QLatin1String("--pdf");
    // A spreadsheet is made from the listing's lines once they are all there.
    const bool sheet = output == QLatin1String("--xlsx") || output == QLatin1String("--csv");
    const QString path = QFileInfo(arguments.option(output)).absoluteFilePath();
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        err << QStringLiteral("Folder %1 nie istnieje.").arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())) << Qt::endl;
        return 1;
    }
    HeadlessTree tree(arguments, err, clock);
    // The listings read the desks, their reports and documents, and the history the catalogue.
    QList<Table TDANE::*> tables{&TDANE::TNAG};
    if (name == QLatin1String("history"))
        tables.append(&TDANE::TKontrah);
    if (!tree.open(HeadlessTree::Tables::EveryOneOpen, tables))
        return 1;
    // The user's own print settings stay as they are: the command's settings live in a scratch file.
    QTemporaryDir scratch;
    const ListingFile file(path);
    FixedFileName fileName(file.scratch());
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    // Only a PDF goes through the system's printing; a text file needs none of it.
    NoSystemPrinter noPrinter;
    std::optional<QtSystemPrinter> pdfPrinter;
    if (pdf) {
        pdfPrinter.emplace(tree.prompt(), fileName);
        pdfPrinter->printer().setOutputFormat(QPrinter::PdfFormat);
        pdfPrinter->printer().setOutputFileName(file.scratch());
    }
    SystemPrinterPort &printer = pdfPrinter ? static_cast<SystemPrinterPort &>(*pdfPrinter) : noPrinter;
    TDRUK druk(PrintModulePorts{tree.prompt(), progress, fileName, printer,
                                PrintSettingsStore(scratch.filePath(QStringLiteral("druk.ini")))});
    druk.TypWydruku = pdf ? drWINDOWS : drEKSPORT;
    druk.Pl = drLATIN852;
    druk.Bufor = !sheet;
    ListingContext context = ListingContextOf(tree.ledger(), druk);
    const int errorsBefore = tree.prompt().errorCount();
    if (!RunListing(name, arguments, tree, context, err))
        return 1;
    if (sheet && tree.prompt().errorCount() == errorsBefore) {
        const QString failed = output == QLatin1String("--xlsx") ? WriteListingXlsx(druk.preview(), file.scratch())
                                                                 : WriteListingCsv(druk.preview(), file.scratch());
        if (!failed.isEmpty()) {
            err << failed << Qt::endl;
            QFile::remove(file.scratch());
        }
    }
    if (tree.prompt().errorCount() > errorsBefore || !file.putInPlace()) {
        err << QStringLiteral("Wykaz nie został zapisany do %1.").arg(QDir::toNativeSeparators(path)) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Zapisano wykaz %1 do %2").arg(name, QDir::toNativeSeparators(path)) << Qt::endl;
    return 0;
}
