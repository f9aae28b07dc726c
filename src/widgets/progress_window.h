#pragma once

#include "base/progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// The progress window of long work (archive, restore, printing): a title and a gauge. The work
// runs on the program's own thread; between its steps, at least every tenth of a second, the
// window lets the program paint and answer the system, while the user's input is held off from
// every window, so no other command starts before the work ends.
class TPRACA final : public QDialog, public Progress {
    Q_OBJECT

public:
    explicit TPRACA(QWidget *parent = nullptr);

    void Start(const QString &title, int maximum) override;
    void Postep() override;
    void Stop() override;

    QLabel *Etytul;
    QProgressBar *pasek;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Lets pending painting and system events through when the last pass is long enough ago.
    void letEventsThroughNow();

    // Repaints the gauge only when the shown percentage changes, so a step costs next to nothing.
    void repaintGaugeWhenItMoves();

    int shownPercent_ = 0;
    bool working_ = false;
    QElapsedTimer sinceEvents_;
};
