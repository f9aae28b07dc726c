#include "widgets/window_frame.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
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
    // The caption is drawn in bold between the frame's icon and its buttons: the bold width of
    // the text with room for both is a fair measure of what the title bar needs.
    QFont captionFont = QApplication::font("QMdiSubWindowTitleBar");
    captionFont.setBold(true);
    const QFontMetrics caption(captionFont);
    const int captionWidth = caption.horizontalAdvance(window.windowTitle()) + 10 * caption.height() + 20;
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

QHBoxLayout *CloseButtonRow(QDialog &dialog)
{
    auto *close = new QPushButton(QStringLiteral("Zamknij"), &dialog);
    close->setAutoDefault(false);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    return row;
}
