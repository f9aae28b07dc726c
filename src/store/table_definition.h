#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The structure of a keyed table: fields in their physical order and index definitions.
// Field type values are the type codes of the structure listing.

enum class FieldType : int {
    Unknown = 0,
    Text = 1,
    SmallInt = 2,
    Integer = 3,
    Boolean = 5,
    Float = 6,
    Currency = 7,
    Date = 9,
    AutoIncrement = 14,
    Memo = 16,
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;          // characters for text, stored part for memo, 0 for fixed-size types
    bool required = false;

    friend bool operator==(const FieldDef &, const FieldDef &) = default;
};

struct IndexDef {
    QString name;          // empty for the primary index
    QStringList fields;
    bool primary = false;  // the table's key; implies unique
    bool unique = false;
    bool caseInsensitive = false;

    friend bool operator==(const IndexDef &, const IndexDef &) = default;
};

struct TableDefinition {
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    // Position of a field, names compared without regard to case; -1 when absent.
    int fieldIndex(const QString &name) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }

    friend bool operator==(const TableDefinition &, const TableDefinition &) = default;
};
