#include "print/print_line_encoding.h"

#include "base/text_format.h"

#include <QStringDecoder>

#include <array>

namespace {

// ConvertPolishLetters codes from Windows-1250 (column 3) to the chosen column.
int ConversionCode(TPL pl)
{
    return 30 + int(pl);
}

constexpr char kNotEncodable = '?';
// Windows-1250's highest character is U+2122 (the trade mark sign).
constexpr char16_t kPastWindows1250 = 0x2200;

// The Windows-1250 byte of every character below kPastWindows1250, "?" for those the code page
// lacks; read once from the codec, so a line costs a table look-up per character.
const std::array<char, kPastWindows1250> &Windows1250Bytes()
{
    static const std::array<char, kPastWindows1250> bytes = [] {
        std::array<char, kPastWindows1250> table;
        table.fill(kNotEncodable);
        QStringDecoder fromWindows1250("windows-1250");
        for (int code = 0; code < 256; ++code) {
            const char byte = char(code);
            const QString decoded = fromWindows1250.decode(QByteArrayView(&byte, 1));
            if (decoded.size() == 1 && decoded.at(0) != QChar::ReplacementCharacter
                && decoded.at(0).unicode() < kPastWindows1250)
                table[decoded.at(0).unicode()] = byte;
        }
        return table;
    }();
    return bytes;
}

// One byte per character; a character Windows-1250 does not have becomes "?" (one for a
// character outside the basic plane, which takes two UTF-16 units).
QByteArray ToWindows1250(const QString &text)
{
    const std::array<char, kPastWindows1250> &table = Windows1250Bytes();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            *out++ = kNotEncodable;
            ++i;
        } else {
            *out++ = c.unicode() < kPastWindows1250 ? table[c.unicode()] : kNotEncodable;
        }
    }
    bytes.truncate(out - bytes.data());
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
