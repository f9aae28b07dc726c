#include "print/print_line_encoding.h"

#include "app/text_format.h"

#include <QStringEncoder>

namespace {

// ConvertPolishLetters codes from Windows-1250 (column 3) to the chosen column.
int ConversionCode(TPL pl)
{
    return 30 + int(pl);
}

}  // namespace

QByteArray EncodePrintLine(const QString &text, TPL pl)
{
    QStringEncoder toWindows1250("windows-1250");
    const QByteArray bytes = toWindows1250(text);
    if (pl == drLATIN852)
        return bytes;
    return ConvertPolishLetters(bytes, ConversionCode(pl));
}
