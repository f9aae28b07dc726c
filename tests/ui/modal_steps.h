#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs the step as soon as the next modal window is up (from inside its event loop), with that
// window. Schedule it before the call that shows the window modally.
inline void WhenModal(std::function<void(QWidget &)> step)
{
    QTimer::singleShot(0, [step = std::move(step)] {
        QWidget *window = QApplication::activeModalWidget();
        if (window)
            step(*window);
    });
}

template <typename Child> Child *Named(QWidget &window, const char *objectName)
{
    return window.findChild<Child *>(QString::fromLatin1(objectName));
}

inline void PressEscape(QWidget &window)
{
    QTest::keyClick(&window, Qt::Key_Escape);
}
