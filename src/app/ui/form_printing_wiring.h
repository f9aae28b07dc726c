#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class DocumentPrintout;
class CashReportPrintout;
class GlobalState;
class Prompt;
class QtFormOutput;
class QtSaveFileDialog;
class TDANE;
class TDRUK;
struct ExternalCommands;

// The graphic printouts as the main window and the editors reach them: the documents (from the
// list and from an editor), the cash report with its totals per account, and the monthly report.
// The forms and the preview are made on first use and kept for the run.
class FormPrintingWiring {
public:
    FormPrintingWiring(TDANE &data, Prompt &prompt, const GlobalState &state, std::function<TDRUK *()> textPrinter);
    ~FormPrintingWiring();

    void wire(ExternalCommands &commands);
    // The window the previews and dialogs belong to.
    void setParentWindow(QWidget *window) { parent_ = window; }

private:
    void ensureCreated();

    TDANE &data_;
    Prompt &prompt_;
    const GlobalState &state_;
    std::function<TDRUK *()> textPrinter_;
    QPointer<QWidget> parent_;
    std::unique_ptr<QtSaveFileDialog> saveDialog_;
    std::unique_ptr<QtFormOutput> output_;
    std::unique_ptr<DocumentPrintout> documents_;
    std::unique_ptr<CashReportPrintout> report_;
};
