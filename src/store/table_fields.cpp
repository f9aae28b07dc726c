#include "store/table.h"

#include "store/display_format.h"
#include "store/field_value.h"

namespace {

bool IsNumberField(FieldType type)
{
    return type == FieldType::Currency || type == FieldType::Float || type == FieldType::Integer
           || type == FieldType::SmallInt || type == FieldType::AutoIncrement;
}

} // namespace

void Table::rebuildFieldNames()
{
    fieldNames_.clear();
    if (!structure_)
        return;
    const int stored = int(structure_->definition.fields.size());
    for (int i = 0; i < stored; ++i)
        fieldNames_.insert(structure_->definition.fields[i].name.toUpper(), {i, false});
    for (int i = 0; i < calculatedFields_.size(); ++i)
        fieldNames_.insert(calculatedFields_[i].name.toUpper(), {stored + i, true});
}

Table::FieldRef Table::fieldRef(const QString &name) const
{
    requireOpen();
    const auto it = fieldNames_.constFind(name.toUpper());
    if (it == fieldNames_.constEnd())
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Tabela %1 nie ma pola %2.").arg(objectName_.isEmpty() ? tableName_ : objectName_, name));
    return *it;
}

const FieldDef &Table::fieldDefOf(const FieldRef &ref) const
{
    if (ref.calculated)
        return calculatedFields_[ref.position - structure_->definition.fields.size()];
    return storedField(ref.position);
}

const Row *Table::readRow() const
{
    if (evaluating_)
        return evaluating_;
    if (state_ == TableState::Edit || state_ == TableState::Insert)
        return &editRow_;
    if (current_ >= 0 && current_ < window_.size())
        return &window_[current_];
    return nullptr;
}

QVariant Table::storedValue(const FieldRef &ref) const
{
    const Row *row = readRow();
    if (!row)
        return {};
    if (ref.calculated)
        return row->calculated.value(ref.position - structure_->definition.fields.size());
    return row->values.value(ref.position);
}

QList<FieldDef> Table::fields() const
{
    QList<FieldDef> all = structure_ ? structure_->definition.fields : QList<FieldDef>();
    return all + calculatedFields_;
}

int Table::fieldCount() const
{
    return int(fields().size());
}

bool Table::hasField(const QString &name) const
{
    if (isOpen())
        return fieldNames_.contains(name.toUpper());
    return isCalculatedField(name);
}

bool Table::isCalculatedField(const QString &name) const
{
    for (const FieldDef &field : calculatedFields_)
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Table::addCalculatedField(const FieldDef &field)
{
    requireClosed("dodanie pola wyliczanego");
    calculatedFields_.append(field);
}

void Table::clearCalculatedFields()
{
    requireClosed("usunięcie pól wyliczanych");
    calculatedFields_.clear();
}

QString Table::asString(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    return StoredAsString(fieldDefOf(ref), storedValue(ref));
}

int Table::asInteger(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    return int(StoredAsInteger(fieldDefOf(ref), storedValue(ref)));
}

double Table::asFloat(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    return StoredAsFloat(fieldDefOf(ref), storedValue(ref));
}

Money Table::asMoney(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    return StoredAsMoney(fieldDefOf(ref), storedValue(ref));
}

bool Table::asBoolean(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    return StoredAsBoolean(fieldDefOf(ref), storedValue(ref));
}

bool Table::isNull(const QString &field) const
{
    return IsEmptyStored(storedValue(fieldRef(field)));
}

QVariant Table::value(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    return ProgramValue(fieldDefOf(ref), storedValue(ref));
}

QString Table::displayText(const QString &field) const
{
    const FieldRef ref = fieldRef(field);
    const FieldDef &def = fieldDefOf(ref);
    const QVariant stored = storedValue(ref);
    const QString format = displayFormats_.value(def.name.toUpper());
    if (format.isEmpty() || !IsNumberField(def.type) || IsEmptyStored(stored))
        return StoredAsString(def, stored);
    if (def.type == FieldType::Currency)
        return FormatDisplayNumber(format, StoredAsMoney(def, stored));
    return FormatDisplayNumber(format, StoredAsFloat(def, stored));
}

void Table::setDisplayFormat(const QString &field, const QString &format)
{
    displayFormats_.insert(field.toUpper(), format);
}

void Table::setString(const QString &field, const QString &text)
{
    assign(field, text);
}

void Table::setInteger(const QString &field, qint64 number)
{
    assign(field, QVariant(number));
}

void Table::setFloat(const QString &field, double number)
{
    assign(field, QVariant(number));
}

void Table::setMoney(const QString &field, Money amount)
{
    assign(field, QVariant::fromValue(amount));
}

void Table::setBoolean(const QString &field, bool flag)
{
    assign(field, QVariant(flag));
}

void Table::setValue(const QString &field, const QVariant &value)
{
    assign(field, value);
}

void Table::clear(const QString &field)
{
    assign(field, QVariant());
}

void Table::setFieldChangeHandler(const QString &field, FieldHandler handler)
{
    changeHandlers_.insert(field.toUpper(), std::move(handler));
}

void Table::setFieldValidateHandler(const QString &field, FieldHandler handler)
{
    validateHandlers_.insert(field.toUpper(), std::move(handler));
}

void Table::assign(const QString &field, const QVariant &programValue)
{
    const FieldRef ref = fieldRef(field);
    assignStored(ref, StoredValue(fieldDefOf(ref), programValue));
}

void Table::requireEditing(const FieldRef &ref) const
{
    const FieldDef &def = fieldDefOf(ref);
    if (ref.calculated)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Pole wyliczane %1 można ustawić tylko przy wyliczaniu.").arg(def.name));
    if (state_ != TableState::Edit && state_ != TableState::Insert)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Tabela %1 nie jest w trybie edycji.").arg(objectName_.isEmpty() ? tableName_ : objectName_));
    if (def.type == FieldType::AutoIncrement)
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Pole %1 jest tylko do odczytu.").arg(def.name));
}

void Table::assignStored(const FieldRef &ref, const QVariant &stored)
{
    if (calculating_ && ref.calculated) {
        calculating_->calculated[ref.position - structure_->definition.fields.size()] = stored;
        return;
    }
    requireEditing(ref);
    const QString key = fieldDefOf(ref).name.toUpper();
    QVariant &slot = editRow_.values[ref.position];
    const QVariant old = slot;
    slot = stored;
    if (const auto validate = validateHandlers_.constFind(key); validate != validateHandlers_.constEnd() && *validate) {
        try {
            (*validate)(*this, fieldDefOf(ref).name);
        } catch (...) {
            editRow_.values[ref.position] = old;
            throw;
        }
    }
    changedFields_.insert(ref.position);
    modified_ = true;
    if (const auto change = changeHandlers_.constFind(key); change != changeHandlers_.constEnd() && *change)
        (*change)(*this, fieldDefOf(ref).name);
    notify(TableChange::Data);
    for (Table *detail : std::as_const(details_))
        if (detail->masterFields_.contains(fieldDefOf(ref).name, Qt::CaseInsensitive)) {
            notifyDetails();
            break;
        }
}
