#include "app/ui/forms_export.h"

#include "base/clock.h"
#include "base/date_state.h"
#include "base/global_state.h"
#include "base/process_environment.h"
#include "contractors/envelope_form.h"
#include "contractors/envelope_margins.h"
#include "ledger/cash_ledger.h"
#include "ledger/month_dialog.h"
#include "print/cash_report_printout.h"
#include "print/document_printout.h"
#include "print/forms/form_painter.h"
#include "store/engine_error.h"
#include "store/session.h"
#include "store/data_module.h"
#include "widgets/qt_prompt.h"

#include <QDir>
#include <QScopeGuard>
#include <QTextStream>
#include <memory>

namespace {

// Writes each form it is given to OUTDIR/<form>.pdf (a second one of the same name gets a suffix).
class PdfFolderOutput final : public FormOutput {
public:
    PdfFolderOutput(QString folder, QTextStream &out, QTextStream &err) : folder_(std::move(folder)), out_(out), err_(err) {}

    void preview(ReportForm &form) override { write(form, takeName(form)); }
    void print(ReportForm &form) override { write(form, takeName(form)); }

    QString takeName(const ReportForm &form)
    {
        const QString name = nextName.isEmpty() ? form.name : nextName;
        nextName.clear();
        return name;
    }

    void write(ReportForm &form, const QString &name)
    {
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".pdf"));
        QString error;
        const FormLayout layout = LayOutForm(form);
        if (!WriteLayoutPdf(layout, path, name, &error)) {
            err_ << path << ": " << error << Qt::endl;
            ok = false;
            return;
        }
        out_ << path << " (" << layout.pages.size() << ")" << Qt::endl;
    }

    QString nextName;
    bool ok = true;

private:
    QString folder_;
    QTextStream &out_;
    QTextStream &err_;
};

class FixedMonth final : public MonthDialog {
public:
    explicit FixedMonth(QString month) : month_(std::move(month)) {}
    std::optional<QString> askMonth(const QString &) override { return month_; }

private:
    QString month_;
};

// The first document of this kind in the desk's reports, from the last report back.
bool FindDocument(TDANE &d, const QStringList &kinds)
{
    for (d.TRKASA.last(); !d.TRKASA.bof(); d.TRKASA.prior()) {
        for (d.TNAG.first(); !d.TNAG.eof(); d.TNAG.next())
            if (kinds.contains(d.TNAG.asString(QStringLiteral("RD"))))
                return true;
    }
    return false;
}

} // namespace

int RunFormsExport(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.size() < 2) {
        err << "kasa --forms OUTDIR" << Qt::endl;
        return 2;
    }
    const QString folder = QDir(arguments.at(1)).absolutePath();
    QDir().mkpath(folder);
    SystemClock clock;
    QtPrompt prompt;
    GlobalState &state = globalState();
    InitDateState(state, clock);
    const ProcessEnvironment environment = ProcessEnvironment::fromProcess();
    Session session;
    session.setWorkingFolder(environment.workingFolder);
    try {
        TDANE d(DataModuleContext{session, prompt, state, environment});
        d.runOpenSequence();
        if (state.StartupStop) {
            err << "Nie można otworzyć danych" << Qt::endl;
            return 1;
        }
        CashLedger ledger(LedgerTables{d.TPARA, d.TKASA, d.TRKASA, d.TNAG, d.TPOZ, d.KNAG, d.TSLO, d.TKONTA, d.TWALUTA},
                          prompt, state, clock);
        // The forms are drawn with the stamp and the account panel on; the installation's own
        // parameters are put back whatever happens.
        d.TPARA.first();
        const QString options = d.TPARA.asString(QStringLiteral("P2"));
        const bool accounts = d.TPARA.asBoolean(QStringLiteral("B3"));
        const auto setParameters = [&](const QString &p2, bool b3) {
            d.TPARA.first();
            d.TPARA.edit();
            d.TPARA.setString(QStringLiteral("P2"), p2);
            d.TPARA.setBoolean(QStringLiteral("B3"), b3);
            d.TPARA.post();
        };
        setParameters(QStringLiteral("00110"), true);
        const auto putBack = qScopeGuard([&] {
            try {
                d.TPARA.cancel();
                setParameters(options, accounts);
            } catch (const EngineError &error) {
                err << error.message() << Qt::endl;
            }
        });
        d.TKASA.first();

        PdfFolderOutput output(folder, out, err);
        DocumentPrintout documents(DocumentPrintTables{d.TNAG, d.TPOZ, d.TKASA, d.TWALUTA, d.TFIRMA, d.TPARA, d.TRKASA},
                                   output, [] { return nullptr; });
        const struct {
            QStringList kinds;
            QList<DocumentFormId> forms;
        } kinds[] = {
            {{"KP", "KPD"}, {DocumentFormId::TKasaR11, DocumentFormId::TKasaR1, DocumentFormId::TKasaR41}},
            {{"KW", "KWD"}, {DocumentFormId::TKasaR31, DocumentFormId::TKasaR3, DocumentFormId::TKasaR32}},
            {{"RZ"}, {DocumentFormId::TKasar5}},
            {{"WZ"}, {DocumentFormId::TKasar6}},
        };
        for (const auto &kind : kinds) {
            if (!FindDocument(d, kind.kinds)) {
                err << "Brak dokumentu " << kind.kinds.join('/') << Qt::endl;
                continue;
            }
            const DocumentText text = ReadDocumentText(
                DocumentTextSources{d.TNAG, d.TPOZ, d.TKASA, d.TWALUTA, d.TFIRMA, d.TPARA});
            FillDocumentForms(documents.forms(), text, d.TNAG.asString(QStringLiteral("OKOD")));
            for (DocumentFormId id : kind.forms) {
                ReportForm &form = documents.forms().form(id);
                output.write(form, form.name);
            }
        }

        // The report before the last one is a whole month's.
        d.TRKASA.last();
        d.TRKASA.prior();
        CashReportPrintout report(CashReportTables{d.TNAG, d.TRKASA, d.TKASA, d.TFIRMA, d.TPARA, d.TRAZEM}, output, prompt,
                                  [&] { return state.TodayText; });
        report.printReport();
        const QString month = d.TRKASA.asString(QStringLiteral("DATAOD")).mid(5, 2);
        FixedMonth dialog(month.isEmpty() ? state.CurrentMonth : month);
        output.nextName = QStringLiteral("TKasaR2-miesieczny");
        ledger.reports().monthlyReport(dialog, [&](const QString &monthText) {
            report.previewMonth(monthText);
        });

        // The envelope of the first contractor, with the installation's margins.
        d.TKontrah.first();
        if (d.TKontrah.isEmpty()) {
            err << "Brak kontrahenta do koperty" << Qt::endl;
        } else {
            const TableRecord contractor(d.TKontrah);
            const std::unique_ptr<ReportForm> envelope = CreateEnvelopeForm(contractor);
            ApplyEnvelopeMargins(*envelope, ReadEnvelopeMargins(MarginsFilePath(environment.workingFolder)).margins);
            output.write(*envelope, QStringLiteral("koperta"));
        }
        return output.ok ? 0 : 1;
    } catch (const EngineError &error) {
        err << error.message() << Qt::endl;
        return 1;
    }
}
