#pragma once

#include "maintenance/paradox_table_file.h"
#include "store/table_definition.h"

#include <QString>
#include <QVariant>

// Between a value of an old Paradox table and the value a field of this program's tables stores.

// The field a field of an old table becomes where the table is carried over in its own fields (a
// table of another module of the suite, a field beyond the program's own): same name, the type
// that holds the same values (a date becomes a date field holding "YYYY.MM.DD").
FieldDef CarriedField(const ParadoxField &field);

struct ConvertedValue {
    QVariant stored; // the stored value (store/field_value.h); invalid for an empty field
    QString change;  // why the value had to change (a text cut to its field, a day that is no date); empty when kept
};

// The value read from the old table (as ParadoxTableFile::row gives it) for the field. Money and
// numbers are rounded to the nearest ten-thousandth through their shortest decimal text, so 0,10
// stays 0,10. Throws ParadoxFileError with the reason when the field cannot hold the value at
// all (a text that is no number where a number belongs).
ConvertedValue ConvertParadoxValue(const QVariant &value, const FieldDef &field);
