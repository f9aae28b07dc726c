#pragma once

#include "store/engine_error.h"
#include "store/cursor_cache.h"
#include "store/table_backend.h"

#include <QHash>
#include <QSet>
#include <memory>

struct sqlite3;
class SqliteCursor;

// A table in a file of its own: one SQLite connection to it (rollback journal, full sync, Polish
// collations) and an flock on the file that tells other programs the table is open.
class SqliteTableBackend final : public TableBackend {
public:
    explicit SqliteTableBackend(const QString &filePath);
    ~SqliteTableBackend() override;

    // True when some process other than this one has the file open as a table.
    static bool isInUseByOtherProgram(const QString &filePath);

    QString shownName() const override;
    bool moveOpenLock(OpenLock from, OpenLock to) override;
    void open() override;
    bool isReadOnly() const override { return readOnly_; }
    void setLockTimeout(int milliseconds) override;

    SqlStatement prepare(const QByteArray &sql) override;
    void releaseCursor(SqlCursor *cursor, bool cached) override;
    void execute(const QByteArray &sql) override;

    void beginWrite() override;
    void commitWrite() override;
    void rollbackWrite() noexcept override;

    QByteArray dataTable() const override;
    QByteArray fieldsTable() const override;
    QByteArray indexesTable() const override;
    QByteArray indexName(const QByteArray &name, bool qualified) const override;
    QByteArray orderDirection(bool forward) const override;
    QByteArray indexColumnOrder() const override;
    QByteArray firstInEntryOrder() const override;
    void createTables(const QList<FieldDef> &fields) override;
    bool hasStructureTables() override;
    QSet<QByteArray> indexNames() override;
    QList<Column> dataColumns() override;
    void appendRowsWithIds(const QByteArrayList &columns, SqlStatement &rows) override;

    [[noreturn]] void throwError(int resultCode) const;
    EngineError error(int resultCode) const;

private:
    QString filePath_;
    sqlite3 *db_ = nullptr;
    int lockFd_ = -1;
    bool readOnly_ = false;
    CursorCache statements_;
};
