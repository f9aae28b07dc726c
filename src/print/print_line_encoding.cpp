#include "print/print_line_encoding.h"

#include "app/text_format.h"

#include <QStringEncoder>

namespace {

// ConvertPolishLetters codes from Windows-1250 (column 3) to the chosen column.
int ConversionCode(TPL pl)
{
    return 30 + int(pl);
}

constexpr char kNotEncodable = '?';
// What the encoder puts for a character Windows-1250 does not have.
constexpr char kEncoderSubstitute = '\x1A';

// One byte per character; a character Windows-1250 does not have becomes "?".
QByteArray ToWindows1250(QString text)
{
    // Nothing outside the basic plane is in Windows-1250: one "?" per such character keeps
    // the bytes in step with the characters.
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate())
            text.replace(i, 2, QChar(u'?'));
    }
    QStringEncoder toWindows1250("windows-1250");
    QByteArray bytes = toWindows1250(text);
    if (bytes.size() != text.size())
        return bytes;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == kEncoderSubstitute && text.at(i) != QChar(kEncoderSubstitute))
            bytes[i] = kNotEncodable;
    }
    return bytes;
}

}  // namespace

QByteArray EncodePrintLine(const QString &text, TPL pl)
{
    const QByteArray bytes = ToWindows1250(text);
    if (pl == drLATIN852)
        return bytes;
    return ConvertPolishLetters(bytes, ConversionCode(pl));
}
