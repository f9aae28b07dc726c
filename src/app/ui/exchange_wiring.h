#pragma once

#include <QWidget>
#include <functional>

class ContractorWiring;
struct ExternalCommands;
class TDANE;

// "Import dokumentów" and "Eksport dokumentów" of the main window open the exchange window over
// the window that parent() gives.
void WireExchangeCommands(ExternalCommands &commands, TDANE &data, std::function<QWidget *()> parent);

// The contractor catalogue's "Import katalogu kontrahentów" and "Export katalogu kontrahentów"
// open the exchange window over the catalogue, on the live contractor table.
void WireCatalogueExchange(ContractorWiring &contractors, TDANE &data);
