#include "app/ui/maintenance_wiring.h"

#include "base/global_state.h"
#include "ledger/ui/main_window_commands.h"
#include "maintenance/archive_reminder.h"
#include "maintenance/ui/archive_window.h"
#include "maintenance/ui/index_repair_window.h"
#include "maintenance/ui/new_year_window.h"
#include "maintenance/ui/paradox_migration_window.h"
#include "maintenance/ui/tree_migration_window.h"
#include "maintenance/ui/year_change_window.h"
#include "store/session.h"
#include "store/data_change_permission.h"
#include "store/data_module.h"
#include "widgets/progress_window.h"

#include <QApplication>

namespace {

// The windows belong to the main window, which is the active one when a command runs.
QWidget *MainWindow()
{
    return QApplication::activeWindow();
}

} // namespace

MaintenanceWiring::MaintenanceWiring(TDANE &data, Prompt &prompt) : data_(data), prompt_(prompt) {}

MaintenanceWiring::~MaintenanceWiring() = default;

TPRACA &MaintenanceWiring::progressWindow()
{
    if (!progress_)
        progress_ = new TPRACA(MainWindow());
    return *progress_;
}

TARCHF &MaintenanceWiring::archiveWindow()
{
    if (!archiveWindow_) {
        TDANE &data = data_;
        archiveWindow_ = new TARCHF({data.TFIRMA, prompt_, progressWindow(), data.state(), [&data] { data.session().closeAll(); },
                                     [&data] { data.runOpenSequence(); }},
                                    MainWindow());
    }
    return *archiveWindow_;
}

void MaintenanceWiring::remindOfArchive()
{
    // Archiving is kept from a user who may only look, so he is not asked to do it either.
    if (!MayChangeData(data_.state()))
        return;
    SPRAWDZ(data_.TFIRMA, prompt_, data_.state().TodayText, [this] { archiveWindow().showModal(); });
}

void MaintenanceWiring::addCommands(ExternalCommands &commands)
{
    commands.archiveAndRestore = [this] { archiveWindow().showModal(); };
    commands.repairIndexes = [this] {
        if (!indexRepairWindow_) {
            TDANE &data = data_;
            indexRepairWindow_ = new IndexRepairWindow(data.session(), data.state(), [&data] { data.runOpenSequence(); },
                                                       &prompt_, MainWindow());
        }
        indexRepairWindow_->showModal();
    };
    commands.changeYear = [this] {
        if (!yearChangeWindow_) {
            TDANE &data = data_;
            yearChangeWindow_ = new YearChangeWindow(data.state(), [&data] { data.runOpenSequence(); }, MainWindow());
        }
        yearChangeWindow_->showModal();
    };
    commands.openYear = [this] {
        if (!newYearWindow_)
            newYearWindow_ = new NewYearWindow(data_.helpers(), MainWindow());
        newYearWindow_->showModal();
    };
    commands.migrateParadox = [this] {
        if (!paradoxMigrationWindow_)
            paradoxMigrationWindow_ = new ParadoxMigrationWindow(progressWindow(), &prompt_, MainWindow());
        paradoxMigrationWindow_->showModal();
    };
    commands.migrateTree = [this] {
        if (!treeMigrationWindow_)
            treeMigrationWindow_ = new TreeMigrationWindow(data_.state().DataRoot, progressWindow(), &prompt_, MainWindow());
        treeMigrationWindow_->showModal();
    };
    commands.beforeClose = [this] { remindOfArchive(); };
}
