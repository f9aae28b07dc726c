#pragma once

#include "print/forms/qt_system_printer.h"
#include "print/print_settings_store.h"
#include "print/text_print_module.h"
#include "print/ui/qt_save_file_dialog.h"
#include "print/ui/print_module_window.h"

#include <QPointer>
#include <memory>

class Progress;
class Prompt;
class QWidget;

// The print module as the program runs it: TDRUK on the system's printers, the save dialog,
// the progress window, and the window "Moduł wydruku", which shows itself as the preview when
// a job ends with its lines in the buffer. Created once at start-up.
class PrintModule {
public:
    PrintModule(Prompt &prompt, Progress &progress, QWidget *windowParent = nullptr,
                PrintSettingsStore store = {});
    ~PrintModule();

    PrintModule(const PrintModule &) = delete;
    PrintModule &operator=(const PrintModule &) = delete;

    TDRUK &druk() { return *druk_; }
    TDRUKF &window() { return *window_; }

private:
    QtSaveFileDialog saveDialog_;
    QtSystemPrinter printer_;
    std::unique_ptr<TDRUK> druk_;
    // Owned here, or by windowParent when that goes first.
    QPointer<TDRUKF> window_;
};
