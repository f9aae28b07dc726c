#pragma once

#include "base/money.h"
#include "store/table_definition.h"

#include <QString>
#include <QVariant>

// Between the values the program reads and writes and the values a table file stores: texts
// as texts (cut to the field's size; empty is empty), integers and booleans (0/1) as integers,
// money as ten-thousandths, floats as doubles. Conversions that cannot be made (a text that is
// no number) throw EngineError (Other) with a message that names the field and the text.

// The stored value for a program value (invalid = empty; QString, integers, double, bool, Money).
QVariant StoredValue(const FieldDef &field, const QVariant &value);
// The program's value of a stored value: invalid when empty, else QString, int (qint64 for
// values beyond 32 bits), double, bool or Money.
QVariant ProgramValue(const FieldDef &field, const QVariant &stored);

QString StoredAsString(const FieldDef &field, const QVariant &stored);
qint64 StoredAsInteger(const FieldDef &field, const QVariant &stored);
double StoredAsFloat(const FieldDef &field, const QVariant &stored);
Money StoredAsMoney(const FieldDef &field, const QVariant &stored);
bool StoredAsBoolean(const FieldDef &field, const QVariant &stored);

bool IsEmptyStored(const QVariant &stored);
// Money as text with "," and as many decimals as it has ("12,5", "-3", "0,0001").
QString ExactMoneyText(Money amount);
