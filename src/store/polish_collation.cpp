#include "store/polish_collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <QVarLengthArray>
// Built into the program, and once more into the loadable extension that lets other SQLite tools
// read the tables in the same order; the extension reaches SQLite through the loader's routines.
#ifdef KASA_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

QCollator MakeCollator(Qt::CaseSensitivity sensitivity)
{
    QCollator collator(QLocale(QLocale::Polish, QLocale::Poland));
    collator.setCaseSensitivity(sensitivity);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

const QCollator &Collator(bool caseInsensitive)
{
    static const QCollator sensitive = MakeCollator(Qt::CaseSensitive);
    static const QCollator insensitive = MakeCollator(Qt::CaseInsensitive);
    return caseInsensitive ? insensitive : sensitive;
}

// Index keys are mostly short ASCII texts: widen them on the stack instead of allocating.
class Utf16Text {
public:
    Utf16Text(const void *bytes, int size)
    {
        const auto *utf8 = static_cast<const unsigned char *>(bytes);
        bool ascii = true;
        for (int i = 0; i < size && ascii; ++i)
            ascii = utf8[i] < 0x80;
        if (ascii) {
            buffer_.resize(size);
            for (int i = 0; i < size; ++i)
                buffer_[i] = char16_t(utf8[i]);
            view_ = QStringView(buffer_.constData(), size);
        } else {
            decoded_ = QString::fromUtf8(static_cast<const char *>(bytes), size);
            view_ = decoded_;
        }
    }
    QStringView view() const { return view_; }

private:
    QVarLengthArray<char16_t, 128> buffer_;
    QString decoded_;
    QStringView view_;
};

int CompareBytes(int size1, const void *text1, int size2, const void *text2)
{
    const int common = std::min(size1, size2);
    const int result = std::memcmp(text1, text2, size_t(common));
    if (result != 0)
        return result;
    return size1 - size2;
}

// Identical texts are equal in either order; an index compares many of them (a desk's symbol,
// a report's number) on its way to a row.
bool SameBytes(int size1, const void *text1, int size2, const void *text2)
{
    return size1 == size2 && std::memcmp(text1, text2, size_t(size1)) == 0;
}

// The place of a space, a dot, a digit or an unaccented Latin letter in the Polish order ignoring
// case (space, dot, digits, letters: the order of their lowercase bytes); 0 for any other byte.
constexpr unsigned char SimpleWeight(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c + ('a' - 'A');
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '.')
        return c;
    return 0;
}

// Texts made of those characters only differ first where their letters ignoring case differ
// (every one of them counts in the first level of the Polish order, and the first difference
// there decides whatever follows). Most index keys are such texts; the others, and texts that
// differ only in case, are left to the collator (nullopt).
std::optional<int> CompareSimpleTexts(int size1, const void *text1, int size2, const void *text2)
{
    const auto *a = static_cast<const unsigned char *>(text1);
    const auto *b = static_cast<const unsigned char *>(text2);
    const int common = std::min(size1, size2);
    for (int i = 0; i < common; ++i) {
        const unsigned char x = SimpleWeight(a[i]);
        const unsigned char y = SimpleWeight(b[i]);
        if (x == 0 || y == 0)
            return std::nullopt;
        if (x != y)
            return x < y ? -1 : 1;
    }
    const unsigned char *rest = size1 > size2 ? a : b;
    for (int i = common; i < std::max(size1, size2); ++i)
        if (SimpleWeight(rest[i]) == 0)
            return std::nullopt;
    if (size1 == size2)
        return 0;
    return size1 < size2 ? -1 : 1;
}

// Case-sensitive order: the Polish order first; texts the collator calls equal but that differ
// in their bytes are ordered by the bytes, so a unique index never merges distinct texts.
int PolishCompare(void *, int size1, const void *text1, int size2, const void *text2)
{
    if (SameBytes(size1, text1, size2, text2))
        return 0;
    if (const std::optional<int> simple = CompareSimpleTexts(size1, text1, size2, text2); simple && *simple != 0)
        return *simple;
    const int result = ComparePolish(Utf16Text(text1, size1).view(), Utf16Text(text2, size2).view(),
                                     false);
    return result != 0 ? result : CompareBytes(size1, text1, size2, text2);
}

int PolishCaseInsensitiveCompare(void *, int size1, const void *text1, int size2, const void *text2)
{
    if (SameBytes(size1, text1, size2, text2))
        return 0;
    if (const std::optional<int> simple = CompareSimpleTexts(size1, text1, size2, text2))
        return *simple;
    return ComparePolish(Utf16Text(text1, size1).view(), Utf16Text(text2, size2).view(), true);
}

QString ArgumentText(sqlite3_value *value)
{
    const auto *text = sqlite3_value_text16(value);
    const int bytes = sqlite3_value_bytes16(value);
    return QString(reinterpret_cast<const QChar *>(text), bytes / 2);
}

void StartsWithIgnoringCase(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    const QString text = ArgumentText(arguments[0]);
    const QString prefix = ArgumentText(arguments[1]);
    sqlite3_result_int(context, text.startsWith(prefix, Qt::CaseInsensitive) ? 1 : 0);
}

} // namespace

int ComparePolish(QStringView a, QStringView b, bool caseInsensitive)
{
    return Collator(caseInsensitive).compare(a, b);
}

int RegisterPolishTextFunctions(sqlite3 *db)
{
    int rc = sqlite3_create_collation_v2(db, kPolishCollation, SQLITE_UTF8, nullptr, PolishCompare, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_collation_v2(db, kPolishCaseInsensitiveCollation, SQLITE_UTF8, nullptr,
                                         PolishCaseInsensitiveCompare, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, kStartsWithIgnoringCaseFunction, 2,
                                        SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                        StartsWithIgnoringCase, nullptr, nullptr, nullptr);
    return rc;
}
