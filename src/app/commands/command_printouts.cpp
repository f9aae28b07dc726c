#include "app/commands/command_handlers.h"
#include "app/commands/headless_tree.h"

#include "base/global_state.h"
#include "print/cash_report_printout.h"
#include "print/document_printout.h"
#include "print/forms/form_painter.h"
#include "store/data_module.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

// Every form the printout hands over goes into the one PDF file, in order.
class PdfFileOutput final : public FormOutput {
public:
    PdfFileOutput(QString path, QTextStream &err) : path_(std::move(path)), err_(err) {}

    void preview(ReportForm &form) override { add(form); }
    void print(ReportForm &form) override { add(form); }

    void add(ReportForm &form)
    {
        FormLayout layout = LayOutForm(form);
        if (layouts_ == 0)
            whole_ = layout;
        else
            whole_.pages += layout.pages;
        ++layouts_;
    }

    bool write(const QString &title)
    {
        if (layouts_ == 0) {
            err_ << QStringLiteral("Nie ma nic do wydrukowania.") << Qt::endl;
            return false;
        }
        QString error;
        if (!WriteLayoutPdf(whole_, path_, title, &error)) {
            err_ << path_ << ": " << error << Qt::endl;
            return false;
        }
        return true;
    }
    int pages() const { return int(whole_.pages.size()); }

private:
    QString path_;
    QTextStream &err_;
    FormLayout whole_;
    int layouts_ = 0;
};

QString PdfPath(const CommandArguments &arguments)
{
    const QString pdf = arguments.option(QStringLiteral("--pdf"));
    return pdf.isEmpty() ? QString() : QFileInfo(pdf).absoluteFilePath();
}

// The form of a document's kind that the print options choose, or the kind's first form when
// they choose the text layout.
std::optional<DocumentFormId> FormOfKind(const QString &kind, const QString &printOptions)
{
    const DocumentPrintChoice choice = ChooseDocumentPrintout(kind, printOptions, PrintOrigin::List);
    if (choice.form)
        return choice.form;
    if (kind == QLatin1String("KP") || kind == QLatin1String("KPD"))
        return DocumentFormId::TKasaR11;
    if (kind == QLatin1String("KW") || kind == QLatin1String("KWD"))
        return DocumentFormId::TKasaR31;
    if (kind == QLatin1String("RZ"))
        return DocumentFormId::TKasar5;
    if (kind == QLatin1String("WZ"))
        return DocumentFormId::TKasar6;
    return std::nullopt;
}

// Makes the document of this kind and number (of the desk, when given) the current one.
bool FindDocument(TDANE &d, const QString &kind, const QString &number, const QString &desk)
{
    for (d.TKASA.first(); !d.TKASA.eof(); d.TKASA.next()) {
        if (!desk.isEmpty() && d.TKASA.asString(QStringLiteral("SYMBOL")) != desk)
            continue;
        for (d.TRKASA.first(); !d.TRKASA.eof(); d.TRKASA.next())
            for (d.TNAG.first(); !d.TNAG.eof(); d.TNAG.next())
                if (d.TNAG.asString(QStringLiteral("RD")) == kind && d.TNAG.asString(QStringLiteral("NRD")) == number)
                    return true;
    }
    return false;
}

} // namespace

int RunPrintCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const QString kind = arguments.words.value(0).toUpper();
    const QString number = arguments.words.value(1);
    const QString path = PdfPath(arguments);
    if (kind.isEmpty() || number.isEmpty() || path.isEmpty()) {
        err << QStringLiteral("Użycie: kasa print RODZAJ NUMER [--desk KASA] --pdf PLIK") << Qt::endl;
        return 2;
    }
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    TDANE &d = tree.data();
    const std::optional<DocumentFormId> form = FormOfKind(kind, d.TPARA.asString(QStringLiteral("P2")));
    if (!form) {
        err << QStringLiteral("Dokumenty rodzaju %1 nie mają formularza.").arg(kind) << Qt::endl;
        return 2;
    }
    if (!FindDocument(d, kind, number, arguments.option(QStringLiteral("--desk")))) {
        err << QStringLiteral("Nie ma dokumentu %1 %2.").arg(kind, number) << Qt::endl;
        return 1;
    }
    PdfFileOutput output(path, err);
    DocumentPrintout printout(DocumentPrintTables{d.TNAG, d.TPOZ, d.TKASA, d.TWALUTA, d.TFIRMA, d.TPARA, d.TRKASA},
                              output, [] { return nullptr; });
    const DocumentText text = ReadDocumentText(DocumentTextSources{d.TNAG, d.TPOZ, d.TKASA, d.TWALUTA, d.TFIRMA, d.TPARA});
    FillDocumentForms(printout.forms(), text, d.TNAG.asString(QStringLiteral("OKOD")));
    output.add(printout.forms().form(*form));
    if (!output.write(kind + u' ' + number))
        return 1;
    out << QStringLiteral("Zapisano dokument %1 %2 do %3 (stron: %4)").arg(kind, number, path).arg(output.pages()) << Qt::endl;
    return 0;
}

int RunReportCommand(const CommandArguments &arguments, QTextStream &out, QTextStream &err, const Clock &clock)
{
    const QString desk = arguments.words.value(0);
    bool isNumber = false;
    const int number = arguments.words.value(1).toInt(&isNumber);
    const QString path = PdfPath(arguments);
    if (desk.isEmpty() || !isNumber || path.isEmpty()) {
        err << QStringLiteral("Użycie: kasa report KASA NUMER --pdf PLIK") << Qt::endl;
        return 2;
    }
    HeadlessTree tree(arguments, err, clock);
    if (!tree.open())
        return 1;
    TDANE &d = tree.data();
    if (!d.TKASA.findKey({desk})) {
        err << QStringLiteral("Nie ma kasy %1.").arg(desk) << Qt::endl;
        return 1;
    }
    bool found = false;
    for (d.TRKASA.first(); !d.TRKASA.eof(); d.TRKASA.next()) {
        if (d.TRKASA.asInteger(QStringLiteral("NUMER")) == number) {
            found = true;
            break;
        }
    }
    if (!found) {
        err << QStringLiteral("Nie ma raportu %1 kasy %2.").arg(number).arg(desk) << Qt::endl;
        return 1;
    }
    PdfFileOutput output(path, err);
    CashReportPrintout report(CashReportTables{d.TNAG, d.TRKASA, d.TKASA, d.TFIRMA, d.TPARA, d.TRAZEM}, output,
                              tree.prompt(), [&] { return tree.state().TodayText; });
    report.printReport();
    if (!output.write(QStringLiteral("Raport kasowy %1/%2").arg(desk).arg(number)))
        return 1;
    out << QStringLiteral("Zapisano raport %1/%2 do %3 (stron: %4)").arg(desk).arg(number).arg(path).arg(output.pages())
        << Qt::endl;
    return 0;
}
