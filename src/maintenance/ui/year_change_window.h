#pragma once

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;
struct GlobalState;

// "Zmiana roku.": the years of the data tree; "Zmień rok" makes the chosen one the working year
// and opens its tables. Created once and shown modally.
class YearChangeWindow final : public QDialog {
    Q_OBJECT

public:
    YearChangeWindow(GlobalState &state, std::function<void()> reopenTables, QWidget *parent = nullptr);

    // Fills the list with the year list, then shows the window.
    int showModal();

    // "Zmień rok"; with no year chosen it does nothing.
    void ZmienRokClick();

    QListWidget *Years;
    QPushButton *ZmienRok;

private:
    GlobalState &state_;
    std::function<void()> reopenTables_;
};
