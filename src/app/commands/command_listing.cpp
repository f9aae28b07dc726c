#include "app/commands/command_handlers.h"
#include "app/commands/console_progress.h"
#include "app/commands/headless_tree.h"

#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "print/amount_range_listing.h"
#include "print/cash_state_listing.h"
#include "print/contractor_history_listing.h"
#include "print/forms/qt_system_printer.h"
#include "print/listing_context.h"
#include "print/period_listing.h"
#include "print/report_cash_state_listing.h"
#include "print/save_file_dialog.h"
#include "print/text_print_module.h"
#include "store/data_module.h"

#include <QDate>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

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

std::optional<QDate> DayOption(const CommandArguments &arguments, const QString &name, QTextStream &err)
{
    const QString text = arguments.option(name);
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid()) {
        err << QStringLiteral("Opcja %1: \"%2\" nie jest dniem (RRRR-MM-DD).").arg(name, text) << Qt::endl;
        return std::nullopt;
    }
    return day;
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

// The period of --from and --to; the working year without them.
std::optional<DateRange> Period(const CommandArguments &arguments, const GlobalState &state, QTextStream &err)
{
    const int year = state.CurrentYear.toInt();
    DateRange period{QDate(year, 1, 1), QDate(year, 12, 31)};
    if (arguments.options.contains(QStringLiteral("--from"))) {
        const auto from = DayOption(arguments, QStringLiteral("--from"), err);
        if (!from)
            return std::nullopt;
        period.from = *from;
    }
    if (arguments.options.contains(QStringLiteral("--to"))) {
        const auto to = DayOption(arguments, QStringLiteral("--to"), err);
        if (!to)
            return std::nullopt;
        period.to = *to;
    }
    return period;
}

// Runs the listing; false when its options were wrong (said on standard error).
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
        const auto day = DayOption(arguments, QStringLiteral("--day"), err);
        if (!day || !SelectDesk(d, arguments, err))
            return false;
        StanKasyNaDzien(context, *day);
    } else if (name == QLatin1String("amount-range")) {
        DokumentyZKwota(context, AmountRangeTexts{arguments.option(QStringLiteral("--min")),
                                                  arguments.option(QStringLiteral("--max"))});
    } else if (name == QLatin1String("receipts") || name == QLatin1String("payouts")) {
        const auto period = Period(arguments, tree.state(), err);
        if (!period || !SelectDesk(d, arguments, err))
            return false;
        DokumentyZaOkres(context, name == QLatin1String("receipts") ? QStringLiteral("KP") : QStringLiteral("KW"), *period);
    } else if (name == QLatin1String("history")) {
        const auto period = Period(arguments, tree.state(), err);
        if (!period)
            return false;
        const QString number = arguments.option(QStringLiteral("--contractor"));
        if (!d.TKontrah.isOpen() || number.isEmpty() || !d.TKontrah.findKey({number})) {
            err << QStringLiteral("Nie ma kontrahenta \"%1\".").arg(number) << Qt::endl;
            return false;
        }
        HistoriaKontrahenta(context, ListedContractorOf(d.TKontrah), *period);
    } else {
        err << QStringLiteral("Nieznany wykaz \"%1\".").arg(name) << Qt::endl;
        return false;
    }
    return true;
}

} // namespace

int RunListingCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const QString name = arguments.words.value(0);
    const bool pdf = arguments.has(QStringLiteral("--pdf"));
    const QString target = pdf && !arguments.option(QStringLiteral("--pdf")).isEmpty() ? arguments.option(QStringLiteral("--pdf"))
                                                                                        : arguments.option(QStringLiteral("--out"));
    if (name.isEmpty() || target.isEmpty()) {
        err << QStringLiteral("Użycie: kasa listing NAZWA [opcje] --out PLIK (lub --pdf PLIK)") << Qt::endl;
        return 2;
    }
    const QString path = QFileInfo(target).absoluteFilePath();
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    if (!pdf)
        tree.prompt().ignore(QStringLiteral("Uwaga nie posiadasz zainstalowanej drukarki !!"));
    // The user's own print settings stay as they are: the command's settings live in a scratch file.
    QTemporaryDir scratch;
    FixedFileName fileName(path);
    ConsoleProgress progress(err, ::isatty(STDERR_FILENO) == 1);
    QtSystemPrinter printer(tree.prompt(), fileName);
    if (pdf) {
        printer.printer().setOutputFormat(QPrinter::PdfFormat);
        printer.printer().setOutputFileName(path);
    }
    TDRUK druk(PrintModulePorts{tree.prompt(), progress, fileName, printer,
                                PrintSettingsStore(scratch.filePath(QStringLiteral("druk.ini")))});
    druk.TypWydruku = pdf ? drWINDOWS : drEKSPORT;
    druk.Pl = drLATIN852;
    druk.Bufor = true;
    ListingContext context = ListingContextOf(tree.ledger(), druk);
    const int errorsBefore = tree.prompt().errorCount();
    if (!RunListing(name, arguments, tree, context, err))
        return 2;
    if (tree.prompt().errorCount() > errorsBefore || !QFileInfo::exists(path)) {
        err << QStringLiteral("Wykaz nie został zapisany do %1.").arg(path) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Zapisano wykaz %1 do %2").arg(name, path) << Qt::endl;
    return 0;
}
