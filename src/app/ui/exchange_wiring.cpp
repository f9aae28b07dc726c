#include "app/ui/exchange_wiring.h"

#include "app/ui/contractors_wiring.h"
#include "contractors/ui/tkonf.h"
#include "ledger/ui/main_window_commands.h"
#include "maintenance/ui/tfexpimp.h"
#include "store/tdane.h"

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
