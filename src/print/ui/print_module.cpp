#include "print/ui/print_module.h"

PrintModule::PrintModule(Prompt &prompt, Progress &progress, QWidget *windowParent,
                         PrintSettingsStore store)
    : saveDialog_(windowParent),
      printer_(prompt, saveDialog_),
      druk_(std::make_unique<TDRUK>(PrintModulePorts{prompt, progress, saveDialog_, printer_,
                                                     std::move(store)})),
      window_(new TDRUKF(*druk_, &printer_.printer(), windowParent))
{
    druk_->setPreviewHandler([this] {
        if (window_)
            window_->showPreview();
    });
}

PrintModule::~PrintModule()
{
    druk_->setPreviewHandler({});
    delete window_.data();
}
