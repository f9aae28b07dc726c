#pragma once

#include "maintenance/new_year_opening.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
struct TableHelperContext;

// "Otwarcie baz na nowy rok": the new year, the year it is built from and the folder of the
// years, a log of the work, "START" and "PRZERWIJ". Created once and shown modally; the log
// keeps its lines for the whole run.
class NewYearWindow final : public QDialog, private NewYearLog {
    Q_OBJECT

public:
    NewYearWindow(TableHelperContext &tables, QWidget *parent = nullptr);

    // Sets the fields from the working year and the data root, then shows the window.
    int showModal();

    void StartClick();

    QLineEdit *NewYear;    // "Otwarcie baz na rok :"
    QLineEdit *SourceYear; // "na podstawie roku :"
    QLineEdit *Folder;     // "Katalog :"
    QListWidget *Log;
    QPushButton *Start;    // "START"
    QPushButton *Przerwij; // "PRZERWIJ"

private:
    void addLine(const QString &line) override;

    TableHelperContext &tables_;
};
