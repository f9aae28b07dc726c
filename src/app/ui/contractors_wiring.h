#pragma once

#include <QPointer>
#include <functional>
#include <memory>

class EnvelopePrintout;
class Prompt;
class QtFormOutput;
class QtSaveFileDialog;
class QWidget;
class TDANE;
class TKONF;
struct ExternalCommands;

// The contractor catalogue as the main window and the editors reach it. The catalogue window is
// created on first use over the main window and kept for the run.
class ContractorWiring {
public:
    // mainWindow gives the window the catalogue is created over (it exists by the first use).
    ContractorWiring(TDANE &data, Prompt &prompt, std::function<QWidget *()> mainWindow);
    ~ContractorWiring();

    // "Katalog Kontrahentów", the editors' catalogue buttons and "Historia kontrahenta".
    void wire(ExternalCommands &commands);

    TKONF &catalogue();

    // The catalogue's "Narzędzia" entries (the import/export window on TKontrah, import and
    // export mode) and "Adresowanie kopert"; given now or later, they reach the window whenever
    // it is created. Each entry stays disabled while its command is not given.
    void setCatalogueImport(std::function<void()> command);
    void setCatalogueExport(std::function<void()> command);
    void setEnvelopePrinting(std::function<void()> command);

private:
    TDANE &data_;
    Prompt &prompt_;
    std::function<QWidget *()> mainWindow_;
    QPointer<TKONF> catalogue_;
    std::function<void()> import_;
    std::function<void()> export_;
    std::function<void()> envelope_;
    // The envelope and where it prints, made on the first print.
    std::unique_ptr<QtSaveFileDialog> saveDialog_;
    std::unique_ptr<QtFormOutput> formOutput_;
    std::unique_ptr<EnvelopePrintout> envelopes_;
};
