#pragma once

#include <functional>

class CashLedger;
class QWidget;
struct ExternalCommands;
struct GlobalState;

// "Wykresy" on the main window: the pictures of the money, created over the main window on first
// use and kept, opened on the current desk.
void WireMoneyPictures(ExternalCommands &commands, CashLedger &ledger, const GlobalState &state,
                       std::function<QWidget *()> mainWindow);
