#pragma once

#include <QPointer>
#include <functional>

class Prompt;
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

    // "Katalog Kontrahentów", the editors' catalogue buttons and "Historia kontrahenta".
    void wire(ExternalCommands &commands);

    TKONF &catalogue();

private:
    TDANE &data_;
    Prompt &prompt_;
    std::function<QWidget *()> mainWindow_;
    QPointer<TKONF> catalogue_;
};
