#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;

// A table file read without the engine and without any way to write to it (SQLite's read-only
// mode, the program's collations registered): for checking files, counting rows of a file that is
// no table's yet, and reading what another program holds. No lock of the engine is taken.
class ReadOnlyTableFile {
public:
    explicit ReadOnlyTableFile(const QString &path);
    ~ReadOnlyTableFile();
    ReadOnlyTableFile(const ReadOnlyTableFile &) = delete;
    ReadOnlyTableFile &operator=(const ReadOnlyTableFile &) = delete;

    // Empty while the file can be read; else what failed last.
    const QString &error() const { return error_; }

    // The first column of every row of the query; nullopt (and error()) when it fails.
    std::optional<QStringList> column(const QByteArray &sql);
    // The columns of the query's first row, a null one as a null text; nullopt (and error()) when
    // the query fails, an empty list when it gives no row.
    std::optional<QStringList> firstRow(const QByteArray &sql);
    // The rows of the table's data; -1 when they cannot be counted.
    qint64 rowCount();
    // The stored fields' type codes by upper-case name; empty when the file has no structure.
    QHash<QString, int> fieldTypes();

private:
    enum class Reading { FirstColumn, FirstRow };
    std::optional<QStringList> texts(const QByteArray &sql, Reading reading);

    sqlite3 *db_ = nullptr;
    QString error_;
};
