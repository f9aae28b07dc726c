#include "store/server_cursor.h"

#include "store/server_session.h"
#include "store/table_connection.h"
#include "store/table_storage.h"

#include <libpq-fe.h>

#include <atomic>

namespace {

// Type numbers of the server's built-in types.
constexpr Oid kBoolType = 16;
constexpr Oid kByteaType = 17;
constexpr Oid kInt8Type = 20;
constexpr Oid kInt2Type = 21;
constexpr Oid kInt4Type = 23;
constexpr Oid kOidType = 26;
constexpr Oid kFloat4Type = 700;
constexpr Oid kFloat8Type = 701;
constexpr Oid kNumericType = 1700;

// Rows of a batch; the server reads the next while the caller works on these.
constexpr int kBatchRows = 5000;
// Rows stepped between looks at what has come of the next batch, so it keeps travelling.
constexpr int kRowsBetweenLooks = 500;

} // namespace

QByteArray NumberedParameters(const QByteArray &sql, int *count)
{
    QByteArray numbered;
    numbered.reserve(sql.size() + 16);
    int marks = 0;
    char quote = 0;
    for (const char c : sql) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?') {
            numbered += '$' + QByteArray::number(++marks);
            continue;
        }
        numbered += c;
    }
    *count = marks;
    return numbered;
}

ServerCursor::ServerCursor(std::shared_ptr<ServerSession> session, const QString &table, const QByteArray &sql,
                           Reading reading)
    : session_(std::move(session)), table_(table), reading_(reading)
{
    sql_ = NumberedParameters(sql, &parameterCount_);
    insert_ = sql.startsWith("INSERT INTO ");
    // A repeated key refuses the row without failing the statement: a failed statement would
    // end the whole transaction on the server, where a table file's goes on without the row.
    if (insert_)
        sql_ += QByteArray(" ON CONFLICT DO NOTHING RETURNING ") + kRowIdColumn;
    values_.resize(parameterCount_);
    nulls_.fill(true, parameterCount_);
}

ServerCursor::~ServerCursor()
{
    closeBatches();
    clearResult();
}

void ServerCursor::clearResult()
{
    if (result_)
        PQclear(result_);
    result_ = nullptr;
    row_ = -1;
    rows_ = 0;
}

void ServerCursor::setValue(int position, QByteArray value, bool null)
{
    if (position < 1 || position > parameterCount_)
        return;
    values_[position - 1] = std::move(value);
    nulls_[position - 1] = null;
}

void ServerCursor::bindNull(int position)
{
    setValue(position, {}, true);
}

void ServerCursor::bindInteger(int position, qint64 value)
{
    setValue(position, QByteArray::number(value), false);
}

void ServerCursor::bindFloat(int position, double value)
{
    setValue(position, QByteArray::number(value, 'g', 17), false);
}

void ServerCursor::bindText(int position, const QByteArray &utf8)
{
    setValue(position, utf8, false);
}

void ServerCursor::bindBytes(int position, const QByteArray &bytes)
{
    setValue(position, "\\x" + bytes.toHex(), false);
}

void ServerCursor::bindBorrowedText(int position, const char *utf8, qsizetype size)
{
    setValue(position, QByteArray(utf8, size), false);
}

void ServerCursor::askForBatch()
{
    const QByteArray fetch = "FETCH " + QByteArray::number(kBatchRows) + " FROM " + serverCursor_;
    if (PQsendQuery(session_->handle(), fetch.constData()) != 1)
        session_->fail(nullptr, table_);
    batchAsked_ = true;
}

void ServerCursor::takeBatch()
{
    clearResult();
    PGresult *batch = PQgetResult(session_->handle());
    while (PGresult *rest = PQgetResult(session_->handle()))
        PQclear(rest);
    batchAsked_ = false;
    if (PQresultStatus(batch) != PGRES_TUPLES_OK) {
        const EngineError failure = session_->error(batch, table_);
        PQclear(batch);
        throw failure;
    }
    result_ = batch;
    rows_ = PQntuples(result_);
    lastBatch_ = rows_ < kBatchRows;
    if (!lastBatch_)
        askForBatch();
}

void ServerCursor::closeBatches() noexcept
{
    if (serverCursor_.isEmpty())
        return;
    if (batchAsked_)
        while (PGresult *rest = PQgetResult(session_->handle()))
            PQclear(rest);
    batchAsked_ = false;
    // Within a transaction the server has already spoilt, the cursor went with it.
    if (PQtransactionStatus(session_->handle()) == PQTRANS_INTRANS)
        PQclear(PQexec(session_->handle(), ("CLOSE " + serverCursor_).constData()));
    serverCursor_.clear();
}

void ServerCursor::run()
{
    clearResult();
    if (reading_ == Reading::InBatches && parameterCount_ == 0 && !insert_) {
        static std::atomic<int> cursors = 0;
        const QByteArray name = "kasa_rows_" + QByteArray::number(++cursors);
        session_->execute("DECLARE " + name + " NO SCROLL CURSOR FOR " + sql_, table_);
        serverCursor_ = name;
        ran_ = true;
        askForBatch();
        takeBatch();
        return;
    }
    const QByteArray name = session_->prepared(sql_, parameterCount_, table_);
    QList<const char *> values(parameterCount_);
    for (int i = 0; i < parameterCount_; ++i)
        values[i] = nulls_[i] ? nullptr : values_[i].constData();
    result_ = PQexecPrepared(session_->handle(), name.constData(), parameterCount_, values.constData(), nullptr,
                             nullptr, 0);
    const ExecStatusType status = PQresultStatus(result_);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const EngineError failure = session_->error(result_, table_);
        clearResult();
        throw failure;
    }
    ran_ = true;
    rows_ = PQntuples(result_);
    changes_ = QByteArray(PQcmdTuples(result_)).toLongLong();
    if (insert_ && rows_ == 0) {
        clearResult();
        throw EngineError(EngineErrorKind::KeyViolation, KeyViolationMessage(table_));
    }
    if (insert_)
        insertedRowId_ = QByteArray(PQgetvalue(result_, rows_ - 1, 0)).toLongLong();
}

bool ServerCursor::step()
{
    if (!ran_)
        run();
    if (insert_)
        return false;
    if (row_ + 1 >= rows_ && !serverCursor_.isEmpty() && !lastBatch_)
        takeBatch();
    if (row_ + 1 >= rows_) {
        row_ = rows_;
        return false;
    }
    ++row_;
    if (batchAsked_ && row_ % kRowsBetweenLooks == 0) {
        PQconsumeInput(session_->handle());
        PQisBusy(session_->handle());
    }
    return true;
}

void ServerCursor::reset()
{
    closeBatches();
    clearResult();
    ran_ = false;
    nulls_.fill(true);
}

int ServerCursor::columnCount() const
{
    return result_ ? PQnfields(result_) : 0;
}

StoredKind ServerCursor::kind(int column) const
{
    if (!result_ || row_ < 0 || row_ >= rows_ || PQgetisnull(result_, row_, column))
        return StoredKind::Null;
    switch (PQftype(result_, column)) {
    case kBoolType:
    case kInt8Type:
    case kInt2Type:
    case kInt4Type:
    case kOidType:
        return StoredKind::Integer;
    case kFloat4Type:
    case kFloat8Type:
        return StoredKind::Float;
    case kNumericType:
        return QByteArrayView(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column)).contains('.')
                   ? StoredKind::Float
                   : StoredKind::Integer;
    case kByteaType:
        return StoredKind::Bytes;
    default:
        return StoredKind::Text;
    }
}

qint64 ServerCursor::integer(int column) const
{
    if (kind(column) == StoredKind::Null)
        return 0;
    const char *text = PQgetvalue(result_, row_, column);
    if (PQftype(result_, column) == kBoolType)
        return text[0] == 't' ? 1 : 0;
    return QByteArrayView(text, PQgetlength(result_, row_, column)).toLongLong();
}

double ServerCursor::floating(int column) const
{
    if (kind(column) == StoredKind::Null)
        return 0;
    return QByteArrayView(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column)).toDouble();
}

QByteArrayView ServerCursor::utf8(int column) const
{
    if (kind(column) == StoredKind::Null)
        return {};
    return QByteArrayView(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column));
}

QString ServerCursor::text(int column) const
{
    if (kind(column) == StoredKind::Null)
        return {};
    return QString::fromUtf8(PQgetvalue(result_, row_, column), PQgetlength(result_, row_, column));
}

QVariant ServerCursor::value(int column) const
{
    switch (kind(column)) {
    case StoredKind::Integer:
        return QVariant(integer(column));
    case StoredKind::Float:
        return QVariant(floating(column));
    case StoredKind::Text:
        return QVariant(text(column));
    case StoredKind::Bytes: {
        size_t size = 0;
        unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(PQgetvalue(result_, row_, column)),
                                               &size);
        const QByteArray value(reinterpret_cast<const char *>(bytes), qsizetype(size));
        PQfreemem(bytes);
        return QVariant(value);
    }
    default:
        return QVariant();
    }
}
