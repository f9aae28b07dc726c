#pragma once

#include "print/print_settings.h"

#include <QByteArray>
#include <QString>

// The 8-bit form of a print line for the port and for text files: Windows-1250, with the
// Polish letters converted as the settings ask (plain letters, Mazovia or code page 852;
// drLATIN852 leaves the text in Windows-1250).
QByteArray EncodePrintLine(const QString &text, TPL pl);
