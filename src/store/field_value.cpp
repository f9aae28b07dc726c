#include "store/field_value.h"

#include "store/engine_error.h"

#include <QMetaType>
#include <cmath>
#include <limits>

namespace {

EngineError BadValue(const FieldDef &field, const QString &text, const char *what)
{
    return EngineError(EngineErrorKind::Other,
                       QStringLiteral("'%1' nie jest poprawną %2 (pole %3).").arg(text, QString::fromUtf8(what), field.name));
}

EngineError OutOfRange(const FieldDef &field, const QString &text)
{
    return EngineError(EngineErrorKind::Other,
                       QStringLiteral("Wartość %1 nie mieści się w polu %2.").arg(text, field.name));
}

bool IsMoney(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<Money>();
}

bool IsIntegerType(FieldType type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::AutoIncrement;
}

QString NumberText(QString text)
{
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

QString FloatText(double value)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::optional<bool> ParseBoolean(const QString &text)
{
    static const QStringList yes{QStringLiteral("TRUE"), QStringLiteral("T"), QStringLiteral("TAK"),
                                 QStringLiteral("Y"), QStringLiteral("YES"), QStringLiteral("1")};
    static const QStringList no{QStringLiteral("FALSE"), QStringLiteral("F"), QStringLiteral("NIE"),
                                QStringLiteral("N"), QStringLiteral("NO"), QStringLiteral("0")};
    const QString upper = text.trimmed().toUpper();
    if (yes.contains(upper))
        return true;
    if (no.contains(upper))
        return false;
    return std::nullopt;
}

QVariant CheckedInteger(const FieldDef &field, qint64 value)
{
    const qint64 low = field.type == FieldType::SmallInt ? -32768 : std::numeric_limits<qint32>::min();
    const qint64 high = field.type == FieldType::SmallInt ? 32767 : std::numeric_limits<qint32>::max();
    if (value < low || value > high)
        throw OutOfRange(field, QString::number(value));
    return QVariant(value);
}

QVariant StoredFromText(const FieldDef &field, const QString &text)
{
    if (field.type == FieldType::Text || field.type == FieldType::Date) {
        if (text.isEmpty())
            return {};
        return field.size > 0 && text.size() > field.size ? QVariant(text.left(field.size)) : QVariant(text);
    }
    if (field.type == FieldType::Memo || field.type == FieldType::Unknown)
        return text.isEmpty() ? QVariant() : QVariant(text);
    if (text.trimmed().isEmpty())
        return {};
    if (IsIntegerType(field.type)) {
        bool ok = false;
        const qint64 value = NumberText(text).toLongLong(&ok);
        if (!ok)
            throw BadValue(field, text, "liczbą całkowitą");
        return CheckedInteger(field, value);
    }
    switch (field.type) {
    case FieldType::Float: {
        bool ok = false;
        const double value = NumberText(text).toDouble(&ok);
        if (!ok)
            throw BadValue(field, text, "liczbą");
        return value;
    }
    case FieldType::Currency: {
        const std::optional<Money> amount = Money::parse(text);
        if (!amount)
            throw BadValue(field, text, "kwotą");
        return amount->units();
    }
    case FieldType::Boolean: {
        const std::optional<bool> flag = ParseBoolean(text);
        if (!flag)
            throw BadValue(field, text, "wartością logiczną");
        return qint64(*flag ? 1 : 0);
    }
    default:
        return text;
    }
}

QVariant StoredFromMoney(const FieldDef &field, Money amount)
{
    if (field.type == FieldType::Currency)
        return amount.units();
    if (field.type == FieldType::Float)
        return amount.toDouble();
    if (IsIntegerType(field.type))
        return CheckedInteger(field, qint64(std::llround(amount.toDouble())));
    if (field.type == FieldType::Boolean)
        return qint64(amount.isZero() ? 0 : 1);
    return StoredFromText(field, ExactMoneyText(amount));
}

QVariant StoredFromNumber(const FieldDef &field, const QVariant &value)
{
    const bool integral = value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float;
    if (IsIntegerType(field.type)) {
        if (integral)
            return CheckedInteger(field, value.toLongLong());
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::fabs(number) > 9e18)
            throw OutOfRange(field, FloatText(number));
        return CheckedInteger(field, std::llround(number));
    }
    switch (field.type) {
    case FieldType::Float:
        return value.toDouble();
    case FieldType::Currency:
        return integral ? QVariant(value.toLongLong() * Money::kUnitsPerWhole)
                        : QVariant(Money::fromDouble(value.toDouble()).units());
    case FieldType::Boolean:
        return qint64(integral ? (value.toLongLong() != 0) : (value.toDouble() != 0.0));
    default:
        return StoredFromText(field, integral ? QString::number(value.toLongLong()) : FloatText(value.toDouble()));
    }
}

} // namespace

bool IsEmptyStored(const QVariant &stored)
{
    return !stored.isValid() || stored.isNull();
}

QString ExactMoneyText(Money amount)
{
    const qint64 units = amount.units();
    const quint64 magnitude = units < 0 ? 0 - quint64(units) : quint64(units);
    QString text = QString::number(magnitude / Money::kUnitsPerWhole);
    QString fraction = QStringLiteral("%1").arg(magnitude % Money::kUnitsPerWhole, 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += QLatin1Char(',') + fraction;
    return units < 0 ? QLatin1Char('-') + text : text;
}

QVariant StoredValue(const FieldDef &field, const QVariant &value)
{
    if (IsEmptyStored(value))
        return {};
    if (IsMoney(value))
        return StoredFromMoney(field, value.value<Money>());
    switch (value.typeId()) {
    case QMetaType::QString:
        return StoredFromText(field, value.toString());
    case QMetaType::Bool:
        if (field.type == FieldType::Text || field.type == FieldType::Memo)
            return StoredFromText(field, value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        return StoredFromNumber(field, QVariant(qint64(value.toBool() ? 1 : 0)));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Double:
    case QMetaType::Float:
        return StoredFromNumber(field, value);
    case QMetaType::QByteArray:
        return value;
    default:
        return StoredFromText(field, value.toString());
    }
}

QVariant ProgramValue(const FieldDef &field, const QVariant &stored)
{
    if (IsEmptyStored(stored))
        return {};
    if (IsIntegerType(field.type)) {
        const qint64 value = StoredAsInteger(field, stored);
        return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()
                   ? QVariant(int(value)) : QVariant(value);
    }
    switch (field.type) {
    case FieldType::Float:
        return StoredAsFloat(field, stored);
    case FieldType::Currency:
        return QVariant::fromValue(StoredAsMoney(field, stored));
    case FieldType::Boolean:
        return StoredAsBoolean(field, stored);
    default:
        return stored.typeId() == QMetaType::QByteArray ? stored : QVariant(stored.toString());
    }
}

QString StoredAsString(const FieldDef &field, const QVariant &stored)
{
    if (IsEmptyStored(stored))
        return {};
    switch (field.type) {
    case FieldType::Currency:
        return ExactMoneyText(StoredAsMoney(field, stored));
    case FieldType::Float:
        return FloatText(StoredAsFloat(field, stored));
    case FieldType::Boolean:
        return StoredAsBoolean(field, stored) ? QStringLiteral("True") : QStringLiteral("False");
    default:
        if (stored.typeId() == QMetaType::Double)
            return FloatText(stored.toDouble());
        return stored.toString();
    }
}

qint64 StoredAsInteger(const FieldDef &field, const QVariant &stored)
{
    if (IsEmptyStored(stored))
        return 0;
    switch (field.type) {
    case FieldType::Currency:
        return std::llround(StoredAsMoney(field, stored).toDouble());
    case FieldType::Float:
        return std::llround(stored.toDouble());
    default:
        break;
    }
    if (stored.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 value = NumberText(stored.toString()).toLongLong(&ok);
        if (!ok)
            throw BadValue(field, stored.toString(), "liczbą całkowitą");
        return value;
    }
    if (stored.typeId() == QMetaType::Double)
        return std::llround(stored.toDouble());
    return stored.toLongLong();
}

double StoredAsFloat(const FieldDef &field, const QVariant &stored)
{
    if (IsEmptyStored(stored))
        return 0.0;
    if (field.type == FieldType::Currency)
        return StoredAsMoney(field, stored).toDouble();
    if (stored.typeId() == QMetaType::QString) {
        bool ok = false;
        const double value = NumberText(stored.toString()).toDouble(&ok);
        if (!ok)
            throw BadValue(field, stored.toString(), "liczbą");
        return value;
    }
    return stored.toDouble();
}

Money StoredAsMoney(const FieldDef &field, const QVariant &stored)
{
    if (IsEmptyStored(stored))
        return Money();
    if (field.type == FieldType::Currency && stored.typeId() == QMetaType::LongLong)
        return Money::fromUnits(stored.toLongLong());
    if (stored.typeId() == QMetaType::QString) {
        const std::optional<Money> amount = Money::parse(stored.toString());
        if (!amount)
            throw BadValue(field, stored.toString(), "kwotą");
        return *amount;
    }
    if (stored.typeId() == QMetaType::Double)
        return Money::fromDouble(stored.toDouble());
    if (field.type == FieldType::Currency)
        return Money::fromUnits(stored.toLongLong());
    return Money::fromUnits(stored.toLongLong() * Money::kUnitsPerWhole);
}

bool StoredAsBoolean(const FieldDef &field, const QVariant &stored)
{
    if (IsEmptyStored(stored))
        return false;
    if (stored.typeId() == QMetaType::QString) {
        const std::optional<bool> flag = ParseBoolean(stored.toString());
        if (!flag)
            throw BadValue(field, stored.toString(), "wartością logiczną");
        return *flag;
    }
    if (stored.typeId() == QMetaType::Double)
        return stored.toDouble() != 0.0;
    return stored.toLongLong() != 0;
}
