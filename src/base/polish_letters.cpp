#include "base/text_format.h"

#include <array>

namespace {

// One row per Polish letter, in the order ą Ą ć Ć ę Ę ł Ł ó Ó ź Ź ż Ż ń Ń ś Ś; the columns are
// the plain Latin letter, Mazovia, code page 852 and Windows-1250.
constexpr int kColumns = 4;
constexpr std::array<std::array<unsigned char, kColumns>, 18> kPolishLetters{{
    {0x61, 0x86, 0xA5, 0xB9}, {0x41, 0x8F, 0xA4, 0xA5},
    {0x63, 0x8D, 0x86, 0xE6}, {0x43, 0x95, 0x8F, 0xC6},
    {0x65, 0x91, 0xA9, 0xEA}, {0x45, 0x90, 0xA8, 0xCA},
    {0x6C, 0x92, 0x88, 0xB3}, {0x4C, 0x9C, 0x9D, 0xA3},
    {0x6F, 0xA2, 0xA2, 0xF3}, {0x4F, 0xA3, 0xE0, 0xD3},
    {0x7A, 0xA6, 0xAB, 0x9F}, {0x5A, 0xA0, 0x8D, 0x8F},
    {0x7A, 0xA7, 0xBE, 0xBF}, {0x5A, 0xA1, 0xBD, 0xAF},
    {0x6E, 0xA4, 0xE4, 0xF1}, {0x4E, 0xA5, 0xE3, 0xD1},
    {0x73, 0x9E, 0x98, 0x9C}, {0x53, 0x98, 0x97, 0x8C},
}};

// Byte-to-byte map for one pair of columns. The rows are searched from the last to the first,
// so where two rows share a source code the later row wins (plain "z" becomes "ż", not "ź").
std::array<unsigned char, 256> ConversionMap(int source, int target)
{
    std::array<unsigned char, 256> map{};
    for (int byte = 0; byte < 256; ++byte)
        map[byte] = static_cast<unsigned char>(byte);
    for (const auto &row : kPolishLetters)
        map[row[source]] = row[target];
    return map;
}

} // namespace

QByteArray ConvertPolishLetters(const QByteArray &text, int code)
{
    const int source = code / 10;
    const int target = code % 10;
    if (code < 0 || source >= kColumns || target >= kColumns)
        return text;
    const auto map = ConversionMap(source, target);
    QByteArray result = text;
    for (char &c : result)
        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
    return result;
}
