#include "store/server_table_check.h"

#include "base/server_location.h"
#include "store/engine_error.h"
#include "store/server_cursor.h"
#include "store/server_session.h"
#include "store/server_table_backend.h"
#include "store/table_storage.h"

#include <QHash>
#include <QSet>

namespace {

// One SQL table of a table on the server, by its name beside the table's ("" for the rows).
class ServerTableReader {
public:
    ServerTableReader(const QString &path, ServerTableAddress address)
        : path_(path), address_(std::move(address)), session_(ServerSession::of(address_.connectionInfo, address_.server))
    {
    }

    QByteArray sqlTable(const QString &suffix) const
    {
        return QuotedName(address_.schema) + '.' + QuotedName(address_.table + suffix);
    }
    bool has(const QString &suffix)
    {
        return !rows("SELECT 1 FROM pg_tables WHERE schemaname = " + ServerTextLiteral(address_.schema)
                     + " AND tablename = " + ServerTextLiteral(address_.table + suffix))
                    .isEmpty();
    }
    // The first two columns of every row the query gives, as texts.
    QList<std::pair<QString, QString>> rows(const QByteArray &sql)
    {
        ServerCursor query(session_, path_, sql);
        QList<std::pair<QString, QString>> found;
        while (query.step())
            found.append({query.text(0), query.columnCount() > 1 ? query.text(1) : QString()});
        return found;
    }
    QHash<QString, QString> upperKeyed(const QByteArray &sql)
    {
        QHash<QString, QString> found;
        for (const auto &[key, value] : rows(sql))
            found.insert(key.toUpper(), value);
        return found;
    }
    const ServerTableAddress &address() const { return address_; }

private:
    QString path_;
    ServerTableAddress address_;
    std::shared_ptr<ServerSession> session_;
};

void CheckStructure(ServerTableReader &table, const TableDefinition &expected, QStringList &problems)
{
    const ServerTableAddress &address = table.address();
    const QHash<QString, QString> defined = table.upperKeyed("SELECT name, type FROM " + table.sqlTable(QStringLiteral("#fields")));
    const QHash<QString, QString> columns = table.upperKeyed(
        "SELECT column_name, data_type FROM information_schema.columns WHERE table_schema = " + ServerTextLiteral(address.schema)
        + " AND table_name = " + ServerTextLiteral(address.table));
    for (const FieldDef &field : expected.fields) {
        const QString name = field.name.toUpper();
        if (!defined.contains(name) || !columns.contains(name)) {
            problems << QStringLiteral("brak pola %1").arg(field.name);
            continue;
        }
        if (defined.value(name).toInt() != int(field.type))
            problems << QStringLiteral("pole %1 ma inny typ").arg(field.name);
        const QString wanted = QString::fromLatin1(ServerColumnType(field.type));
        if (columns.value(name) != wanted)
            problems << QStringLiteral("pole %1 ma na serwerze typ %2 zamiast %3").arg(field.name, columns.value(name), wanted);
    }
    const QHash<QString, QString> indexes = table.upperKeyed("SELECT name FROM " + table.sqlTable(QStringLiteral("#indexes")));
    for (const IndexDef &index : expected.indexes)
        if (!index.name.isEmpty() && !indexes.contains(index.name.toUpper()))
            problems << QStringLiteral("brak indeksu %1").arg(index.name);
}

// Every index the table defines is an index on the server, under the name the engine gives it.
void CheckIndexesExist(ServerTableReader &table, QStringList &problems)
{
    const ServerTableAddress &address = table.address();
    QSet<QString> present;
    const QString prefix = (address.table + u'#').toUpper();
    for (const auto &[name, unused] : table.rows("SELECT indexname FROM pg_indexes WHERE schemaname = "
                                                   + ServerTextLiteral(address.schema) + " AND tablename = " + ServerTextLiteral(address.table)))
        if (name.toUpper().startsWith(prefix))
            present.insert(name.toUpper().mid(prefix.size()));
    for (const auto &[name, primary] :
         table.rows("SELECT name, is_primary FROM " + table.sqlTable(QStringLiteral("#indexes")) + " ORDER BY position")) {
        const QString sqlName = primary.toInt() != 0 ? QStringLiteral("PRIMARY_KEY") : name.toUpper();
        if (!present.contains(sqlName))
            problems << QStringLiteral("brak indeksu %1 na serwerze").arg(primary.toInt() != 0 ? QStringLiteral("głównego") : name);
    }
}

// The server's checker reads each B-tree index of the table against the table's order.
void CheckIndexConsistency(ServerTableReader &table, QStringList &problems)
{
    const QList<std::pair<QString, QString>> indexes = table.rows(
        "SELECT c.oid::text, c.relname FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid"
        " JOIN pg_am a ON a.oid = c.relam WHERE a.amname = 'btree' AND i.indrelid = "
        + ServerTextLiteral(QString::fromUtf8(table.sqlTable(QString()))) + "::regclass ORDER BY c.relname");
    for (const auto &[oid, name] : indexes) {
        try {
            table.rows("SELECT bt_index_check(" + oid.toLatin1() + "::oid)::text");
        } catch (const EngineError &error) {
            problems << QStringLiteral("indeks %1 jest niespójny (%2)").arg(name, error.message());
        }
    }
}

} // namespace

QString PrepareServerIndexCheck(const QString &dataRoot)
{
    const std::optional<ServerTableAddress> address = ParseServerTablePath(dataRoot);
    if (!address)
        return QStringLiteral("zły adres serwera %1").arg(dataRoot);
    try {
        ServerSession::of(address->connectionInfo, address->server)
            ->execute("CREATE EXTENSION IF NOT EXISTS amcheck", dataRoot);
    } catch (const EngineError &) {
        return QStringLiteral("w bazie nie ma rozszerzenia amcheck, a login programu nie może go założyć "
                              "(administrator serwera zakłada je poleceniem CREATE EXTENSION amcheck)");
    }
    return QString();
}

TableFileCheck InspectServerTable(const QString &path, const std::optional<TableDefinition> &expected,
                                  bool checkIndexConsistency)
{
    TableFileCheck check{path, {}};
    const std::optional<ServerTableAddress> address = ParseServerTablePath(path);
    if (!address || address->table.isEmpty()) {
        check.problems << QStringLiteral("brak tabeli");
        return check;
    }
    try {
        ServerTableReader table(path, *address);
        if (!table.has(QString())) {
            check.problems << QStringLiteral("brak tabeli");
            return check;
        }
        if (!table.has(QStringLiteral("#fields")) || !table.has(QStringLiteral("#indexes"))) {
            check.problems << QStringLiteral("brak opisu struktury tabeli");
            return check;
        }
        if (expected)
            CheckStructure(table, *expected, check.problems);
        CheckIndexesExist(table, check.problems);
        if (checkIndexConsistency)
            CheckIndexConsistency(table, check.problems);
    } catch (const EngineError &error) {
        check.problems << QString(error.message()).replace(u'\r', u' ');
    }
    return check;
}
