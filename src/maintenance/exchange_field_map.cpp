#include "maintenance/exchange_field_map.h"

#include "store/table.h"

#include <QSet>

QList<ExchangeField> ExchangeSource::fields() const
{
    QList<ExchangeField> result;
    for (const FieldDef &def : table.definition().fields) {
        bool isDate = def.type == FieldType::Date;
        for (const QString &name : dateFields)
            isDate = isDate || name.compare(def.name, Qt::CaseInsensitive) == 0;
        result.append({def, isDate, isDate ? latestDateYear : 0});
    }
    return result;
}

QStringList ExchangeSource::keyFields() const
{
    for (const IndexDef &index : table.definition().indexes)
        if (index.primary)
            return index.fields;
    return {};
}

FieldMap FieldMap::forShowing(const ExchangeSource &source, ExchangeMode mode)
{
    FieldMap map;
    const QStringList keys = source.keyFields();
    for (const ExchangeField &field : source.fields()) {
        const QString column = source.columnName(field.def.name);
        QString fileColumn;
        if (mode == ExchangeMode::Export)
            fileColumn = column;
        else if (keys.contains(field.def.name, Qt::CaseInsensitive))
            fileColumn = kKeyColumnText;
        map.rows.append({column, fileColumn, field.def.name, false});
    }
    map.fileColumns_ = mode == ExchangeMode::Export ? int(map.rows.size()) : 0;
    return map;
}

void FieldMap::matchHeader(const ExchangeSource &source, const QStringList &columnNames)
{
    const QList<ExchangeField> fields = source.fields();
    const int n = int(columnNames.size());
    QList<FieldMapRow> matched;
    QList<bool> byName(n, false);
    for (int i = 0; i < n; ++i) {
        FieldMapRow row;
        row.fileColumn = columnNames[i];
        if (i < fields.size()) {
            row.fieldName = fields[i].def.name;
            row.shown = source.columnName(row.fieldName);
        }
        matched.append(row);
    }
    QSet<QString> foundByName;
    for (const ExchangeField &field : fields) {
        const QString column = source.columnName(field.def.name);
        int found = -1;
        for (int i = 0; i < n && found < 0; ++i)
            if (columnNames[i].trimmed().compare(column, Qt::CaseInsensitive) == 0)
                found = i;
        if (found >= 0) {
            matched[found].shown = column;
            matched[found].fieldName = field.def.name;
            byName[found] = true;
            foundByName.insert(field.def.name);
        } else {
            matched.append({column, QString(), field.def.name, false});
        }
    }
    // A column read by position gives way to the column that bears the field's name.
    for (int i = 0; i < n; ++i)
        if (!byName[i] && foundByName.contains(matched[i].fieldName)) {
            matched[i].shown.clear();
            matched[i].fieldName.clear();
        }
    rows = matched;
    fileColumns_ = n;
    const QStringList keys = source.keyFields();
    for (const QString &key : keys)
        for (FieldMapRow &row : rows)
            if (row.fieldName.compare(key, Qt::CaseInsensitive) == 0) {
                row.key = true;
                break;
            }
}

QStringList FieldMap::missingKeyColumns(const ExchangeSource &source) const
{
    QStringList missing;
    for (const QString &key : source.keyFields()) {
        bool present = false;
        for (const FieldMapRow &row : rows)
            if (row.fieldName.compare(key, Qt::CaseInsensitive) == 0) {
                present = !row.fileColumn.trimmed().isEmpty();
                break;
            }
        if (!present)
            missing.append(source.columnName(key));
    }
    return missing;
}

bool FieldMap::keyComplete(const ExchangeSource &source) const
{
    return fileColumns_ > 0 && missingKeyColumns(source).isEmpty();
}
