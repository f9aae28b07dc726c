#pragma once

#include <QMainWindow>
#include <array>

class QLabel;
class QTabWidget;
struct GlobalState;

// The main window: the cash desk, its reports and their documents, and every command.
// Closing it ends the program.
class TKASAF final : public QMainWindow {
    Q_OBJECT

public:
    explicit TKASAF(const GlobalState &state, QWidget *parent = nullptr);

    // Caption: application title, one space, the company's short name; status panels:
    // the working year and the operator.
    void refreshCaptionAndStatus();

    QTabWidget *PageControl;
    QWidget *TabRaporty;
    QWidget *TabDokumenty;
    // Four panels: empty, working year, operator, cash state.
    std::array<QLabel *, 4> StatusPanels{};

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildStatusBar();

    const GlobalState &state_;
};
