#pragma once

#include "base/progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The progress window of long work (archive, restore, printing): a title and a gauge.
class TPRACA final : public QDialog, public Progress {
    Q_OBJECT

public:
    explicit TPRACA(QWidget *parent = nullptr);

    void Start(const QString &title, int maximum) override;
    void Postep() override;
    void Stop() override;

    QLabel *Etytul;
    QProgressBar *pasek;

private:
    // Repaints the gauge only when the shown percentage changes, so a step costs next to nothing.
    void repaintGaugeWhenItMoves();

    int shownPercent_ = 0;
};
