#include "app/ui/money_pictures_wiring.h"

#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/ledger_queries.h"
#include "ledger/ui/main_window_commands.h"
#include "print/ui/money_pictures_window.h"

#include <QDate>
#include <QPointer>

void WireMoneyPictures(ExternalCommands &commands, CashLedger &ledger, const GlobalState &state,
                       std::function<QWidget *()> mainWindow)
{
    commands.moneyPictures = [&ledger, &state, mainWindow, window = QPointer<MoneyPicturesWindow>()]() mutable {
        if (!window)
            window = new MoneyPicturesWindow(ledger.context().tables, state, mainWindow());
        window->showModal(CurrentDeskSymbol(ledger.context().tables));
    };
}
