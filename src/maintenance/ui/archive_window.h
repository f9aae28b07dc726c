#pragma once

#include <QDialog>
#include <functional>

class ArchiveFolderPicker;
class Progress;
class Prompt;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class Table;
struct GlobalState;

struct ArchiveWindowServices {
    Table &company; // TFIRMA
    Prompt &prompt;
    Progress &progress;
    GlobalState &state;
    std::function<void()> closeTables;  // every table of the session
    std::function<void()> reopenTables; // the open sequence
};

// "Moduł ARCHIWUM": the page "ARCHIWOWANIE" archives the whole data tree, the page
// "ODTWARZANIE" restores it. Each page chooses the default folder or any folder. Created once
// and shown modally; each showing starts from the default folder on the first page.
class TARCHF final : public QDialog {
    Q_OBJECT

public:
    explicit TARCHF(const ArchiveWindowServices &services, QWidget *parent = nullptr);

    int showModal();

    // "Archiwizuj", "Odtwarzaj": run, then close the window.
    void ArchiwizujClick();
    void OdtwarzajClick();

    // One page's location choice and path.
    struct LocationPage {
        QRadioButton *defaultLocation = nullptr; // "domyślna lokalizacja"
        QRadioButton *anyLocation = nullptr;     // "dowolna lokalizacja"
        QGroupBox *pathGroup = nullptr;          // "Ścieżka do plików archiwum"
        QLineEdit *path = nullptr;
        QPushButton *browse = nullptr;           // "..."
        QLabel *archiveDate = nullptr;           // ARCHDATA
        QPushButton *run = nullptr;              // "Archiwizuj" / "Odtwarzaj"
        QPushButton *cancel = nullptr;           // "&Przerwij"
    };

    QTabWidget *PageControl;
    QWidget *TabArchiwowanie;
    QWidget *TabOdtwarzanie;
    LocationPage Archiwowanie;
    LocationPage Odtwarzanie;

private:
    QWidget *buildPage(LocationPage &page, const QStringList &notes, const QString &runText);
    void browse(LocationPage &page);
    // The field's text with its trailing separator, which the field then shows.
    QString pathOf(LocationPage &page);
    void showArchiveDate();

    ArchiveWindowServices services_;
    ArchiveFolderPicker *picker_ = nullptr;
};
