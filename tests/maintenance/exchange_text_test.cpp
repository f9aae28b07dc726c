#include "maintenance/exchange_file.h"
#include "base/money.h"
#include "maintenance/exchange_text.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

FieldDef Field(FieldType type, int size = 0)
{
    return FieldDef{QStringLiteral("POLE"), type, size, false};
}

// The text a value of each type is written as, and that the same text reads back to it.
TEST(ExchangeText, EveryTypeReadsBackWhatItWrites)
{
    struct Case {
        FieldDef field;
        QVariant stored;
        const char *text;
    };
    const Case cases[] = {
        {Field(FieldType::Currency), qint64(12345000), "1234,50"},
        {Field(FieldType::Currency), qint64(-5), "-0,0005"},
        {Field(FieldType::Currency), qint64(0), "0,00"},
        {Field(FieldType::Currency), qint64(9223372036854775807LL), "922337203685477,5807"},
        {Field(FieldType::Integer), qint64(-2147483648LL), "-2147483648"},
        {Field(FieldType::SmallInt), qint64(32767), "32767"},
        {Field(FieldType::Float), 0.1, "0,1"},
        {Field(FieldType::Float), 1e300, "1e+300"},
        {Field(FieldType::Boolean), qint64(1), "Tak"},
        {Field(FieldType::Boolean), qint64(0), "Nie"},
        {Field(FieldType::Text, 5), QStringLiteral("Łódź"), "Łódź"},
        {Field(FieldType::Text, 5), QStringLiteral(" a "), " a "},
        {Field(FieldType::Integer), QVariant(), ""},
        {Field(FieldType::Text, 5), QVariant(), ""},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(ExchangeText(c.field, c.stored), text) << c.text;
        QString problem;
        const QVariant value = ParseExchangeValue({c.field, false}, text, problem);
        EXPECT_TRUE(problem.isEmpty()) << c.text << ": " << problem.toStdString();
        // Written back through the same form, the value gives the same text.
        QVariant stored = value;
        if (value.metaType() == QMetaType::fromType<Money>())
            stored = value.value<Money>().units();
        else if (value.typeId() == QMetaType::Bool)
            stored = qint64(value.toBool());
        EXPECT_EQ(ExchangeText(c.field, stored), text) << c.text;
    }
}

TEST(ExchangeText, ValuesAFieldCannotTakeAreNamed)
{
    struct Case {
        FieldDef field;
        bool isDate;
        const char *text;
        const char *problem;
    };
    const Case cases[] = {
        {Field(FieldType::Text, 10), true, "2019.02.30", "to nie jest data w postaci RRRR.MM.DD"},
        {Field(FieldType::Text, 10), true, "15.03.2019", "to nie jest data w postaci RRRR.MM.DD"},
        {Field(FieldType::Integer), false, "12a", "to nie jest liczba całkowita"},
        {Field(FieldType::Integer), false, "2147483648", "liczba poza zakresem pola"},
        {Field(FieldType::Integer), false, "99999999999999999999", "to nie jest liczba całkowita"},
        {Field(FieldType::Currency), false, "12,5zł", "to nie jest kwota"},
        {Field(FieldType::Currency), false, "1,2,3", "to nie jest kwota"},
        {Field(FieldType::Float), false, "nan", "to nie jest liczba"},
        {Field(FieldType::Boolean), false, "może", "wartość logiczna to \"Tak\" albo \"Nie\""},
        {Field(FieldType::Text, 3), false, "abcd", "tekst dłuższy niż 3 znaków"},
    };
    for (const Case &c : cases) {
        QString problem;
        ParseExchangeValue({c.field, c.isDate}, QString::fromUtf8(c.text), problem);
        EXPECT_EQ(problem, QString::fromUtf8(c.problem)) << c.text;
    }
    // What older files hold is read too.
    QString problem;
    EXPECT_EQ(ParseExchangeValue({Field(FieldType::Boolean), false}, QStringLiteral("True"), problem), QVariant(true));
    EXPECT_EQ(ParseExchangeValue({Field(FieldType::Currency), false}, QStringLiteral("12.5"), problem).value<Money>(),
              Money::fromCents(1250));
    EXPECT_EQ(ParseExchangeValue({Field(FieldType::Text, 10), true}, QStringLiteral("2020.02.29"), problem),
              QVariant(QStringLiteral("2020.02.29")));
}

TEST(ExchangeText, Windows1250HoldsPolishLettersAndRefusesTheRest)
{
    const QString polish = QStringLiteral("zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ €");
    qsizetype badAt = -1;
    const QByteArray bytes = EncodeWindows1250(polish, badAt);
    EXPECT_EQ(badAt, -1);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray("za\xBF\xF3"));
    EXPECT_EQ(DecodeWindows1250(bytes), polish);
    EncodeWindows1250(QStringLiteral("Smørrebrød"), badAt);
    EXPECT_EQ(badAt, 2);
    // Every byte reads as a character that writes back as the same byte.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(EncodeWindows1250(DecodeWindows1250(all), badAt), all);
    EXPECT_EQ(badAt, -1);
}

TEST(ExchangeText, Utf8IsToldFromWindows1250)
{
    EXPECT_TRUE(IsValidUtf8(QStringLiteral("Łódź").toUtf8()));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_FALSE(IsValidUtf8("\xA3\xF3" "d\x9F"));   // "Łódź" in Windows-1250
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // an overlong slash
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xC5"));               // cut short
}

QList<QStringList> Records(const QByteArray &bytes, QList<int> *lines = nullptr)
{
    ExchangeReader reader(bytes);
    QList<QStringList> records;
    QStringList values;
    while (reader.next(values)) {
        records.append(values);
        if (lines)
            lines->append(reader.line());
    }
    return records;
}

TEST(ExchangeReader, LinesWithOrWithoutTheirLastTab)
{
    QList<int> lines;
    const QList<QStringList> records = Records("A\tB\t\r\n1\t2\t\r\n\r\n3\t4\n5\t\t\r6", &lines);
    const QList<QStringList> expected{{"A", "B"}, {"1", "2"}, {"3", "4"}, {"5", ""}, {"6"}};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(lines, (QList<int>{1, 2, 4, 5, 6}));
}

TEST(ExchangeReader, EncodingFollowsTheBytes)
{
    const QString name = QStringLiteral("Łódź");
    for (const QByteArray &bytes : {QByteArray("N\t\r\n") + name.toUtf8(),
                                    QByteArray("\xEF\xBB\xBFN\t\r\n") + name.toUtf8(),
                                    QByteArray("N\t\r\n\xA3\xF3" "d\x9F")}) {
        const QList<QStringList> records = Records(bytes);
        ASSERT_EQ(records.size(), 2);
        EXPECT_EQ(records[0], QStringList{"N"});
        EXPECT_EQ(records[1], QStringList{name});
    }
}

TEST(ExchangeReader, SemicolonFileWithQuotes)
{
    QList<int> lines;
    ExchangeReader reader("NR;NAZWA;UL\r\n1;\"Kowalski; syn\";\"ul. \"\"Długa\"\"\"\r\n2;\"dwa\r\nwiersze\";\r\n3;;x\r\n");
    EXPECT_TRUE(reader.isSemicolonFile());
    const QList<QStringList> records = Records("NR;NAZWA;UL\r\n1;\"Kowalski; syn\";\"ul. \"\"Długa\"\"\"\r\n"
                                               "2;\"dwa\r\nwiersze\";\r\n3;;x\r\n",
                                               &lines);
    const QList<QStringList> expected{{"NR", "NAZWA", "UL"},
                                      {"1", "Kowalski; syn", "ul. \"Długa\""},
                                      {"2", "dwa\r\nwiersze"},
                                      {"3", "", "x"}};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(lines, (QList<int>{1, 2, 3, 5}));
    // A header with both tabs and semicolons is a tab file.
    EXPECT_FALSE(ExchangeReader("A;B\tC\t").isSemicolonFile());
}

TEST(ExchangeReader, FaultsNameTheLineAndColumn)
{
    QByteArray many = "A\t\r\n";
    for (int i = 0; i < 101; ++i)
        many += "x\t";
    try {
        Records(many);
        ADD_FAILURE() << "101 values read";
    } catch (const ExchangeError &error) {
        EXPECT_EQ(error.line(), 2);
        EXPECT_EQ(error.column(), 101);
        EXPECT_EQ(error.message(), QStringLiteral("Wiersz 2 ma więcej niż 100 wartości."));
    }
    try {
        Records("A;B\r\n1;2\r\n3;\"otwarty\r\n");
        ADD_FAILURE() << "an unclosed quote read";
    } catch (const ExchangeError &error) {
        EXPECT_EQ(error.line(), 3);
        EXPECT_EQ(error.column(), 2);
        EXPECT_EQ(error.message(), QStringLiteral("Wiersz 3, kolumna 2: cudzysłów nie jest zamknięty."));
    }
    EXPECT_THROW(ReadExchangeHeader("\r\n\r\n"), ExchangeError);
}

// Everything a reader gives for a file.
struct Read {
    QList<QStringList> records;
    QList<int> lines;
    QList<bool> ended;
    int lineCount = 0;
    bool utf8 = false;
    QString error;
    friend bool operator==(const Read &, const Read &) = default;
};

// The file read a few bytes at a time gives what it gives read whole: a line end, a letter of
// several bytes or a quoted value cut between two pieces is read as one.
TEST(ExchangeReader, PiecesOfAnySizeReadAsTheWhole)
{
    const auto read = [](ExchangeReader &reader) {
        Read result;
        result.lineCount = reader.lineCount();
        result.utf8 = reader.readsAsUtf8();
        QStringList values;
        try {
            while (reader.next(values)) {
                result.records.append(values);
                result.lines.append(reader.line());
                result.ended.append(reader.recordEnded());
            }
        } catch (const ExchangeError &error) {
            result.error = error.message();
        }
        return result;
    };
    const QByteArray files[] = {
        "A\tB\t\r\n1\t2\t\r\n\r\n3\t4\n5\t\t\r6\r\r\n7",
        QByteArray("\xEF\xBB\xBFN\tM\r\n") + QStringLiteral("Łódź\tżółć\r\nźdźbło\t").toUtf8(),
        "N\t\r\n\xA3\xF3" "d\x9F\t\xB9\r\n",
        "NR;NAZWA;UL\r\n1;\"Kowalski; syn\";\"ul. \"\"Długa\"\"\"\r\n2;\"dwa\r\nwiersze\";\r\n\r\n3;;x\r",
        "A;B\r\n1;2\r\n3;\"otwarty\r\n",
    };
    for (const QByteArray &bytes : files) {
        ExchangeReader whole(bytes);
        const Read expected = read(whole);
        ASSERT_FALSE(expected.records.isEmpty()) << bytes.toStdString();
        for (qsizetype piece = 1; piece <= 9; ++piece) {
            QBuffer buffer;
            buffer.setData(bytes);
            buffer.open(QIODevice::ReadOnly);
            ExchangeReader reader(buffer, piece);
            EXPECT_TRUE(read(reader) == expected) << bytes.toStdString() << " in pieces of " << piece;
        }
    }
    // A UTF-8 file with a byte that breaks it is refused naming that byte's line.
    const QByteArray broken = QStringLiteral("N\r\nŁódź\r\nżółć\r\nx\xFFy\r\n").toUtf8().replace("\xC3\xBF", "\xFF");
    for (qsizetype piece = 1; piece <= 9; ++piece) {
        QBuffer buffer;
        buffer.setData(broken);
        buffer.open(QIODevice::ReadOnly);
        try {
            ExchangeReader reader(buffer, piece);
            ADD_FAILURE() << "read in pieces of " << piece;
        } catch (const ExchangeError &error) {
            EXPECT_EQ(error.line(), 4) << "in pieces of " << piece;
        }
    }
}

} // namespace
