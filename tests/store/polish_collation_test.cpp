#include "store/polish_collation.h"

#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>

// The collations SQLite's indexes use take short cuts for plain texts; they must order every
// pair exactly as the Polish collator does, or an index built before would no longer be found.

namespace {

int Sign(int value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

class Collations {
public:
    Collations()
    {
        sqlite3_open(":memory:", &db_);
        RegisterPolishTextFunctions(db_);
    }
    ~Collations() { sqlite3_close(db_); }

    // -1, 0 or 1 as SQLite compares the texts with the collation.
    int compare(const QString &a, const QString &b, const char *collation)
    {
        const QByteArray sql = QByteArray("SELECT CASE WHEN ?1 = ?2 COLLATE ") + collation + " THEN 0 WHEN ?1 < ?2 COLLATE "
                               + collation + " THEN -1 ELSE 1 END";
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db_, sql.constData(), -1, &statement, nullptr);
        const QByteArray x = a.toUtf8();
        const QByteArray y = b.toUtf8();
        sqlite3_bind_text(statement, 1, x.constData(), int(x.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, y.constData(), int(y.size()), SQLITE_TRANSIENT);
        sqlite3_step(statement);
        const int result = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
        return result;
    }
    // What the collator says, the case-sensitive order telling apart texts it calls equal.
    static int expected(const QString &a, const QString &b, bool caseInsensitive)
    {
        const int polish = Sign(ComparePolish(a, b, caseInsensitive));
        if (polish != 0 || caseInsensitive)
            return polish;
        return Sign(a.toUtf8().compare(b.toUtf8()));
    }
    void check(const QString &a, const QString &b)
    {
        EXPECT_EQ(compare(a, b, kPolishCaseInsensitiveCollation), expected(a, b, true))
            << a.toStdString() << " / " << b.toStdString();
        EXPECT_EQ(compare(a, b, kPolishCollation), expected(a, b, false)) << a.toStdString() << " / " << b.toStdString();
    }

private:
    sqlite3 *db_ = nullptr;
};

} // namespace

TEST(PolishCollation, IndexesOrderTextsAsTheCollator)
{
    Collations collations;
    const char *pairs[][2] = {
        {"abc", "abd"},       {"ab", "ab "},       {"ab", "AB"},       {"Ab", "aB"},         {"a b", "ab"},
        {"a.b", "a b"},       {"a.b", "a0"},       {"9", "a"},         {"Z", "a"},           {"K01", "k01 "},
        {"2019.02.02", "2019.12.01"}, {"Kowalski Jan 0", "Kowalski Jan 10"}, {"", "a"}, {"", ""},
        {"a-b", "a.b"},       {"a,b", "a-b"},      {"a_b", "a b"},     {"abc", "abć"},       {"lz", "łz"},
        {"lb", "ła"},         {"Łąka", "łąka"},    {"zz", "źa"},       {"ab", "ab\xcc\x81"}, {"Ab.", "ab,"},
    };
    for (const auto &pair : pairs) {
        collations.check(QString::fromUtf8(pair[0]), QString::fromUtf8(pair[1]));
        collations.check(QString::fromUtf8(pair[1]), QString::fromUtf8(pair[0]));
    }
    // Random short texts of plain characters, and now and then another one.
    const QString plain = QStringLiteral(" .09aAbBkKzZ");
    const QString other = QStringLiteral("-,ąĄłŁ_");
    QRandomGenerator random(17);
    const auto text = [&] {
        QString t;
        const int size = int(random.bounded(5));
        for (int i = 0; i < size; ++i)
            t += random.bounded(10) == 0 ? other[random.bounded(int(other.size()))] : plain[random.bounded(int(plain.size()))];
        return t;
    };
    for (int i = 0; i < 4000; ++i)
        collations.check(text(), text());
}
