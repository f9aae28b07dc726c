#pragma once

#include <QList>
#include <QString>

class Table;

// The named session every table object of the program lives in ("SESJA"). It holds the table
// password (a value the tables are given; it does not encrypt), the working folder that relative
// table names start from, and the list of its table objects, so the whole session can be closed
// and reopened at once.
class Session {
public:
    explicit Session(const QString &name = QStringLiteral("SESJA"));
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
    ~Session();

    // Checks that the engine works: the SQLite library starts and an in-memory table opens.
    static bool initialise(QString *error = nullptr);

    const QString &name() const { return name_; }

    void setPassword(const QString &password) { password_ = password; }
    const QString &password() const { return password_; }

    // Relative table names start here; empty means the process's current folder.
    void setWorkingFolder(const QString &folder) { workingFolder_ = folder; }
    QString workingFolder() const;

    // How long a write waits for another program's lock before it fails as "locked".
    void setLockTimeout(int milliseconds);
    int lockTimeout() const;

    // Closes every table of the session (edits in progress are cancelled) and remembers which
    // were open; reopenAll() opens them again in the same order, with the same exclusivity.
    void closeAll();
    void reopenAll();

    const QList<Table *> &tables() const { return tables_; }

private:
    friend class Table;
    void add(Table *table);
    void remove(Table *table);

    QString name_;
    QString password_;
    QString workingFolder_;
    QList<Table *> tables_;
    QList<std::pair<Table *, bool>> closedByCloseAll_;
};
