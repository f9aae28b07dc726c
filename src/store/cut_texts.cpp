#include "store/cut_texts.h"

#include "store/table.h"

int CutTexts::textSize(const Table &table, const QString &field)
{
    auto found = textSizes_.find(&table);
    if (found == textSizes_.end()) {
        QHash<QString, int> sizes;
        for (const FieldDef &def : table.definition().fields)
            if (def.type == FieldType::Text && def.size > 0)
                sizes.insert(def.name, def.size);
        found = textSizes_.insert(&table, sizes);
    }
    return found->value(field, 0);
}

void CutTexts::setText(Table &table, const QString &field, const QString &text, const QString &row)
{
    const int size = textSize(table, field);
    if (size > 0 && text.size() > size)
        lines_ << QStringLiteral("%1, pole %2: \"%3\"").arg(row, field, text);
    table.setString(field, text);
}

QString CutTexts::listing(const QString &tableName) const
{
    QString text;
    for (const QString &line : lines_)
        text += u'\r' + (tableName.isEmpty() ? line : tableName + u' ' + line);
    return text;
}
