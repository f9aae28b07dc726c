#pragma once

#include <QString>

// The program's name as the user sees it: the task bar, the main window caption and the
// default caption of every message box.
inline QString ApplicationTitle()
{
    return QStringLiteral("Kasa");
}
