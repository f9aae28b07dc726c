#pragma once

#include <QPointer>
#include <memory>

class IndexRepairWindow;
class NewYearWindow;
class ParadoxMigrationWindow;
class TreeMigrationWindow;
class Prompt;
class QWidget;
class TARCHF;
class TDANE;
class TPRACA;
class YearChangeWindow;
struct ExternalCommands;

// The archive, the restore, the year change and the new-year opening on the running program:
// their windows (created on first use over the main window and kept) and the archive reminder
// run as the main window closes.
class MaintenanceWiring {
public:
    MaintenanceWiring(TDANE &data, Prompt &prompt);
    ~MaintenanceWiring();

    // "Archiwowanie i Odtwarzanie", "Naprawa Indeksów", "Zmiana roku", "Otwarcie roku",
    // "Przeniesienie danych z tabel Paradox", "Przeniesienie danych na serwer lub z serwera" and
    // the reminder.
    void addCommands(ExternalCommands &commands);

private:
    TARCHF &archiveWindow();
    TPRACA &progressWindow();
    void remindOfArchive();

    TDANE &data_;
    Prompt &prompt_;
    QPointer<TPRACA> progress_;
    QPointer<TARCHF> archiveWindow_;
    QPointer<YearChangeWindow> yearChangeWindow_;
    QPointer<NewYearWindow> newYearWindow_;
    QPointer<IndexRepairWindow> indexRepairWindow_;
    QPointer<ParadoxMigrationWindow> paradoxMigrationWindow_;
    QPointer<TreeMigrationWindow> treeMigrationWindow_;
};
