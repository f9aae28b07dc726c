#include "store/polish_collation.h"
#include "store/transaction_scope.h"
#include "store_fixture.h"

#include <QRandomGenerator>
#include <algorithm>
#include <numeric>

// A table's Polish indexes order texts as the program's collator does, on a table file and on
// the server alike: the same rows come in the same order whichever back end holds them.

namespace {

class PolishOrder : public StoreTest {};

// The collation test's pairs and random short texts, now and then with a Polish letter or a sign.
QStringList SampleTexts()
{
    QStringList texts;
    for (const char *text : {"abc", "abd", "ab", "ab ", "AB", "Ab", "aB", "a b", "a.b", "a0", "9", "a", "Z", "K01",
                             "k01 ", "2019.02.02", "2019.12.01", "Kowalski Jan 0", "Kowalski Jan 10", "", "a-b",
                             "a,b", "a_b", "abć", "lz", "łz", "lb", "ła", "Łąka", "łąka", "zz", "źa", "Ab.", "ab,"})
        texts << QString::fromUtf8(text);
    const QString plain = QStringLiteral(" .09aAbBkKzZ");
    const QString other = QStringLiteral("-,ąĄłŁ_");
    QRandomGenerator random(17);
    for (int i = 0; i < 4000; ++i) {
        QString t;
        const int size = int(random.bounded(5));
        for (int c = 0; c < size; ++c)
            t += random.bounded(10) == 0 ? other[random.bounded(int(other.size()))]
                                         : plain[random.bounded(int(plain.size()))];
        texts << t;
    }
    return texts;
}

} // namespace

TEST_F(PolishOrder, IndexesOrderTextsAsTheCollatorOnEveryBackEnd)
{
    TableDefinition d;
    d.fields = {Field("NR", FieldType::Integer), Field("TXT", FieldType::Text, 10)};
    d.indexes = {Primary("NR"), Index("Cinx", "TXT", false), Index("Iinx", "TXT", true)};
    auto t = openTable(QStringLiteral("POLSKI"), d);
    const QStringList texts = SampleTexts();
    TransactionScope scope;
    for (int i = 0; i < texts.size(); ++i)
        AddRow(*t, {{"NR", i + 1}, {"TXT", texts[i]}});
    scope.commit();

    for (const bool caseInsensitive : {false, true}) {
        // Entry order breaks the ties, as the engine breaks them by row id; an empty text is an
        // empty field and comes first.
        QList<int> order(texts.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            if (texts[a].isEmpty() || texts[b].isEmpty())
                return texts[a].isEmpty() && !texts[b].isEmpty();
            int c = ComparePolish(texts[a], texts[b], caseInsensitive);
            if (c == 0 && !caseInsensitive)
                c = texts[a].toUtf8().compare(texts[b].toUtf8());
            return c < 0;
        });
        QStringList expected;
        for (int i : order)
            expected << QString::number(i + 1);
        t->setIndexName(QString::fromLatin1(caseInsensitive ? "Iinx" : "Cinx"));
        EXPECT_EQ(Column(*t, "NR"), expected) << (caseInsensitive ? "case-insensitive" : "case-sensitive");
    }
}
