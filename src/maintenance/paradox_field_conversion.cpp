#include "maintenance/paradox_field_conversion.h"

#include "base/money.h"
#include "store/engine_error.h"
#include "store/field_value.h"

#include <QDate>

#include <cmath>

namespace {

const QString kDateFormat = QStringLiteral("yyyy.MM.dd");

bool HoldsText(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Date || type == FieldType::Memo;
}

bool HoldsWholeNumbers(FieldType type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::AutoIncrement;
}

// The program's value for the old one, in the kind the field takes.
QVariant ProgramValueFor(const QVariant &value, const FieldDef &field)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(kDateFormat);
    if (value.typeId() != QMetaType::Double)
        return value;
    const double number = value.toDouble();
    if (field.type == FieldType::Float)
        return number;
    if (HoldsWholeNumbers(field.type)) {
        if (number != std::trunc(number))
            throw ParadoxFileError(QStringLiteral("liczba %1 nie jest całkowita").arg(number, 0, 'g', 17));
        return qint64(number);
    }
    // Money, and a number written into a text, go through its shortest decimal text.
    const Money amount = Money::fromDouble(number);
    if (field.type == FieldType::Currency)
        return QVariant::fromValue(amount);
    return ExactMoneyText(amount);
}

} // namespace

FieldDef CarriedField(const ParadoxField &field)
{
    switch (field.kind) {
    case ParadoxFieldKind::Alpha: return {field.name, FieldType::Text, field.length};
    case ParadoxFieldKind::Date: return {field.name, FieldType::Date, 10};
    case ParadoxFieldKind::Short: return {field.name, FieldType::SmallInt, 0};
    case ParadoxFieldKind::Long: return {field.name, FieldType::Integer, 0};
    case ParadoxFieldKind::Currency: return {field.name, FieldType::Currency, 0};
    case ParadoxFieldKind::Number: return {field.name, FieldType::Float, 0};
    case ParadoxFieldKind::Logical: return {field.name, FieldType::Boolean, 0};
    case ParadoxFieldKind::Memo: return {field.name, FieldType::Memo, std::max(field.length - 10, 1)};
    case ParadoxFieldKind::AutoIncrement: return {field.name, FieldType::AutoIncrement, 0};
    }
    return {field.name, FieldType::Text, field.length};
}

ConvertedValue ConvertParadoxValue(const QVariant &value, const FieldDef &field)
{
    if (!value.isValid())
        return {};
    if (value.typeId() == QMetaType::QDate && !value.toDate().isValid())
        return {QVariant(), QStringLiteral("dzień, który nie jest datą; pole zostaje puste")};
    QVariant program = ProgramValueFor(value, field);
    ConvertedValue converted;
    if (field.type != FieldType::Memo && HoldsText(field.type) && field.size > 0) {
        const QString text = program.toString();
        if (text.size() > field.size) {
            converted.change = QStringLiteral("tekst \"%1\" dłuższy niż pole (%2 znaków); skrócono").arg(text).arg(field.size);
            program = text.left(field.size);
        }
    }
    try {
        converted.stored = StoredValue(field, program);
    } catch (const EngineError &error) {
        throw ParadoxFileError(error.message());
    }
    return converted;
}
