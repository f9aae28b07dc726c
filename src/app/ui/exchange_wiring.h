#pragma once

#include <QWidget>
#include <functional>

struct ExternalCommands;
class TDANE;

// "Import dokumentów" and "Eksport dokumentów" of the main window open the exchange window over
// the window that parent() gives.
void WireExchangeCommands(ExternalCommands &commands, TDANE &data, std::function<QWidget *()> parent);
