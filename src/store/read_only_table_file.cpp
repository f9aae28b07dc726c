#include "store/read_only_table_file.h"

#include "store/engine_failure_text.h"
#include "store/polish_collation.h"
#include "store/table_storage.h"

#include <QFile>
#include <sqlite3.h>

ReadOnlyTableFile::ReadOnlyTableFile(const QString &path)
{
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        error_ = EngineFailureText(db_);
    else if (RegisterPolishTextFunctions(db_) != SQLITE_OK)
        error_ = EngineFailureText(db_);
}

ReadOnlyTableFile::~ReadOnlyTableFile()
{
    sqlite3_close_v2(db_);
}

std::optional<QStringList> ReadOnlyTableFile::texts(const QByteArray &sql, Reading reading)
{
    if (!error_.isEmpty())
        return std::nullopt;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        error_ = EngineFailureText(db_);
        return std::nullopt;
    }
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const int columns = reading == Reading::FirstRow ? sqlite3_column_count(statement) : 1;
        for (int i = 0; i < columns; ++i)
            values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, i)));
        if (reading == Reading::FirstRow) {
            rc = SQLITE_DONE;
            break;
        }
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        error_ = EngineFailureText(db_);
        return std::nullopt;
    }
    return values;
}

std::optional<QStringList> ReadOnlyTableFile::column(const QByteArray &sql)
{
    return texts(sql, Reading::FirstColumn);
}

std::optional<QStringList> ReadOnlyTableFile::firstRow(const QByteArray &sql)
{
    return texts(sql, Reading::FirstRow);
}

qint64 ReadOnlyTableFile::rowCount()
{
    const std::optional<QStringList> count = column(QByteArray("SELECT count(*) FROM ") + kDataTable);
    return count && count->size() == 1 ? count->first().toLongLong() : -1;
}

QHash<QString, int> ReadOnlyTableFile::fieldTypes()
{
    QHash<QString, int> types;
    if (!error_.isEmpty())
        return types;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT name, type FROM table_fields", -1, &statement, nullptr) != SQLITE_OK)
        return types;
    while (sqlite3_step(statement) == SQLITE_ROW)
        types.insert(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))).toUpper(),
                     sqlite3_column_int(statement, 1));
    sqlite3_finalize(statement);
    return types;
}
