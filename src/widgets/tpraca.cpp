#include "widgets/tpraca.h"

#include "widgets/window_frame.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

int PercentOf(const QProgressBar &bar)
{
    const int span = bar.maximum() - bar.minimum();
    return span > 0 ? int(qint64(bar.value() - bar.minimum()) * 100 / span) : 0;
}

}  // namespace

TPRACA::TPRACA(QWidget *parent)
    : QDialog(parent), Etytul(new QLabel(this)), pasek(new QProgressBar(this))
{
    setObjectName(QStringLiteral("TPRACA"));
    setWindowTitle(QStringLiteral("Postęp ..."));
    UseCaptionOnlyFrame(*this);
    setModal(false);

    Etytul->setObjectName(QStringLiteral("Etytul"));
    Etytul->setAlignment(Qt::AlignCenter);
    pasek->setObjectName(QStringLiteral("pasek"));
    pasek->setRange(0, 100);
    pasek->setValue(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Etytul);
    layout->addWidget(pasek);
    setFixedSize(360, 100);
}

void TPRACA::Start(const QString &title, int maximum)
{
    Etytul->setText(title);
    pasek->setMinimum(0);
    pasek->setValue(0);
    pasek->setMaximum(qMax(0, maximum));
    shownPercent_ = 0;
    show();
    CentreOnScreen(*this);
    raise();
    // Work runs right after this on the same thread: let the window appear before it starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TPRACA::Postep()
{
    pasek->setValue(pasek->value() + 1);
    repaintGaugeWhenItMoves();
}

void TPRACA::Stop()
{
    pasek->setValue(0);
    shownPercent_ = 0;
    close();
}

void TPRACA::repaintGaugeWhenItMoves()
{
    const int percent = PercentOf(*pasek);
    if (percent == shownPercent_)
        return;
    shownPercent_ = percent;
    if (isVisible())
        pasek->repaint();
}
