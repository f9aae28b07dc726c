#include "widgets/window_frame.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void UseCaptionOnlyFrame(QWidget &window)
{
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void FitToCaption(QWidget &window)
{
    window.adjustSize();
    // The caption's font is the title bar's; the window's own font with room for the frame's
    // buttons and edges is a fair measure of it.
    const QFont captionFont = QApplication::font("QMdiSubWindowTitleBar");
    const int captionWidth = QFontMetrics(captionFont).horizontalAdvance(window.windowTitle())
                             + QFontMetrics(window.font()).horizontalAdvance(QStringLiteral("MMMMMMMM"));
    if (window.width() < captionWidth)
        window.resize(captionWidth, window.height());
    window.setMinimumWidth(qMax(window.minimumWidth(), captionWidth));
}

void CentreOver(QWidget &window, const QWidget *over)
{
    if (!over || !over->isVisible()) {
        CentreOnScreen(window);
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(over->frameGeometry().center());
    window.move(frame.topLeft());
}

void CentreOnScreen(QWidget &window)
{
    FitToCaption(window);
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}
