#pragma once

#include "store/sql_cursor.h"

#include <QByteArray>
#include <QList>
#include <memory>

struct pg_result;
class ServerSession;

// A statement on a database server. The engine's "?" marks are numbered for the server, values
// travel as text and the server gives each the type its place in the statement asks for. The
// rows of a run are read when it is first stepped; an insert gives back the row id it made.
class ServerCursor final : public SqlCursor {
public:
    // All rows at the first step, or (for a statement without marks, inside a transaction) in
    // batches through a server-side cursor, each asked for before the last one is worked on.
    enum class Reading { AtOnce, InBatches };

    ServerCursor(std::shared_ptr<ServerSession> session, const QString &table, const QByteArray &sql,
                 Reading reading = Reading::AtOnce);
    ~ServerCursor() override;

    void bindNull(int position) override;
    void bindInteger(int position, qint64 value) override;
    void bindFloat(int position, double value) override;
    void bindText(int position, const QByteArray &utf8) override;
    void bindBytes(int position, const QByteArray &bytes) override;
    void bindBorrowedText(int position, const char *utf8, qsizetype size) override;

    bool step() override;
    void reset() override;

    int columnCount() const override;
    StoredKind kind(int column) const override;
    qint64 integer(int column) const override;
    double floating(int column) const override;
    QString text(int column) const override;
    QByteArrayView utf8(int column) const override;
    QVariant value(int column) const override;

    qint64 changes() const override { return changes_; }
    qint64 insertedRowId() const override { return insertedRowId_; }

private:
    void run();
    void clearResult();
    void askForBatch();
    void takeBatch();
    void closeBatches() noexcept;
    void setValue(int position, QByteArray value, bool null);

    std::shared_ptr<ServerSession> session_;
    QString table_;
    QByteArray sql_;        // numbered for the server
    int parameterCount_ = 0;
    bool insert_ = false;   // an insert: it returns the row id it made
    QList<QByteArray> values_;
    QList<bool> nulls_;
    pg_result *result_ = nullptr;
    int row_ = -1;
    int rows_ = 0;
    bool ran_ = false;
    qint64 changes_ = 0;
    qint64 insertedRowId_ = 0;
    Reading reading_;
    QByteArray serverCursor_; // the server-side cursor's name while the batches are read
    bool batchAsked_ = false; // a batch is on its way: the session serves nothing else meanwhile
    bool lastBatch_ = false;
};

// The statement with its "?" marks numbered ("$1", "$2", ...) outside quotes; counts them.
QByteArray NumberedParameters(const QByteArray &sql, int *count);
