#include "store/bulk_writer.h"

#include "store/field_value.h"
#include "store/polish_collation.h"
#include "store/row_query.h"
#include "store/table.h"
#include "store/table_connection.h"

#include <QStringEncoder>

#include <algorithm>
#include <cmath>

namespace {

QString TableShown(const Table &table)
{
    return table.objectName().isEmpty() ? table.tableName() : table.objectName();
}

// The UTF-8 form of a text, into a buffer that keeps its room from row to row. A half of a
// surrogate pair becomes U+FFFD, as every other conversion of the program writes it.
void EncodeUtf8(std::string &out, const QString &text)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    out.resize(size_t(encoder.requiredSpace(text.size())));
    const char *const end = encoder.appendToBuffer(out.data(), text);
    out.resize(size_t(end - out.data()));
}

// The hash of some fields' values, equal for values findExact() finds equal (an empty text is no
// empty field, a whole float is its integer).
quint64 ValuesHash(const QVariantList &row, const QList<int> &fields)
{
    const auto mix = [](quint64 x) {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        return x ^ (x >> 31);
    };
    quint64 hash = 0;
    for (const int field : fields) {
        const QVariant &part = row.at(field);
        quint64 one = 1;
        switch (part.typeId()) {
        case QMetaType::UnknownType:
            break;
        case QMetaType::QString: {
            const QString &text = *static_cast<const QString *>(part.constData());
            if (text.isNull())
                break;
            quint64 h = 0xcbf29ce484222325ULL;
            for (const QChar c : text)
                h = (h ^ c.unicode()) * 0x100000001b3ULL;
            one = mix(h ^ 0x5bd1e995);
            break;
        }
        case QMetaType::Double: {
            const double number = *static_cast<const double *>(part.constData());
            if (std::trunc(number) == number && std::fabs(number) < 9e15)
                one = mix(quint64(qint64(number)));
            else
                one = mix(qHash(number) ^ 0x27d4eb2d);
            break;
        }
        default:
            one = IsEmptyStored(part) ? 1 : mix(quint64(part.toLongLong()));
            break;
        }
        hash = mix(hash ^ one) + 0x9e3779b97f4a7c15ULL;
    }
    return hash;
}

} // namespace

// Which values the table may hold in some fields: a value it does not hold is mostly told at
// once, without a search. A bit set of a fixed size, so that memory does not grow with the table
// (with millions of rows a few more searches are made in vain).
class BulkWriter::ValueFilter {
public:
    void add(quint64 hash)
    {
        for (int i = 0; i < kProbes; ++i)
            bits_[bit(hash, i) / 64] |= quint64(1) << (bit(hash, i) % 64);
    }
    bool mayHold(quint64 hash) const
    {
        for (int i = 0; i < kProbes; ++i)
            if (!(bits_[bit(hash, i) / 64] & (quint64(1) << (bit(hash, i) % 64))))
                return false;
        return true;
    }

private:
    static constexpr int kProbes = 4;
    static constexpr quint64 kBits = quint64(1) << 25; // 4 MB
    static quint64 bit(quint64 hash, int probe)
    {
        const quint64 step = (hash >> 32) | 1;
        return (hash + quint64(probe) * step) % kBits;
    }
    std::vector<quint64> bits_ = std::vector<quint64>(kBits / 64);
};

BulkWriter::BulkWriter(Table &table) : table_(table)
{
    table.requireOpen();
    if (table.state() == TableState::Edit || table.state() == TableState::Insert)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Tabela %1 ma wiersz w edycji.").arg(TableShown(table)));
    connection_ = table.connection_;
    structure_ = table.structure();
    const int primary = structure_.indexPosition(QString());
    if (primary >= 0) {
        keyColumns_ = structure_.indexColumns[primary];
        keysExact_ = true;
        for (const KeyColumn &column : keyColumns_) {
            keyFields_.append(column.field);
            if (column.collation == kPolishCaseInsensitiveCollation)
                keysExact_ = false;
        }
    }
    const QList<FieldDef> &fields = structure_.definition.fields;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].type == FieldType::AutoIncrement)
            autoFields_.append(i);
    highest_ = QList<std::optional<qint64>>(autoFields_.size());
    texts_.resize(size_t(fields.size()));
    connection_->joinScopeTransaction();
}

BulkWriter::~BulkWriter()
{
    insert_.reset();
    lookups_.clear();
    // Whether kept or taken back, the rows the table objects hold may be older than the file.
    connection_->noteChange();
}

void BulkWriter::commit()
{
    requireOpenWrite();
    insert_.reset();
    lookups_.clear();
    connection_->noteChange();
    committed_ = true;
    scope_.commit();
}

void BulkWriter::requireOpenWrite() const
{
    if (committed_)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Zapis do tabeli %1 został już zakończony.").arg(TableShown(table_)));
}

// Texts are bound from the writer's buffers, which hold them until the statement has run.
void BulkWriter::bind(SqlStatement &statement, int position, int field, const QVariant &value)
{
    if (IsEmptyStored(value)) {
        statement.bindNull(position);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString: {
        std::string &text = texts_[size_t(field)];
        EncodeUtf8(text, *static_cast<const QString *>(value.constData()));
        statement.bindBorrowedText(position, text.data(), qsizetype(text.size()));
        break;
    }
    case QMetaType::LongLong:
        statement.bindInteger(position, *static_cast<const qint64 *>(value.constData()));
        break;
    default:
        statement.bind(position, value);
        break;
    }
}

void BulkWriter::checkValue(int field, const QVariant &value) const
{
    const FieldDef &def = structure_.definition.fields[field];
    if (IsEmptyStored(value)) {
        if (def.required && def.type != FieldType::AutoIncrement)
            throw EngineError(EngineErrorKind::Other, QStringLiteral("Pole %1 musi mieć wartość.").arg(def.name));
        return;
    }
    if ((def.type == FieldType::Text || def.type == FieldType::Date) && def.size > 0
        && value.typeId() == QMetaType::QString && value.toString().size() > def.size)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Tekst dłuższy niż %1 znaków nie mieści się w polu %2.").arg(def.size).arg(def.name));
}

// Every field compared byte for byte (an empty one only with an empty one), and the fields the
// best index leads with compared by that index's collation as well, so that the engine seeks
// through it. Which fields of the row are empty decides the statement; each mark is bound with
// the field the list gives for it.
QByteArray BulkWriter::exactLookupSql(const QList<int> &fields, const QList<bool> &emptyFields, QList<int> &boundFields) const
{
    const QList<FieldDef> &defs = structure_.definition.fields;
    const QList<KeyColumn> *best = nullptr;
    qsizetype bestLength = 0;
    for (const QList<KeyColumn> &columns : structure_.indexColumns) {
        qsizetype length = 0;
        while (length < columns.size() && fields.contains(columns[length].field))
            ++length;
        if (length > bestLength) {
            best = &columns;
            bestLength = length;
        }
    }
    const auto isEmpty = [&fields, &emptyFields](int field) { return emptyFields[fields.indexOf(field)]; };
    QByteArrayList conditions;
    for (const int field : fields) {
        if (isEmpty(field)) {
            conditions.append(QuotedName(defs[field].name) + " IS NULL");
        } else {
            conditions.append(QuotedName(defs[field].name) + " = ?");
            boundFields.append(field);
        }
    }
    for (qsizetype c = 0; c < bestLength; ++c) {
        const KeyColumn &column = (*best)[c];
        if (column.collation.isEmpty() || isEmpty(column.field))
            continue;
        conditions.append(QuotedName(defs[column.field].name) + " = ? COLLATE " + column.collation);
        boundFields.append(column.field);
    }
    return "SELECT _rowid_ FROM " + connection_->dataTable() + " WHERE " + conditions.join(" AND ") + " LIMIT 1";
}

// The stored values of the lookup's fields go into its filter: every row's, or the row's of the id.
void BulkWriter::fillFilter(Lookup &lookup, std::optional<qint64> rowId)
{
    const QList<FieldDef> &defs = structure_.definition.fields;
    QByteArrayList columns;
    for (const int field : lookup.fields)
        columns.append(QuotedName(defs[field].name));
    SqlStatement read = connection_->prepare("SELECT " + columns.join(", ") + " FROM " + connection_->dataTable()
                                             + (rowId ? " WHERE _rowid_ = ?" : ""));
    if (rowId)
        read.bind(1, *rowId);
    QVariantList stored(defs.size());
    while (read.step()) {
        for (qsizetype i = 0; i < lookup.fields.size(); ++i)
            stored[lookup.fields[i]] = read.value(int(i));
        lookup.filter->add(ValuesHash(stored, lookup.fields));
    }
}

qint64 BulkWriter::findExact(const QList<int> &fields, const QVariantList &row)
{
    requireOpenWrite();
    auto lookup = std::find_if(lookups_.begin(), lookups_.end(), [&fields](const Lookup &one) { return one.fields == fields; });
    if (lookup == lookups_.end()) {
        lookups_.push_back(Lookup{fields, std::make_unique<ValueFilter>(), {}});
        lookup = std::prev(lookups_.end());
        // Every row's values go into the filter, read once.
        fillFilter(*lookup, std::nullopt);
    }
    if (!lookup->filter->mayHold(ValuesHash(row, fields)))
        return 0;
    QList<bool> emptyFields;
    emptyFields.reserve(fields.size());
    for (const int field : fields)
        emptyFields.append(IsEmptyStored(row.value(field)));
    auto search = std::find_if(lookup->searches.begin(), lookup->searches.end(),
                               [&emptyFields](const Search &one) { return one.emptyFields == emptyFields; });
    if (search == lookup->searches.end()) {
        QList<int> boundFields;
        const QByteArray sql = exactLookupSql(fields, emptyFields, boundFields);
        lookup->searches.push_back(Search{emptyFields, boundFields, connection_->prepare(sql)});
        search = std::prev(lookup->searches.end());
    }
    SqlStatement &statement = search->statement;
    statement.reset();
    for (qsizetype i = 0; i < search->boundFields.size(); ++i)
        bind(statement, int(i + 1), search->boundFields[i], row.value(search->boundFields[i]));
    const qint64 found = statement.step() ? statement.integer(0) : 0;
    // The texts bound live in buffers the next write fills again.
    statement.reset();
    return found;
}

qint64 BulkWriter::findPrimaryKey(const QVariantList &key)
{
    if (keyFields_.isEmpty() || key.size() != keyFields_.size())
        return 0;
    if (keysExact_) {
        QVariantList row(structure_.definition.fields.size());
        for (qsizetype i = 0; i < keyFields_.size(); ++i)
            row[keyFields_[i]] = key[i];
        return findExact(keyFields_, row);
    }
    const RowQuery lookup(*connection_, structure_, keyColumns_, {});
    const QList<Row> found = lookup.fetchEqual(key, 1);
    return found.isEmpty() ? 0 : found.first().rowId;
}

qint64 BulkWriter::insert(QVariantList &row)
{
    requireOpenWrite();
    const QList<FieldDef> &fields = structure_.definition.fields;
    if (row.size() != fields.size())
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Wiersz ma %1 wartości, tabela %2 ma %3 pól.")
                                                      .arg(row.size()).arg(TableShown(table_)).arg(fields.size()));
    for (int i = 0; i < fields.size(); ++i)
        checkValue(i, row[i]);
    for (int a = 0; a < autoFields_.size(); ++a) {
        const int field = autoFields_[a];
        if (!highest_[a]) {
            // Read once through the field's index, under the write lock: no other program can
            // take a number before the transaction ends.
            SqlStatement highest = connection_->prepare("SELECT max(" + QuotedName(fields[field].name) + ") FROM "
                                                        + connection_->dataTable());
            highest_[a] = highest.step() ? highest.integer(0) : 0;
        }
        if (IsEmptyStored(row[field]))
            row[field] = *highest_[a] + 1;
        highest_[a] = std::max(*highest_[a], row[field].toLongLong());
    }
    if (!insert_) {
        QByteArrayList names;
        QByteArrayList marks;
        for (const FieldDef &field : fields) {
            names.append(QuotedName(field.name));
            marks.append("?");
        }
        insert_.emplace(connection_->prepare("INSERT INTO " + connection_->dataTable() + " (" + names.join(", ")
                                             + ") VALUES (" + marks.join(", ") + ")"));
    }
    insert_->reset();
    for (int i = 0; i < fields.size(); ++i)
        bind(*insert_, i + 1, i, row[i]);
    insert_->run();
    const qint64 rowId = insert_->insertedRowId();
    connection_->noteChange();
    for (Lookup &lookup : lookups_)
        lookup.filter->add(ValuesHash(row, lookup.fields));
    return rowId;
}

void BulkWriter::update(qint64 rowId, const QVariantList &row, const QList<int> &fields)
{
    requireOpenWrite();
    if (fields.isEmpty())
        return;
    for (int field : fields)
        checkValue(field, row.value(field));
    if (fields != updateFields_) {
        QByteArrayList assignments;
        for (int field : fields)
            assignments.append(QuotedName(structure_.definition.fields[field].name) + " = ?");
        updateFields_ = fields;
        updateSql_ = "UPDATE " + connection_->dataTable() + " SET " + assignments.join(", ") + " WHERE _rowid_ = ?";
    }
    SqlStatement update = connection_->prepare(updateSql_);
    int position = 1;
    for (int field : fields)
        bind(update, position++, field, row.value(field));
    update.bind(position, rowId);
    update.run();
    if (update.changes() == 0)
        throw EngineError(EngineErrorKind::Missing,
                          QStringLiteral("Wiersz tabeli %1 został usunięty przez inny program.").arg(connection_->filePath()));
    connection_->noteChange();
    // A row whose searched fields change is found by its new values too: they are read back.
    for (Lookup &lookup : lookups_) {
        if (std::none_of(lookup.fields.cbegin(), lookup.fields.cend(), [&fields](int field) { return fields.contains(field); }))
            continue;
        fillFilter(lookup, rowId);
    }
}
