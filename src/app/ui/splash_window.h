#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The splash window shown while the tables are opened and the windows built.
class TZERO final : public QDialog {
    Q_OBJECT

public:
    explicit TZERO(QWidget *parent = nullptr);

    // Moves the bar on and paints it at once: start-up runs without an event loop.
    void advance(int by);

    QLabel *obraz;
    QLabel *nazwa;
    QProgressBar *budowa;
};
