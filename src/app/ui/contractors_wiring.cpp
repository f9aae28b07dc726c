#include "app/ui/contractors_wiring.h"

#include "contractors/envelope_form.h"
#include "contractors/envelope_margins.h"
#include "contractors/ui/contractor_catalogue_window.h"
#include "print/ui/form_preview.h"
#include "print/ui/qt_save_file_dialog.h"
#include "ledger/ui/main_window_commands.h"
#include "store/data_change_permission.h"
#include "store/data_module.h"

ContractorWiring::ContractorWiring(TDANE &data, Prompt &prompt, std::function<QWidget *()> mainWindow)
    : data_(data)
    , prompt_(prompt)
    , mainWindow_(std::move(mainWindow))
{
    envelope_ = [this] {
        if (!envelopes_) {
            QWidget *parent = catalogue_.data();
            saveDialog_ = std::make_unique<QtSaveFileDialog>(parent);
            formOutput_ = std::make_unique<QtFormOutput>(prompt_, *saveDialog_, parent);
            envelopes_ = std::make_unique<EnvelopePrintout>(data_.TKontrah, *formOutput_,
                                                            MarginsFilePath(data_.environment().workingFolder));
        }
        envelopes_->print();
    };
}

ContractorWiring::~ContractorWiring() = default;

TKONF &ContractorWiring::catalogue()
{
    if (!catalogue_) {
        const CatalogueServices services{
            .contractors = data_.TKontrah,
            .descriptions = data_.TKONTRAHo,
            .prompt = prompt_,
            .workingFolder = data_.environment().workingFolder,
            .descriptionFile = [this] { return data_.yearPath(QStringLiteral("FIN\\KONTRAHo.DB")); },
            .mayChangeData = [this] { return MayChangeData(data_.state()); },
        };
        // The main window owns the catalogue and takes it down with itself.
        catalogue_ = new TKONF(services, mainWindow_ ? mainWindow_() : nullptr);
        catalogue_->setCatalogueImport(import_);
        catalogue_->setCatalogueExport(export_);
        catalogue_->setEnvelopePrinting(envelope_);
    }
    return *catalogue_;
}

void ContractorWiring::wire(ExternalCommands &commands)
{
    commands.chooseContractor = [this] { return catalogue().showCatalogue() == CatalogueResult::Transfer; };
    commands.contractorCatalogue = [this] { catalogue().showCatalogue(); };
}

void ContractorWiring::setCatalogueImport(std::function<void()> command)
{
    import_ = std::move(command);
    if (catalogue_)
        catalogue_->setCatalogueImport(import_);
}

void ContractorWiring::setCatalogueExport(std::function<void()> command)
{
    export_ = std::move(command);
    if (catalogue_)
        catalogue_->setCatalogueExport(export_);
}

void ContractorWiring::setEnvelopePrinting(std::function<void()> command)
{
    envelope_ = std::move(command);
    if (catalogue_)
        catalogue_->setEnvelopePrinting(envelope_);
}
