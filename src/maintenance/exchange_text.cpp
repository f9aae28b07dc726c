#include "maintenance/exchange_text.h"

#include "ledger/date_input.h"

#include "base/money.h"

#include <QDate>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

namespace {

const QString kYes = QStringLiteral("Tak");
const QString kNo = QStringLiteral("Nie");

bool IsIntegerType(FieldType type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::AutoIncrement;
}

// Two to four decimals: a bookkeeper reads "12,50", and an amount with ten-thousandths keeps them.
int MoneyText(qint64 units, char *out)
{
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    char *at = out;
    if (units < 0)
        *at++ = '-';
    at = std::to_chars(at, out + kExchangeNumberRoom, magnitude / Money::kUnitsPerWhole).ptr;
    *at++ = ',';
    quint64 fraction = magnitude % Money::kUnitsPerWhole;
    char digits[4];
    for (int i = 3; i >= 0; --i, fraction /= 10)
        digits[i] = char('0' + fraction % 10);
    int kept = 4;
    while (kept > 2 && digits[kept - 1] == '0')
        --kept;
    for (int i = 0; i < kept; ++i)
        *at++ = digits[i];
    return int(at - out);
}

QString FloatText(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::optional<qint64> ParseInteger(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed[at] == u'-' || trimmed[at] == u'+'))
        negative = trimmed[at++] == u'-';
    if (at == trimmed.size() || trimmed.size() - at > 18)
        return std::nullopt;
    qint64 value = 0;
    for (; at < trimmed.size(); ++at) {
        const char16_t c = trimmed[at].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

std::optional<double> ParseFloat(const QString &text)
{
    QByteArray latin = text.trimmed().toLatin1();
    latin.replace(',', '.');
    if (latin.startsWith('+'))
        latin.remove(0, 1);
    double value = 0;
    const auto result = std::from_chars(latin.constData(), latin.constData() + latin.size(), value);
    if (latin.isEmpty() || result.ec != std::errc() || result.ptr != latin.constData() + latin.size()
        || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> ParseLogical(const QString &text)
{
    static const QStringList yes{kYes, QStringLiteral("True"), QStringLiteral("T"), QStringLiteral("1")};
    static const QStringList no{kNo, QStringLiteral("False"), QStringLiteral("F"), QStringLiteral("0")};
    const QString trimmed = text.trimmed();
    for (const QString &word : yes)
        if (trimmed.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    for (const QString &word : no)
        if (trimmed.compare(word, Qt::CaseInsensitive) == 0)
            return false;
    return std::nullopt;
}

bool IsDay(const QString &text)
{
    if (text.size() != 10 || text[4] != u'.' || text[7] != u'.')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt()).isValid();
}

// The 128 upper characters of Windows-1250, taken once from the system's codec. The five bytes
// the code page leaves free stand for the control characters of the same number, so every byte
// reads as something and writes back as itself.
struct Windows1250 {
    std::array<char16_t, 128> upper{};
    std::unique_ptr<std::array<unsigned char, 0x10000>> byteOf = std::make_unique<std::array<unsigned char, 0x10000>>();

    Windows1250()
    {
        byteOf->fill(0);
        for (int b = 0x80; b < 0x100; ++b) {
            QStringDecoder decode("windows-1250");
            const char byte = char(b);
            const QString text = decode(QByteArrayView(&byte, 1));
            const char16_t c = text.size() == 1 && !decode.hasError() && text[0] != QChar::ReplacementCharacter
                                   ? text[0].unicode() : char16_t(b);
            upper[b - 0x80] = c;
            (*byteOf)[c] = static_cast<unsigned char>(b);
        }
    }
};

const Windows1250 &CodePage()
{
    static const Windows1250 table;
    return table;
}

} // namespace

int ExchangeNumberText(FieldType type, qint64 stored, char *out)
{
    switch (type) {
    case FieldType::Currency:
        return MoneyText(stored, out);
    case FieldType::Boolean:
        std::memcpy(out, stored != 0 ? "Tak" : "Nie", 3);
        return 3;
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoIncrement:
        return int(std::to_chars(out, out + kExchangeNumberRoom, stored).ptr - out);
    default:
        return 0;
    }
}

QString ExchangeText(const FieldDef &field, const QVariant &stored)
{
    if (!stored.isValid() || stored.isNull())
        return QString();
    switch (field.type) {
    case FieldType::Float:
        return FloatText(stored.toDouble());
    case FieldType::Currency:
    case FieldType::Boolean:
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoIncrement: {
        char text[kExchangeNumberRoom];
        return QString::fromLatin1(text, ExchangeNumberText(field.type, stored.toLongLong(), text));
    }
    default:
        return stored.toString();
    }
}

QString CleanExchangeValue(const QString &text)
{
    if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString clean = text;
    clean.replace(QLatin1Char('\t'), QLatin1Char(':'));
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    return clean;
}

QVariant ParseExchangeValue(const ExchangeField &field, const QString &text, QString &problem)
{
    problem.clear();
    const FieldDef &def = field.def;
    if (def.type == FieldType::Text || def.type == FieldType::Date || def.type == FieldType::Memo
        || def.type == FieldType::Unknown) {
        if (text.isEmpty())
            return {};
        if (def.type != FieldType::Memo && def.size > 0 && text.size() > def.size) {
            problem = QStringLiteral("tekst dłuższy niż %1 znaków").arg(def.size);
            return {};
        }
        if (field.isDate && !IsDay(text)) {
            problem = QStringLiteral("to nie jest data w postaci RRRR.MM.DD");
            return {};
        }
        if (field.isDate && field.latestYear > 0
            && (text.left(4).toInt() < kEarliestBookYear || text.left(4).toInt() > field.latestYear)) {
            problem = QStringLiteral("rok daty spoza lat %1 - %2").arg(kEarliestBookYear).arg(field.latestYear);
            return {};
        }
        return text;
    }
    if (text.trimmed().isEmpty())
        return {};
    if (IsIntegerType(def.type)) {
        const std::optional<qint64> value = ParseInteger(text);
        const qint64 low = def.type == FieldType::SmallInt ? -32768 : std::numeric_limits<qint32>::min();
        const qint64 high = def.type == FieldType::SmallInt ? 32767 : std::numeric_limits<qint32>::max();
        if (!value || *value < low || *value > high) {
            problem = value ? QStringLiteral("liczba poza zakresem pola") : QStringLiteral("to nie jest liczba całkowita");
            return {};
        }
        return *value;
    }
    switch (def.type) {
    case FieldType::Currency: {
        const std::optional<Money> amount = Money::parse(text);
        if (!amount) {
            problem = QStringLiteral("to nie jest kwota");
            return {};
        }
        return QVariant::fromValue(*amount);
    }
    case FieldType::Float: {
        const std::optional<double> value = ParseFloat(text);
        if (!value) {
            problem = QStringLiteral("to nie jest liczba");
            return {};
        }
        return *value;
    }
    case FieldType::Boolean: {
        const std::optional<bool> flag = ParseLogical(text);
        if (!flag) {
            problem = QStringLiteral("wartość logiczna to \"%1\" albo \"%2\"").arg(kYes, kNo);
            return {};
        }
        return *flag;
    }
    default:
        return text;
    }
}

namespace {

// Encodes the text into out, which has room for every character, up to the first character the
// code page cannot hold (its position in badAt, -1 when there is none); where the writing ended.
// Cleaning turns tabs into ":" and leaves CR and LF out.
char *EncodeWindows1250Into(char *out, QStringView text, bool clean, qsizetype &badAt)
{
    badAt = -1;
    const auto &byteOf = *CodePage().byteOf;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            const unsigned char b = byteOf[c];
            if (b == 0) {
                badAt = i;
                break;
            }
            *out++ = char(b);
        } else if (!clean) {
            *out++ = char(c);
        } else if (c == u'\t') {
            *out++ = ':';
        } else if (c != u'\r' && c != u'\n') {
            *out++ = char(c);
        }
    }
    return out;
}

} // namespace

bool AppendCleanWindows1250(QByteArray &out, QStringView text, qsizetype &badAt)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    const char *const end = EncodeWindows1250Into(out.data() + start, text, true, badAt);
    out.truncate(badAt >= 0 ? start : end - out.constData());
    return badAt < 0;
}

QByteArray EncodeWindows1250(const QString &text, qsizetype &badAt)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(EncodeWindows1250Into(bytes.data(), text, false, badAt) - bytes.constData());
    return bytes;
}

QString DecodeWindows1250(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const auto &upper = CodePage().upper;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(b < 0x80 ? char16_t(b) : upper[b - 0x80]);
    }
    return text;
}

namespace {

// The length of the well-formed letter of more bytes that begins at p: 0 when it is none, -1
// when the bytes up to end are the start of one (which the next piece may complete).
int LetterLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char b = *p;
    int more = 0;
    char32_t code = 0;
    char32_t lowest = 0;
    if ((b & 0xE0) == 0xC0)
        more = 1, code = b & 0x1F, lowest = 0x80;
    else if ((b & 0xF0) == 0xE0)
        more = 2, code = b & 0x0F, lowest = 0x800;
    else if ((b & 0xF8) == 0xF0)
        more = 3, code = b & 0x07, lowest = 0x10000;
    else
        return 0;
    const int present = int(std::min<qsizetype>(more, end - p - 1));
    for (int k = 1; k <= present; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    if (present < more)
        return -1;
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return more + 1;
}

} // namespace

void Utf8Scanner::scan(const unsigned char *start, const unsigned char *end, bool last)
{
    for (const unsigned char *p = start; p < end;) {
        if (*p < 0x80) {
            if (*p == '\n')
                ++lines_;
            ++p;
            continue;
        }
        const int length = LetterLength(p, end);
        if (length < 0 && !last) {
            carried_ = QByteArray(reinterpret_cast<const char *>(p), end - p);
            offset_ += p - start;
            return;
        }
        if (length <= 0) {
            if (scan_.firstInvalid < 0) {
                scan_.firstInvalid = offset_ + (p - start);
                scan_.firstInvalidLine = lines_;
            }
            ++scan_.invalidBytes;
            ++p;
            continue;
        }
        ++scan_.multibyteLetters;
        p += length;
    }
    offset_ += end - start;
}

void Utf8Scanner::feed(QByteArrayView piece)
{
    if (carried_.isEmpty()) {
        const auto *start = reinterpret_cast<const unsigned char *>(piece.data());
        scan(start, start + piece.size(), false);
        return;
    }
    const QByteArray joined = std::exchange(carried_, QByteArray()).append(piece);
    const auto *start = reinterpret_cast<const unsigned char *>(joined.constData());
    scan(start, start + joined.size(), false);
}

Utf8Scan Utf8Scanner::finish()
{
    if (!carried_.isEmpty()) {
        const QByteArray last = std::exchange(carried_, QByteArray());
        const auto *start = reinterpret_cast<const unsigned char *>(last.constData());
        scan(start, start + last.size(), true);
    }
    return scan_;
}

Utf8Scan ScanUtf8(const QByteArray &bytes)
{
    Utf8Scanner scanner;
    scanner.feed(bytes);
    return scanner.finish();
}

bool IsValidUtf8(const QByteArray &bytes)
{
    return ScanUtf8(bytes).firstInvalid < 0;
}
