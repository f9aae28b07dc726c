#include "print/listed_documents.h"

#include "store/field_value.h"

namespace {

constexpr int kPage = 4096;

} // namespace

ListedDocuments::ListedDocuments(const Table &documentsLike, const QString &indexName,
                                 const QList<FilterCondition> &conditions)
    : view_(std::make_unique<Table>(*documentsLike.session()))
{
    view_->setTableName(documentsLike.tableName());
    view_->setIndexName(indexName);
    view_->open();
    view_->setFilterConditions(conditions);
    view_->setFiltered(!conditions.isEmpty());
    definition_ = view_->definition();
    auto at = [&](const char *field) {
        const int position = definition_.fieldIndex(QString::fromLatin1(field));
        if (position < 0)
            throw EngineError(EngineErrorKind::Other,
                              QStringLiteral("Tabela %1 nie ma pola %2.").arg(view_->tableName(), QLatin1String(field)));
        return position;
    };
    positions_ = {at("SYMBOL"), at("NUMER"), at("RD"),   at("DATA"), at("KWOTA"),
                  at("KWOTAP"), at("ONAZ1"), at("TYT1"), at("A1")};
    readFields_ = {positions_.desk,   positions_.report,         positions_.kind,
                   positions_.date,   positions_.amount,         positions_.lineAmount,
                   positions_.contractorName, positions_.description, positions_.typedNumber};
}

int ListedDocuments::fieldPosition(const QString &field) const
{
    const int position = definition_.fieldIndex(field);
    if (position >= 0 && !readFields_.contains(position))
        readFields_.append(position);
    return position;
}

ListedDocuments::~ListedDocuments() = default;

int ListedDocuments::count() const
{
    return view_->recordCount();
}

void ListedDocuments::forEach(const std::function<void(const ListedDocument &)> &visit) const
{
    Bookmark after;
    for (;;) {
        qint64 last = 0;
        const int read = view_->visitRows(after, kPage, readFields_, [&](const StoredValues &row) {
            last = row.rowId();
            visit(ListedDocument(*this, row));
        });
        if (read < kPage)
            return;
        after = {last};
    }
}

// Texts and whole numbers go straight from the stored value; anything else (an amount, a value
// another program stored in a column of another kind) the way every getter reads it.
QString ListedDocument::textAt(int position) const
{
    const FieldDef &field = documents_.definition_.fields[position];
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Date:
        if (std::optional<QString> text = row_.storedText(position))
            return *std::move(text);
        break;
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::AutoIncrement:
        if (const std::optional<qint64> number = row_.storedInteger(position))
            return QString::number(*number);
        break;
    default:
        break;
    }
    return StoredAsString(field, row_.value(position));
}

Money ListedDocument::moneyAt(int position) const
{
    const FieldDef &field = documents_.definition_.fields[position];
    if (field.type == FieldType::Currency)
        if (const std::optional<qint64> units = row_.storedInteger(position))
            return Money::fromUnits(*units);
    return StoredAsMoney(field, row_.value(position));
}

QString ListedDocument::desk() const { return textAt(documents_.positions_.desk); }
QString ListedDocument::report() const { return textAt(documents_.positions_.report); }
QString ListedDocument::kind() const { return textAt(documents_.positions_.kind); }
QString ListedDocument::date() const { return textAt(documents_.positions_.date); }
Money ListedDocument::amount() const { return moneyAt(documents_.positions_.amount); }
Money ListedDocument::lineAmount() const { return moneyAt(documents_.positions_.lineAmount); }
QString ListedDocument::contractorName() const { return textAt(documents_.positions_.contractorName); }
QString ListedDocument::description() const { return textAt(documents_.positions_.description); }
QString ListedDocument::typedNumber() const { return textAt(documents_.positions_.typedNumber); }
