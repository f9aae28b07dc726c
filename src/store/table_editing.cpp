#include "store/table.h"

#include "store/field_value.h"
#include "store/table_connection.h"
#include "store/transaction_scope.h"


namespace {

QString RowDeletedMessage(const QString &path)
{
    return QStringLiteral("Wiersz tabeli %1 został usunięty przez inny program.").arg(path);
}

} // namespace

void Table::setState(TableState state)
{
    if (state_ == state)
        return;
    state_ = state;
    if (events.onStateChange)
        events.onStateChange(*this);
    notify(TableChange::State);
}

// Leaves edit or insert before the table moves: a changed row is posted, an untouched one
// dropped.
void Table::checkBrowseMode()
{
    if (state_ != TableState::Edit && state_ != TableState::Insert)
        return;
    if (modified_)
        post();
    else
        cancel();
}

void Table::insert()
{
    requireOpen();
    checkBrowseMode();
    if (changeGuard_)
        changeGuard_();
    if (events.beforeInsert)
        events.beforeInsert(*this);
    startNewRow();
}

void Table::append()
{
    insert();
}

void Table::startNewRow()
{
    beforeInsert_ = bookmark();
    editRow_ = Row();
    editRow_.values = QVariantList(structure_->definition.fields.size());
    editRow_.calculated = QVariantList(calculatedFields_.size());
    changedFields_.clear();
    state_ = TableState::Insert;
    try {
        fillFromMaster();
        if (events.onNewRow)
            events.onNewRow(*this);
    } catch (...) {
        state_ = TableState::Browse;
        editRow_ = Row();
        changedFields_.clear();
        throw;
    }
    modified_ = false;
    // The state is announced once the row holds its defaults; a handler may cancel at once.
    state_ = TableState::Browse;
    setState(TableState::Insert);
    notify(TableChange::Data);
}

void Table::edit()
{
    requireOpen();
    if (state_ == TableState::Edit || state_ == TableState::Insert)
        return;
    if (current_ < 0) {
        insert();
        return;
    }
    if (changeGuard_)
        changeGuard_();
    if (events.beforeEdit)
        events.beforeEdit(*this);
    // Read afresh: another table object or program may have changed the row since.
    std::optional<Row> fresh = query().rowById(window_[current_].rowId);
    if (!fresh)
        throw EngineError(EngineErrorKind::Missing, RowDeletedMessage(filePath()));
    computeCalculated(*fresh);
    window_[current_] = *fresh;
    editRow_ = *fresh;
    changedFields_.clear();
    modified_ = false;
    setState(TableState::Edit);
    notify(TableChange::Data);
}

void Table::checkRequiredFields() const
{
    const QList<FieldDef> &fields = structure_->definition.fields;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].required && fields[i].type != FieldType::AutoIncrement && IsEmptyStored(editRow_.values[i]))
            throw EngineError(EngineErrorKind::Other, QStringLiteral("Pole %1 musi mieć wartość.").arg(fields[i].name));
}

void Table::post()
{
    requireOpen();
    if (state_ != TableState::Edit && state_ != TableState::Insert)
        return;
    if (events.beforePost)
        events.beforePost(*this);
    for (;;) {
        try {
            writeInOwnTransaction();
            break;
        } catch (const EngineError &error) {
            const PostErrorAction action = events.onPostError ? events.onPostError(*this, error) : PostErrorAction::Fail;
            if (action == PostErrorAction::Retry)
                continue;
            if (action == PostErrorAction::Abort)
                throw Abort{};
            throw;
        }
    }
    if (events.afterPost)
        events.afterPost(*this);
    notify(TableChange::Data);
    notifyDetails();
}

// The checks of beforeWrite, the row and what afterWrite derives from it commit together; when
// any of it fails, nothing is written and the row is back in edit as it was.
void Table::writeInOwnTransaction()
{
    const Row edited = editRow_;
    const QSet<int> changed = changedFields_;
    const TableState editing = state_;
    const Bookmark returnTo = beforeInsert_;
    bool written = false;
    try {
        TransactionScope scope;
        if (events.beforeWrite)
            events.beforeWrite(*this);
        lockForWrite();
        checkRequiredFields();
        writeRow();
        written = true;
        modified_ = false;
        changedFields_.clear();
        editRow_ = Row();
        setState(TableState::Browse);
        if (events.afterWrite)
            events.afterWrite(*this);
        scope.commit();
    } catch (...) {
        if (written) {
            // The row shown was never stored: back to the edit buffer, over what the file holds.
            editRow_ = edited;
            changedFields_ = changed;
            modified_ = true;
            beforeInsert_ = returnTo;
            try {
                if (current_ >= 0)
                    reloadAround(Row(window_[current_]));
            } catch (...) {
            }
            setState(editing);
            notify(TableChange::Data);
        }
        throw;
    }
}

// Writes the edit buffer; the table then stands on the row as stored.
void Table::writeRow()
{
    TableConnection &connection = *connection_;
    qint64 rowId = editRow_.rowId;
    {
        TableConnection::Write write(connection);
        if (state_ == TableState::Insert)
            rowId = insertRow(connection, editRow_);
        else
            updateRow(connection);
        write.commit();
    }
    std::optional<Row> stored = query().rowById(rowId);
    if (!stored)
        throw EngineError(EngineErrorKind::Missing, RowDeletedMessage(filePath()));
    computeCalculated(*stored);
    showRows({*stored}, 0, false, false);
}

namespace {

// The texts of an insert into a table of these fields, built once for a run of inserts into
// tables of one structure.
struct InsertStatements {
    QByteArray table;
    QList<FieldDef> fields;
    QByteArray insert;
    QList<QByteArray> highest; // per field: the highest number of an automatic field, else empty
};

const InsertStatements &InsertStatementsFor(const QByteArray &table, const QList<FieldDef> &fields)
{
    static InsertStatements cached;
    if (cached.table == table && cached.fields == fields)
        return cached;
    InsertStatements built;
    built.table = table;
    // A list of its own, so the table's list is not shared and copied on its next change.
    built.fields = QList<FieldDef>(fields.cbegin(), fields.cend());
    QByteArrayList names;
    QByteArrayList marks;
    for (const FieldDef &field : fields) {
        names.append(QuotedName(field.name));
        marks.append("?");
        built.highest.append(field.type == FieldType::AutoIncrement
                                 ? "SELECT max(" + QuotedName(field.name) + ") FROM " + table
                                 : QByteArray());
    }
    built.insert = QByteArray("INSERT INTO ") + table + " (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")";
    cached = std::move(built);
    return cached;
}

} // namespace

qint64 Table::insertRow(TableConnection &connection, const Row &row)
{
    const QList<FieldDef> &fields = structure_->definition.fields;
    const InsertStatements &statements = InsertStatementsFor(connection.dataTable(), fields);
    QVariantList values = row.values;
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].type == FieldType::AutoIncrement && IsEmptyStored(values[i])) {
            // The next number after the highest one, read through the field's index inside the
            // write transaction, so two programs never take the same number.
            SqlStatement highest = connection.prepare(statements.highest[i]);
            values[i] = highest.step() ? highest.integer(0) + 1 : 1;
        }
    }
    SqlStatement insert = connection.prepare(statements.insert);
    insert.bindAll(values);
    insert.run();
    return insert.insertedRowId();
}

void Table::updateRow(TableConnection &connection)
{
    if (changedFields_.isEmpty())
        return;
    QList<int> changed = changedFields_.values();
    std::sort(changed.begin(), changed.end());
    QByteArrayList assignments;
    QVariantList values;
    for (int field : changed) {
        assignments.append(QuotedName(storedField(field).name) + " = ?");
        values.append(editRow_.values[field]);
    }
    values.append(editRow_.rowId);
    SqlStatement update = connection.prepare(QByteArray("UPDATE ") + connection.dataTable() + " SET "
                                             + assignments.join(", ") + " WHERE " + kRowIdColumn + " = ?");
    update.bindAll(values);
    update.run();
    if (update.changes() == 0)
        throw EngineError(EngineErrorKind::Missing, RowDeletedMessage(filePath()));
}

void Table::cancel()
{
    if (state_ != TableState::Edit && state_ != TableState::Insert)
        return;
    if (events.beforeCancel)
        events.beforeCancel(*this);
    editRow_ = Row();
    changedFields_.clear();
    modified_ = false;
    setState(TableState::Browse);
    if (events.afterCancel)
        events.afterCancel(*this);
    notify(TableChange::Data);
    notifyDetails();
}

void Table::deleteRow()
{
    requireOpen();
    if (state_ == TableState::Insert) {
        cancel();
        return;
    }
    checkBrowseMode();
    if (current_ < 0)
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Tabela %1 nie ma wiersza do usunięcia.")
                                                      .arg(objectName_.isEmpty() ? tableName_ : objectName_));
    if (changeGuard_)
        changeGuard_();
    if (events.beforeDelete)
        events.beforeDelete(*this);
    const Row gone = window_[current_];
    try {
        TransactionScope scope;
        if (events.beforeWrite)
            events.beforeWrite(*this);
        lockForWrite();
        SqlStatement remove = connection_->prepare("DELETE FROM " + connection_->dataTable() + " WHERE " + kRowIdColumn
                                                      + " = ?");
        remove.bind(1, gone.rowId);
        remove.run();
        connection_->noteChange();
        reloadAround(gone);
        if (events.afterWrite)
            events.afterWrite(*this);
        scope.commit();
    } catch (...) {
        // Nothing was deleted: the table stands on the row again, as the file holds it.
        try {
            reloadAround(gone);
        } catch (...) {
        }
        notify(TableChange::DataSet);
        throw;
    }
    if (events.afterDelete)
        events.afterDelete(*this);
    notify(TableChange::DataSet);
    notifyDetails(); // details follow first, so the handler sees them moved
    if (events.afterScroll)
        events.afterScroll(*this);

}
