#pragma once

#include <QVariantList>
#include <QtGlobal>

// One row as read from a table file: its SQLite row id, the stored value of every field in
// field order (invalid for an empty field), and the values of the calculated fields.
struct Row {
    qint64 rowId = 0;
    QVariantList values;
    QVariantList calculated;
};
