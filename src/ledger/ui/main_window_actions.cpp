// The main window's commands as actions (buttons, menus, the document popup) and when each of
// them may run.

#include "ledger/ui/main_window.h"

#include "base/global_state.h"
#include "ledger/cash_ledger.h"
#include "ledger/document_kinds.h"
#include "ledger/ledger_parameters.h"
#include "ledger/ledger_queries.h"
#include "print/amount_range_listing.h"
#include "print/cash_state_listing.h"
#include "print/contractor_history_listing.h"
#include "print/listing_context.h"
#include "print/period_listing.h"
#include "print/report_cash_state_listing.h"
#include "print/text_print_module.h"
#include "store/data_change_permission.h"
#include "store/data_module.h"
#include "widgets/table_grid.h"

#include <QAction>
#include <QToolBar>
#include <QMenu>
#include <QMenuBar>

void TKASAF::rule(QAction *action, std::function<bool()> available, bool changesData)
{
    rules_.append({action, std::move(available), changesData});
}

void TKASAF::buildActions()
{
    const auto data = [this] { return hasData(); };
    const auto auxiliary = [this] { return hasData() && services_->auxiliary != nullptr; };
    const auto printing = [this] { return hasData() && printModule_ != nullptr; };
    const auto reportIsOpen = [this] { return hasData() && CurrentReportIsOpen(services_->ledger.context().tables); };
    const auto given = [this](auto member) {
        return [this, member] { return hasData() && bool(services_->commands.*member); };
    };
    const auto listing = [this](auto print) {
        return [this, print] {
            run([&] {
                ListingContext context = ListingContextOf(services_->ledger, *printModule_);
                print(context);
            });
        };
    };

    NewReportAction = command(QStringLiteral("Nowy"), {}, [this] { newReport(); });
    rule(NewReportAction, data, true);
    EditingAction = command(QStringLiteral("Edycja"), {}, [this] { toggleEditing(); });
    EditingAction->setCheckable(true);
    rule(EditingAction, data, true);
    DeleteReportAction = command(QStringLiteral("Kasuj"), {}, [this] { deleteReport(); });
    rule(DeleteReportAction, data, true);
    CloseReportAction = command(QStringLiteral("Zamknij"), {}, [this] { closeReport(); });
    rule(CloseReportAction, data, true);
    OpenReportAction = command(QStringLiteral("Otwórz"), {}, [this] { openReport(); });
    rule(OpenReportAction, data, true);
    PrintReportAction = command(QStringLiteral("Drukuj"), QStringLiteral("Drukuj Raport Kasowy"),
                                [this] { runExternal(services_->commands.printCashReport); });
    rule(PrintReportAction, given(&ExternalCommands::printCashReport));
    CashStateAction = command(QStringLiteral("Stan Kasy"), QStringLiteral("Stan Pieniędzy w Kasie"),
                              listing([](ListingContext &context) { StanKasy(context); }));
    rule(CashStateAction, printing);
    MonthlyReportAction = command(QStringLiteral("Dokumenty"), {}, [this] { monthlyReport(); });
    rule(MonthlyReportAction, [=] { return auxiliary() && given(&ExternalCommands::previewMonthlyReport)(); });

    ReceiptAction = command(QStringLiteral("Wpłata KP"), QStringLiteral("Nowy dokument KP"),
                            [this] { createReceiptOrPayout(DocumentKind::KP); });
    rule(ReceiptAction, reportIsOpen, true);
    PayoutAction = command(QStringLiteral("Wypłata KW"), QStringLiteral("Nowy dokument KW"),
                           [this] { createReceiptOrPayout(DocumentKind::KW); });
    rule(PayoutAction, reportIsOpen, true);
    SettlementAction = command(QStringLiteral("Rozliczenie RZ"), QStringLiteral("Rozliczenie zaliczki"),
                               [this] { createSettlement(); });
    rule(SettlementAction, reportIsOpen, true);
    AdvanceRequestAction = command(QStringLiteral("Wniosek WZ"), QStringLiteral("Wniosek o zaliczkę"),
                                   [this] { createAdvanceRequest(); });
    rule(AdvanceRequestAction, reportIsOpen, true);
    EditDocumentAction = command(QStringLiteral("Edycja"), QStringLiteral("Podgląd / Edycja dokumentu"),
                                 [this] { editDocument(); });
    // Below the data-change level the editor only shows the document.
    rule(EditDocumentAction, reportIsOpen);
    CopyAction = command(QStringLiteral("Kopiuj"), QStringLiteral("Kopiowanie dokumentu"), [this] { copyDocuments(); });
    rule(CopyAction, data, true);
    DeleteDocumentAction = command(QStringLiteral("Kasuj"), QStringLiteral("Kauj dokument"), [this] { deleteDocument(); });
    rule(DeleteDocumentAction, reportIsOpen, true);
    PrintDocumentAction = command(QStringLiteral("Drukuj"), QStringLiteral("Drukuj dokument"), [this] {
        runExternal([this] { services_->commands.printDocuments(DocumentGrid->selectedBookmarksInSelectionOrder()); });
    });
    rule(PrintDocumentAction, given(&ExternalCommands::printDocuments));
    FreeReceiptAction = command(QStringLiteral("Dowolna wpłata"), {}, [this] { createReceiptOrPayout(DocumentKind::KPD); });
    rule(FreeReceiptAction, reportIsOpen, true);
    FreePayoutAction = command(QStringLiteral("Dowolna wypłata"), {}, [this] { createReceiptOrPayout(DocumentKind::KWD); });
    rule(FreePayoutAction, reportIsOpen, true);

    RenumberByDateAction = command(QStringLiteral("Przenumeruj pozycje raportu wg daty"), {}, [this] {
        run([this] { services_->ledger.renumbering().renumberPlacesByDate(); });
    });
    rule(RenumberByDateAction, data, true);
    RenumberByEntryAction = command(QStringLiteral("Przenumeruj pozycje raportu wg wpisu"), {}, [this] {
        run([this] { services_->ledger.renumbering().renumberPlacesByEntry(); });
    });
    rule(RenumberByEntryAction, data, true);
    RenumberDocumentsByDateAction = command(QStringLiteral("Przenumeruj dokumenty i pozycje wg daty"), {}, [this] {
        run([this] {
            services_->ledger.renumbering().renumberDocumentsAndPlacesByDate(services_->auxiliary->renumberDialog());
        });
    });
    rule(RenumberDocumentsByDateAction, [=, this] {
        return auxiliary() && NumberingScopeOf(services_->data.TPARA) != NumberingScope::AllDesks;
    }, true);
    RenumberFromPlaceAction = command(QStringLiteral("Przenumeruj od pozycji"), {}, [this] {
        run([this] { services_->ledger.renumbering().renumberPlacesBackwards(services_->auxiliary->renumberDialog()); });
    });
    rule(RenumberFromPlaceAction, auxiliary, true);
    CashStateToDocumentAction =
        command(QStringLiteral("Stan kasy "), {}, listing([](ListingContext &context) { StanKasyDoDokumentu(context); }));
    rule(CashStateToDocumentAction, printing);
    CashStateOnDayAction = command(QStringLiteral("Stan kasy na dzień"), {}, listing([this](ListingContext &context) {
                                       StanKasyNaDzien(context, services_->auxiliary->cashStateDateDialog());
                                   }));
    rule(CashStateOnDayAction, [=] { return printing() && auxiliary(); });
}

void TKASAF::buildMenus()
{
    const auto data = [this] { return hasData(); };
    const auto auxiliary = [this] { return hasData() && services_->auxiliary != nullptr; };
    const auto printing = [this] { return hasData() && printModule_ != nullptr; };
    const auto given = [this](auto member) {
        return [this, member] { return hasData() && bool(services_->commands.*member); };
    };
    // An entry that runs a command of another area and then shows the data again.
    const auto external = [this, &given](QMenu *menu, const QString &text, std::function<void()> ExternalCommands::*member) {
        QAction *action = menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, member] { runExternalKeepingPlace(services_->commands.*member); });
        rule(action, given(member));
        return action;
    };
    const auto entry = [this](QMenu *menu, const QString &text, std::function<void()> work) {
        QAction *action = menu->addAction(text);
        connect(action, &QAction::triggered, this, [work = std::move(work)] { work(); });
        return action;
    };

    TaskMenu = menuBar()->addMenu(QStringLiteral("Zadanie"));
    rule(entry(TaskMenu, QStringLiteral("Wydruk raportu kasowego"), [this] { PrintReportAction->trigger(); }),
         given(&ExternalCommands::printCashReport));
    rule(entry(TaskMenu, QStringLiteral("Wydruk dokumentów KP/KW"), [this] { PrintDocumentAction->trigger(); }),
         given(&ExternalCommands::printDocuments));
    TaskMenu->addSeparator();
    QAction *newReceipt = entry(TaskMenu, QStringLiteral("Nowy dokument KP"), [this] { newDocumentFromMenu(DocumentKind::KP); });
    newReceipt->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    rule(newReceipt, data, true);
    QAction *newPayout = entry(TaskMenu, QStringLiteral("Nowy dokument KW"), [this] { newDocumentFromMenu(DocumentKind::KW); });
    newPayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    rule(newPayout, data, true);
    TaskMenu->addSeparator();
    QAction *saveAndClose = entry(TaskMenu, QStringLiteral("Zapisz i zamknij"), [this] { this->saveAndClose(); });
    saveAndClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    TaskMenu->addSeparator();
    TaskMenu->addAction(RenumberByDateAction);
    TaskMenu->addAction(RenumberByEntryAction);
    TaskMenu->addAction(RenumberDocumentsByDateAction);

    DictionaryMenu = menuBar()->addMenu(QStringLiteral("Słowniki"));
    rule(entry(DictionaryMenu, QStringLiteral("Kasy"), [this] { openCashDeskDictionary(); }), auxiliary);
    rule(entry(DictionaryMenu, QStringLiteral("Konta"), [this] { runExternal([this] { services_->auxiliary->openAccountDictionary(); }); }),
         auxiliary);
    rule(entry(DictionaryMenu, QStringLiteral("Opis wpłaty"),
               [this] { runExternal([this] { services_->auxiliary->openDescriptionDictionary(DocumentKind::KP); }); }),
         auxiliary);
    rule(entry(DictionaryMenu, QStringLiteral("Opis wypłaty"),
               [this] { runExternal([this] { services_->auxiliary->openDescriptionDictionary(DocumentKind::KW); }); }),
         auxiliary);
    rule(entry(DictionaryMenu, QStringLiteral("Waluty"), [this] { runExternal([this] { services_->auxiliary->openCurrencyDictionary(); }); }),
         auxiliary);
    external(DictionaryMenu, QStringLiteral("Katalog Kontrahentów"), &ExternalCommands::contractorCatalogue);

    ListingMenu = menuBar()->addMenu(QStringLiteral("Zestawiena"));
    rule(entry(ListingMenu, QStringLiteral("Historia kontrahenta"),
               [this] {
                   run([this] {
                       if (!services_->commands.chooseContractor())
                           return;
                       ListingContext context = ListingContextOf(services_->ledger, *printModule_);
                       HistoriaKontrahenta(context, ListedContractorOf(services_->data.TKontrah),
                                           services_->auxiliary->dateRangeDialog());
                   });
               }),
         [=] { return printing() && auxiliary() && given(&ExternalCommands::chooseContractor)(); });
    const auto period = [this](const QString &kind) {
        return [this, kind] {
            run([this, kind] {
                ListingContext context = ListingContextOf(services_->ledger, *printModule_);
                DokumentyZaOkres(context, kind, services_->auxiliary->dateRangeDialog());
            });
        };
    };
    rule(entry(ListingMenu, QStringLiteral("Wpłaty KP za okres"), period(DocumentKind::KP)), [=] { return printing() && auxiliary(); });
    rule(entry(ListingMenu, QStringLiteral("Wypłaty KW za okres"), period(DocumentKind::KW)), [=] { return printing() && auxiliary(); });
    rule(entry(ListingMenu, QStringLiteral("Dokumenty z kwotą od / do"),
               [this] {
                   run([this] {
                       ListingContext context = ListingContextOf(services_->ledger, *printModule_);
                       DokumentyZKwota(context, services_->auxiliary->amountRangeDialog());
                   });
               }),
         [=] { return printing() && auxiliary(); });
    ListingMenu->addSeparator();
    QAction *pictures = external(ListingMenu, QStringLiteral("Wykresy"), &ExternalCommands::moneyPictures);
    if (auto *bar = findChild<QToolBar *>(QStringLiteral("DeskToolBar")))
        bar->addAction(pictures);

    ParameterMenu = menuBar()->addMenu(QStringLiteral("Parametry programu"));
    external(ParameterMenu, QStringLiteral("Zmiana użytkownika"), &ExternalCommands::changeUser);
    external(ParameterMenu, QStringLiteral("Dane o Firmie"), &ExternalCommands::companyData);
    external(ParameterMenu, QStringLiteral("Parametry programu"), &ExternalCommands::programParameters);
    external(ParameterMenu, QStringLiteral("Parametry wydruku"), &ExternalCommands::printSettings);
    external(ParameterMenu, QStringLiteral("Archiwowanie i Odtwarzanie"), &ExternalCommands::archiveAndRestore);
    rule(entry(ParameterMenu, QStringLiteral("Naprawa Indeksów"), [this] { openIndexRepair(); }),
         given(&ExternalCommands::repairIndexes));
    external(ParameterMenu, QStringLiteral("Import dokumentów"), &ExternalCommands::importDocuments);
    external(ParameterMenu, QStringLiteral("Eksport dokumentów"), &ExternalCommands::exportDocuments);
    external(ParameterMenu, QStringLiteral("Zmiana roku"), &ExternalCommands::changeYear);
    external(ParameterMenu, QStringLiteral("Otwarcie roku"), &ExternalCommands::openYear);
    external(ParameterMenu, QStringLiteral("Przeniesienie danych z tabel Paradox"), &ExternalCommands::migrateParadox);
    external(ParameterMenu, QStringLiteral("Przeniesienie danych na serwer lub z serwera"), &ExternalCommands::migrateTree);
    external(ParameterMenu, QStringLiteral("Użytkownicy"), &ExternalCommands::users);

    HelpMenu = menuBar()->addMenu(QStringLiteral("Pomoc"));
    QAction *help = entry(HelpMenu, QStringLiteral("Pomoc"), [this] { openHelp(); });
    help->setShortcut(QKeySequence(Qt::Key_F1));
    external(HelpMenu, QStringLiteral("O programie"), &ExternalCommands::about);
}

// Commands that change data need the permission level 100; the dictionaries and the program's
// parameters as whole menus. The renumbering of numbers by date is not offered when the numbers
// run across all desks.
void TKASAF::updateCommandAvailability()
{
    const bool mayChangeData = MayChangeData(state_);
    for (const CommandRule &rule : std::as_const(rules_)) {
        bool available = false;
        try {
            available = rule.available() && (!rule.changesData || mayChangeData);
        } catch (const std::exception &) {
        }
        rule.action->setEnabled(available);
    }
    DictionaryMenu->menuAction()->setEnabled(hasData() && mayChangeData);
    ParameterMenu->menuAction()->setEnabled(hasData() && mayChangeData);
}

void TKASAF::setPrintModule(TDRUK *printModule)
{
    printModule_ = printModule;
    updateCommandAvailability();
}

ExternalCommands &TKASAF::externalCommands()
{
    return services_->commands;
}

void TKASAF::setAuxiliaryWindows(AuxiliaryWindows *auxiliary)
{
    if (!hasData())
        return;
    services_->auxiliary = auxiliary;
    updateCommandAvailability();
}
