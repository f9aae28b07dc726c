#pragma once

#include "base/server_location.h"
#include "store/cursor_cache.h"
#include "store/table_backend.h"

#include <QHash>
#include <QSet>
#include <functional>
#include <memory>

class ServerCursor;

// A text as a literal of the server's SQL.
QByteArray ServerTextLiteral(const QString &text);
// The server's column type for a field type.
QByteArray ServerColumnType(FieldType type);

class ServerSession;
class TableConnection;

// A table on a database server: one SQL table of rows (with "_rowid_" numbering them) and two
// beside it ("TABLE#fields", "TABLE#indexes") in the schema of its year, indexes named
// "TABLE#INDEX". A write locks the table against other writers until its transaction ends; the
// open-lock is an advisory lock of this program's session.
class ServerTableBackend final : public TableBackend {
public:
    ServerTableBackend(const QString &path, ServerTableAddress address);
    ~ServerTableBackend() override;

    // Whether the table is on its server (connecting when needed).
    static bool exists(const QString &path);
    // True when another program's session has the table open.
    static bool isInUseByOtherProgram(const QString &path);
    // Makes the table anew in one transaction: drops the old one, makes the empty SQL tables,
    // lets fill write its structure through the connection, and commits.
    static void create(const QString &path, const QList<FieldDef> &fields,
                       const std::function<void(TableConnection &)> &fill);
    // Drops the table; false when there is none.
    static bool remove(const QString &path);
    // Gives the table another name (another year's schema too); false when there is none.
    static bool rename(const QString &from, const QString &to);
    // Has the server build every index of the table anew.
    static void reindex(const QString &path);
    // The years that have a schema in the data root's database, sorted.
    static QStringList years(const QString &dataRoot);
    // Every table of the data root's database (those outside the years and those of every
    // year), as table paths under the root, sorted.
    static QStringList tablesOfTree(const QString &dataRoot);
    // Inside a transaction of the table's server: takes the table against every other program
    // until the transaction ends. False when another program has it open.
    static bool lockUntilTransactionEnds(const QString &path);

    QString shownName() const override;
    bool moveOpenLock(OpenLock from, OpenLock to) override;
    void open() override;
    bool isReadOnly() const override { return readOnly_; }
    void setLockTimeout(int milliseconds) override;

    SqlStatement prepare(const QByteArray &sql) override;
    SqlStatement prepareOnePass(const QByteArray &sql) override;
    void releaseCursor(SqlCursor *cursor, bool cached) override;
    void execute(const QByteArray &sql) override;

    void beginWrite() override;
    void commitWrite() override;
    void rollbackWrite() noexcept override;
    void beginJoinedWrite() override;
    void endJoinedWrite(bool written) noexcept override;

    QByteArray dataTable() const override;
    QByteArray fieldsTable() const override;
    QByteArray indexesTable() const override;
    QByteArray indexName(const QByteArray &name, bool qualified) const override;
    QByteArray orderDirection(bool forward) const override;
    QByteArray indexColumnOrder() const override;
    QByteArray firstInEntryOrder() const override;
    void createTables(const QList<FieldDef> &fields) override;
    void refreshPlannerStatistics() override;
    bool hasStructureTables() override;
    QSet<QByteArray> indexNames() override;
    QList<Column> dataColumns() override;
    void appendRowsWithIds(const QByteArrayList &columns, SqlStatement &rows) override;

private:
    void connect();
    qint64 lockKey() const;
    bool ask(const QByteArray &sql);

    QString path_;
    ServerTableAddress address_;
    std::shared_ptr<ServerSession> session_;
    bool readOnly_ = false;
    CursorCache statements_;
};
