#include "app/ui/exchange_wiring.h"

#include "app/ui/contractors_wiring.h"
#include "contractors/ui/contractor_catalogue_window.h"
#include "ledger/ui/main_window_commands.h"
#include "maintenance/ui/import_export_window.h"
#include "store/data_module.h"

void WireExchangeCommands(ExternalCommands &commands, TDANE &data, std::function<QWidget *()> parent)
{
    commands.importDocuments = [&data, parent] { OpenDocumentExchange(data, ExchangeMode::Import, parent()); };
    commands.exportDocuments = [&data, parent] { OpenDocumentExchange(data, ExchangeMode::Export, parent()); };
}

void WireCatalogueExchange(ContractorWiring &contractors, TDANE &data)
{
    contractors.setCatalogueImport(
        [&contractors, &data] { OpenContractorExchange(data, ExchangeMode::Import, &contractors.catalogue()); });
    contractors.setCatalogueExport(
        [&contractors, &data] { OpenContractorExchange(data, ExchangeMode::Export, &contractors.catalogue()); });
}
