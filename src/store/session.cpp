#include "store/session.h"

#include "store/table.h"
#include "store/table_connection.h"

#include <QDir>
#include <sqlite3.h>

Session::Session(const QString &name) : name_(name) {}

Session::~Session()
{
    // Table objects normally go first; any left behind forget their session.
    for (Table *table : std::as_const(tables_)) {
        table->close();
        table->forgetSession();
    }
}

bool Session::initialise(QString *error)
{
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (sqlite3_libversion_number() < 3015000)
        return fail(QStringLiteral("Biblioteka SQLite %1 jest za stara.").arg(QString::fromLatin1(sqlite3_libversion())));
    if (sqlite3_initialize() != SQLITE_OK)
        return fail(QStringLiteral("Nie można uruchomić biblioteki SQLite."));
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const bool works = rc == SQLITE_OK
                       && sqlite3_exec(db, "CREATE TABLE t (a TEXT); INSERT INTO t VALUES ('x');", nullptr,
                                       nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!works)
        return fail(QStringLiteral("Nie można otworzyć tabeli próbnej w pamięci."));
    return true;
}

QString Session::workingFolder() const
{
    return workingFolder_.isEmpty() ? QDir::currentPath() : workingFolder_;
}

void Session::setLockTimeout(int milliseconds)
{
    TableConnection::setLockTimeout(milliseconds);
}

int Session::lockTimeout() const
{
    return TableConnection::lockTimeout();
}

void Session::closeAll()
{
    closedByCloseAll_.clear();
    for (Table *table : std::as_const(tables_))
        if (table->isOpen()) {
            closedByCloseAll_.append({table, table->isExclusive()});
            table->close();
        }
}

void Session::reopenAll()
{
    const auto toOpen = std::exchange(closedByCloseAll_, {});
    for (const auto &[table, exclusive] : toOpen)
        if (tables_.contains(table) && !table->isOpen()) {
            if (exclusive)
                table->openExclusive();
            else
                table->open();
        }
}

void Session::add(Table *table)
{
    tables_.append(table);
}

void Session::remove(Table *table)
{
    tables_.removeAll(table);
    for (qsizetype i = closedByCloseAll_.size() - 1; i >= 0; --i)
        if (closedByCloseAll_[i].first == table)
            closedByCloseAll_.removeAt(i);
}
