#include "app/ui/form_printing_wiring.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "ledger/ui/main_window_commands.h"
#include "print/cash_report_printout.h"
#include "print/document_printout.h"
#include "print/system_printer_port.h"
#include "print/text_print_module.h"
#include "print/ui/form_preview.h"
#include "print/ui/qt_save_file_dialog.h"
#include "store/engine_error.h"
#include "store/data_module.h"

FormPrintingWiring::FormPrintingWiring(TDANE &data, Prompt &prompt, const GlobalState &state,
                                       std::function<TDRUK *()> textPrinter)
    : data_(data), prompt_(prompt), state_(state), textPrinter_(std::move(textPrinter))
{
}

FormPrintingWiring::~FormPrintingWiring() = default;

void FormPrintingWiring::ensureCreated()
{
    if (output_)
        return;
    saveDialog_ = std::make_unique<QtSaveFileDialog>(parent_);
    output_ = std::make_unique<QtFormOutput>(prompt_, *saveDialog_, parent_);
    // Forms go to the printer the print settings chose.
    output_->printing().currentPrinter = [this] {
        TDRUK *druk = textPrinter_ ? textPrinter_() : nullptr;
        return druk ? druk->systemPrinter().currentPrinter() : QString();
    };
    TDANE &d = data_;
    documents_ = std::make_unique<DocumentPrintout>(
        DocumentPrintTables{d.TNAG, d.TPOZ, d.TKASA, d.TWALUTA, d.TFIRMA, d.TPARA, d.TRKASA}, *output_, textPrinter_);
    report_ = std::make_unique<CashReportPrintout>(CashReportTables{d.TNAG, d.TRKASA, d.TKASA, d.TFIRMA, d.TPARA, d.TRAZEM},
                                                   *output_, prompt_, [this] { return state_.TodayText; });
}

namespace {

// A failure of the table engine while printing is shown, not lost.
template <typename F>
void ShowingFailures(Prompt &prompt, F &&work)
{
    try {
        work();
    } catch (const EngineError &error) {
        prompt.error(error.message());
    }
}

} // namespace

void FormPrintingWiring::wire(ExternalCommands &commands)
{
    commands.printDocuments = [this](const QList<Bookmark> &documents) {
        ensureCreated();
        ShowingFailures(prompt_, [&] { documents_->printFromList(documents); });
    };
    commands.printDocumentFromEditor = [this](const Bookmark &document) {
        ensureCreated();
        ShowingFailures(prompt_, [&] { documents_->printFromEditor(document); });
    };
    commands.printCashReport = [this] {
        ensureCreated();
        ShowingFailures(prompt_, [&] { report_->printReport(); });
    };
    commands.previewMonthlyReport = [this](const QString &monthText) {
        ensureCreated();
        ShowingFailures(prompt_, [&] { report_->previewMonth(monthText); });
    };
}
