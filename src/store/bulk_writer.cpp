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

constexpr int kKeyPage = 5000;

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

} // namespace

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
    QByteArrayList keyColumns;
    for (int field : keyFields_)
        keyColumns.append(QuotedName(fields[field].name));
    keyColumnList_ = keyColumns.join(", ");
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
    // Whether kept or taken back, the rows the table objects hold may be older than the file.
    connection_->noteChange();
}

void BulkWriter::commit()
{
    requireOpenWrite();
    insert_.reset();
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
    } else {
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
            return;
        }
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

// A key as the file's primary index tells keys apart when it compares texts exactly: the
// stored values themselves (numbers by their value).
QString BulkWriter::keyText(const QVariantList &key) const
{
    QString text;
    text.reserve(64);
    for (const QVariant &part : key) {
        if (IsEmptyStored(part)) {
            text += QChar(1);
        } else if (part.typeId() == QMetaType::QString) {
            text += QLatin1Char('s');
            text += part.toString();
        } else if (part.typeId() == QMetaType::Double) {
            const double number = part.toDouble();
            if (std::trunc(number) == number && std::fabs(number) < 9e15) {
                text += QLatin1Char('n');
                text += QString::number(qint64(number));
            } else {
                text += QLatin1Char('d');
                text += QString::number(number, 'g', 17);
            }
        } else {
            text += QLatin1Char('n');
            text += QString::number(part.toLongLong());
        }
        text += QChar(0);
    }
    return text;
}

// The hash of a key as keyText() tells keys apart (an empty text is no empty field, a whole
// float is its integer); a key is only ever compared in full with the stored keys of its hash.
size_t BulkWriter::keyHash(const QVariantList &key) const
{
    const auto mix = [](quint64 x) {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        return x ^ (x >> 31);
    };
    quint64 hash = 0;
    for (const QVariant &part : key) {
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
    return size_t(hash);
}

QHash<QString, qint64> BulkWriter::rowsByFields(const QList<int> &fields)
{
    requireOpenWrite();
    QByteArrayList columns;
    for (const int field : fields)
        columns.append(QuotedName(structure_.definition.fields[field].name));
    SqlStatement read = connection_->prepare("SELECT _rowid_, " + columns.join(", ") + " FROM " + connection_->dataTable());
    QHash<QString, qint64> rows;
    QStringList values(fields.size());
    while (read.step()) {
        for (int i = 0; i < fields.size(); ++i)
            values[i] = read.value(i + 1).toString();
        rows.insert(values.join(u'\t'), read.integer(0));
    }
    return rows;
}

void BulkWriter::loadKeys()
{
    keysLoaded_ = true;
    SqlStatement read = connection_->prepare("SELECT _rowid_, " + keyColumnList_ + " FROM " + connection_->dataTable());
    QVariantList key(keyFields_.size());
    while (read.step()) {
        for (int i = 0; i < key.size(); ++i)
            key[i] = read.value(i + 1);
        keys_.emplace(keyHash(key), read.integer(0));
    }
}

qint64 BulkWriter::findPrimaryKey(const QVariantList &key)
{
    if (keyFields_.isEmpty() || key.size() != keyFields_.size())
        return 0;
    if (keysExact_) {
        if (!keysLoaded_)
            loadKeys();
        const auto [from, to] = keys_.equal_range(keyHash(key));
        if (from == to)
            return 0;
        const QString wanted = keyText(key);
        for (auto candidate = from; candidate != to; ++candidate)
            if (const std::optional<QVariantList> stored = storedKeyOf(candidate->second);
                stored && keyText(*stored) == wanted)
                return candidate->second;
        return 0;
    }
    const RowQuery lookup(*connection_, structure_, keyColumns_, {});
    const QList<Row> found = lookup.fetchEqual(key, 1);
    return found.isEmpty() ? 0 : found.first().rowId;
}

std::optional<QVariantList> BulkWriter::storedKeyOf(qint64 rowId)
{
    SqlStatement read = connection_->prepare("SELECT " + keyColumnList_ + " FROM " + connection_->dataTable() + " WHERE _rowid_ = ?");
    read.bind(1, rowId);
    if (!read.step())
        return std::nullopt;
    QVariantList key;
    for (int i = 0; i < keyFields_.size(); ++i)
        key.append(read.value(i));
    return key;
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
    if (keysLoaded_) {
        QVariantList key;
        key.reserve(keyFields_.size());
        for (int field : keyFields_)
            key.append(row[field]);
        keys_.emplace(keyHash(key), rowId);
    }
    return rowId;
}

void BulkWriter::update(qint64 rowId, const QVariantList &row, const QList<int> &fields)
{
    requireOpenWrite();
    if (fields.isEmpty())
        return;
    bool keyChanges = false;
    for (int field : fields) {
        checkValue(field, row.value(field));
        keyChanges = keyChanges || keyFields_.contains(field);
    }
    std::optional<QVariantList> oldKey;
    if (keyChanges && keysLoaded_)
        oldKey = storedKeyOf(rowId);
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
    if (oldKey) {
        const auto [from, to] = keys_.equal_range(keyHash(*oldKey));
        for (auto entry = from; entry != to; ++entry)
            if (entry->second == rowId) {
                keys_.erase(entry);
                break;
            }
        if (const std::optional<QVariantList> newKey = storedKeyOf(rowId))
            keys_.emplace(keyHash(*newKey), rowId);
    }
}
