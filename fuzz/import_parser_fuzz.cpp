// The import parser under libFuzzer: any bytes as an exchange file, every value of every line
// read as each kind of field. A value that reads must write back to a text that reads as the
// same value. Built and run by scripts/fuzz-import.sh, not by the normal build.
#include "base/money.h"
#include "maintenance/exchange_file.h"
#include "maintenance/exchange_text.h"

#include <cstdint>
#include <cstdlib>

namespace {

const ExchangeField kFields[] = {
    {{QStringLiteral("T"), FieldType::Text, 10, false}, false},
    {{QStringLiteral("D"), FieldType::Text, 10, false}, true},
    {{QStringLiteral("M"), FieldType::Memo, 10, false}, false},
    {{QStringLiteral("I"), FieldType::Integer, 0, false}, false},
    {{QStringLiteral("S"), FieldType::SmallInt, 0, false}, false},
    {{QStringLiteral("A"), FieldType::AutoIncrement, 0, false}, false},
    {{QStringLiteral("K"), FieldType::Currency, 0, false}, false},
    {{QStringLiteral("F"), FieldType::Float, 0, false}, false},
    {{QStringLiteral("B"), FieldType::Boolean, 0, false}, false},
};

// The stored form of a program value, as the table keeps it.
QVariant Stored(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>().units();
    if (value.typeId() == QMetaType::Bool)
        return qint64(value.toBool());
    return value;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        ExchangeReader reader(bytes);
        QStringList values;
        int lastLine = 0;
        while (reader.next(values)) {
            Check(reader.line() > lastLine);
            Check(values.size() <= kMaxExchangeValues);
            lastLine = reader.line();
            for (const QString &value : values) {
                for (const ExchangeField &field : kFields) {
                    QString problem;
                    const QVariant parsed = ParseExchangeValue(field, value, problem);
                    if (!problem.isEmpty())
                        continue;
                    const QString text = ExchangeText(field.def, Stored(parsed));
                    QString again;
                    const QVariant reparsed = ParseExchangeValue(field, text, again);
                    Check(again.isEmpty());
                    Check(Stored(reparsed) == Stored(parsed));
                }
            }
        }
        Check(lastLine <= reader.lineCount());
    } catch (const ExchangeError &error) {
        Check(error.line() >= 0 && error.column() >= 0);
    }
    return 0;
}
