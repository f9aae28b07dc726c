#include "widgets/progress_window.h"

#include "widgets/window_frame.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

// How often, at most, the window's painting waits while work runs (milliseconds).
constexpr qint64 kEventsEveryMs = 50;

// Input the user aims at the program; held off while work runs.
bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

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
    if (!working_ && qApp) {
        qApp->installEventFilter(this);
        working_ = true;
    }
    show();
    CentreOnScreen(*this);
    raise();
    // Work runs right after this on the same thread: let the window appear before it starts.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    sinceEvents_.start();
}

void TPRACA::Postep()
{
    pasek->setValue(pasek->value() + 1);
    repaintGaugeWhenItMoves();
    letEventsThroughNow();
}

void TPRACA::Stop()
{
    if (working_ && qApp)
        qApp->removeEventFilter(this);
    working_ = false;
    pasek->setValue(0);
    shownPercent_ = 0;
    close();
}

void TPRACA::letEventsThroughNow()
{
    if (!working_ || !sinceEvents_.isValid() || sinceEvents_.elapsed() < kEventsEveryMs)
        return;
    QApplication::processEvents();
    sinceEvents_.start();
}

bool TPRACA::eventFilter(QObject *watched, QEvent *event)
{
    // A message the work itself shows (a failed write, a question) is modal and keeps the other
    // windows off by itself; the user must be able to answer it.
    if (working_ && IsUserInput(event->type()) && !QApplication::activeModalWidget())
        return true;
    return QDialog::eventFilter(watched, event);
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
