#include "store/table.h"
#include "store/table_replacement.h"

#include "store/field_value.h"
#include "store/session.h"
#include "base/server_location.h"
#include "store/server_table_backend.h"
#include "store/table_connection.h"
#include "store/table_files.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString WithDbExtension(const QString &name)
{
    return name.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive) ? name : name + QStringLiteral(".DB");
}

// Gives the open-lock back when a temporary use of a closed table ends.
struct TemporaryOpen {
    std::shared_ptr<TableConnection> connection;
    ~TemporaryOpen()
    {
        if (connection)
            connection->releaseOpenLock(false);
    }
};

} // namespace

Table::Table(Session &session, const QString &objectName) : session_(&session), objectName_(objectName)
{
    session.add(this);
}

Table::~Table()
{
    close();
    clearMasterSource();
    for (Table *detail : std::as_const(details_)) {
        detail->master_ = nullptr;
        detail->appliedMasterValues_.reset();
    }
    if (session_)
        session_->remove(this);
}

QString Table::resolvedPath(const QString &name) const
{
    QString path = name;
#ifndef Q_OS_WIN
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    path = WithDbExtension(path);
    if (IsServerPath(path))
        return path;
    if (QDir::isRelativePath(path))
        path = QDir(session_ ? session_->workingFolder() : QDir::currentPath()).filePath(path);
    return ResolvePathIgnoringCase(QDir::cleanPath(path));
}

void Table::setTableName(const QString &name)
{
    requireClosed("zmiana nazwy tabeli");
    tableName_ = name;
}

QString Table::filePath() const
{
    return resolvedPath(tableName_);
}

bool Table::exists() const
{
    return !tableName_.isEmpty() && TableExists(filePath());
}

bool Table::isReadOnly() const
{
    return IsReadOnlyFile(filePath());
}

void Table::requireOpen() const
{
    if (!isOpen())
        throw EngineError(EngineErrorKind::Other,
                          // The file says more to the user than the object's name does.
                          QStringLiteral("Tabela %1 nie jest otwarta.").arg(tableName_.isEmpty() ? objectName_ : tableName_));
}

void Table::requireClosed(const char *operation) const
{
    if (isOpen())
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Tabela %1 musi być zamknięta (%2).")
                                                      .arg(Shown(filePath()), QString::fromUtf8(operation)));
}

void Table::open()
{
    openWith(false);
}

void Table::openExclusive()
{
    openWith(true);
}

void Table::openWith(bool exclusive)
{
    if (isOpen())
        return;
    if (tableName_.isEmpty())
        throw EngineError(EngineErrorKind::Missing, QStringLiteral("Tabela nie ma nazwy."));
    const QString path = filePath();
    // A replacement of this table that a power cut left half-way is finished (or undone) first.
    if (!TableConnection::isOpenInThisProcess(path))
        RecoverInterruptedReplacement(path);
    auto connection = TableConnection::acquire(path, exclusive);
    try {
        connection_ = connection;
        exclusive_ = exclusive;
        loadStructure();
        for (const FieldDef &field : std::as_const(calculatedFields_))
            if (structure_->definition.hasField(field.name))
                throw EngineError(EngineErrorKind::Other,
                                  QStringLiteral("Pole wyliczane %1 ma nazwę pola tabeli.").arg(field.name));
        rebuildFieldNames();
        orderColumns(); // an index name that does not exist fails the open
        state_ = TableState::Browse;
        if (master_)
            appliedMasterValues_ = masterValues();
        resetView();
    } catch (...) {
        state_ = TableState::Inactive;
        connection_.reset();
        structure_.reset();
        connection->releaseOpenLock(exclusive);
        exclusive_ = false;
        throw;
    }
    notify(TableChange::DataSet);
    notifyDetails(); // details follow first: an after-scroll rule sees them already moved
    if (events.afterScroll)
        events.afterScroll(*this);

}

void Table::close()
{
    if (!isOpen())
        return;
    editRow_ = Row();
    changedFields_.clear();
    modified_ = false;
    state_ = TableState::Inactive;
    window_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    connection_->releaseOpenLock(exclusive_);
    connection_.reset();
    exclusive_ = false;
    notify(TableChange::DataSet);
    notifyDetails();
}

void Table::loadStructure() const
{
    structure_ = std::make_unique<TableStructure>(ReadTableStructure(*connection_));
    structureSeen_ = connection_->structureCount();
}

const TableStructure &Table::structure() const
{
    if (connection_ && structureSeen_ != connection_->structureCount())
        loadStructure();
    return *structure_;
}

const FieldDef &Table::storedField(int position) const
{
    return structure_->definition.fields[position];
}

template <typename Work>
void Table::withConnection(Work work) const
{
    if (connection_) {
        work(*connection_);
        return;
    }
    TemporaryOpen temporary{TableConnection::acquire(filePath(), false)};
    work(*temporary.connection);
}

void Table::create(const TableDefinition &definition)
{
    requireClosed("tworzenie tabeli");
    CreateTableFile(filePath(), definition);
}

TableDefinition Table::definition() const
{
    if (isOpen())
        return structure().definition;
    TableDefinition definition;
    withConnection([&](TableConnection &connection) { definition = ReadTableStructure(connection).definition; });
    return definition;
}

void Table::deleteTable()
{
    requireClosed("usuwanie tabeli");
    const QString path = filePath();
    if (!TableExists(path))
        throw EngineError(EngineErrorKind::Missing, MissingTableMessage(path));
    if (TableConnection::isOpenInThisProcess(path) || TableConnection::isInUseByOtherProgram(path))
        throw EngineError(EngineErrorKind::Locked, LockedMessage(path));
    if (IsServerPath(path)) {
        ServerTableBackend::remove(path);
        return;
    }
    if (!QFile::remove(path))
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Nie można usunąć tabeli %1.").arg(Shown(path)));
    QFile::remove(path + QStringLiteral("-journal"));
}

void Table::renameTable(const QString &newName)
{
    requireClosed("zmiana nazwy tabeli");
    const QString path = filePath();
    if (!TableExists(path))
        throw EngineError(EngineErrorKind::Missing, MissingTableMessage(path));
    QString target = newName;
#ifndef Q_OS_WIN
    target.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    if (!target.contains(QLatin1Char('/')))
        target = path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + target;
    target = resolvedPath(target);
    if (IsServerPath(path)) {
        if (TableExists(target) && ParseServerTablePath(target)->table != ParseServerTablePath(path)->table)
            throw EngineError(EngineErrorKind::Other, QStringLiteral("Tabela %1 już istnieje.").arg(Shown(target)));
        if (TableConnection::isOpenInThisProcess(path) || TableConnection::isInUseByOtherProgram(path))
            throw EngineError(EngineErrorKind::Locked, LockedMessage(path));
        ServerTableBackend::rename(path, target);
        tableName_ = target;
        return;
    }
    if (QFileInfo::exists(target) && QFileInfo(target).canonicalFilePath() != QFileInfo(path).canonicalFilePath())
        throw EngineError(EngineErrorKind::Other, QStringLiteral("Tabela %1 już istnieje.").arg(Shown(target)));
    if (TableConnection::isOpenInThisProcess(path) || TableConnection::isInUseByOtherProgram(path))
        throw EngineError(EngineErrorKind::Locked, LockedMessage(path));
    // A journal left by a crash belongs to the old name: play it back before the file moves.
    if (QFileInfo::exists(path + QStringLiteral("-journal")))
        withConnection([](TableConnection &connection) { ReadTableStructure(connection); });
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0)
        throw EngineError(EngineErrorKind::Other,
                          QStringLiteral("Nie można zmienić nazwy tabeli %1 na %2.").arg(Shown(path), Shown(target)));
    tableName_ = target;
}

int Table::buildHelperIndexes(const QList<QStringList> &helpers, const std::function<void()> &step)
{
    int built = 0;
    withConnection([&](TableConnection &connection) {
        const TableStructure stored = ReadTableStructure(connection);
        QList<QList<KeyColumn>> wanted = AutoIncrementHelperColumns(stored.definition);
        for (const QStringList &fields : helpers) {
            QList<KeyColumn> columns;
            for (const QString &name : fields) {
                const int field = stored.definition.fieldIndex(name);
                if (field < 0) {
                    columns.clear(); // an older structure without the field: no such index
                    break;
                }
                columns.append(KeyColumn{field, {}});
            }
            if (!columns.isEmpty())
                wanted.append(columns);
        }
        built = BuildHelperIndexes(connection, stored, wanted, step);
    });
    return built;
}

QStringList Table::helperIndexNames() const
{
    QStringList names;
    withConnection([&](TableConnection &connection) {
        for (const QByteArray &name : HelperIndexNames(connection))
            names.append(QString::fromUtf8(name));
    });
    return names;
}

void Table::addIndex(const IndexDef &index)
{
    withConnection([&](TableConnection &connection) { AddTableIndex(connection, index); });
}

void Table::deleteIndex(const QString &name)
{
    withConnection([&](TableConnection &connection) { DropTableIndex(connection, name); });
}
