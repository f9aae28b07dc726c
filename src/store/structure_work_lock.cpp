#include "store/structure_work_lock.h"

#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_object_open.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

namespace {

constexpr int kRetryMilliseconds = 100;
int gWaitMilliseconds = 5000;

bool StillNeeded(Table &table, const std::function<bool(const TableDefinition &)> &needed)
{
    try {
        return needed(table.definition());
    } catch (const EngineError &) {
        return true; // cannot tell yet: keep waiting for the table
    }
}

} // namespace

void OpenSharedWaiting(Table &table)
{
    const QDeadlineTimer deadline(gWaitMilliseconds);
    for (;;) {
        try {
            OpenTableObject(table);
            return;
        } catch (const EngineError &error) {
            if (error.kind() != EngineErrorKind::Locked || deadline.hasExpired())
                throw;
        }
        QThread::msleep(kRetryMilliseconds);
    }
}

int StructureWorkWait()
{
    return gWaitMilliseconds;
}

void SetStructureWorkWait(int milliseconds)
{
    gWaitMilliseconds = milliseconds;
}

StructureWorkAccess TakeTableForStructureWork(Table &table, const std::function<bool(const TableDefinition &)> &needed)
{
    const bool wasOpen = table.isOpen();
    table.close();
    const QDeadlineTimer deadline(gWaitMilliseconds);
    for (;;) {
        try {
            table.openExclusive();
            if (needed(table.definition()))
                return StructureWorkAccess::Taken;
            table.close();
            if (wasOpen)
                OpenSharedWaiting(table);
            return StructureWorkAccess::NotNeeded;
        } catch (const EngineError &error) {
            if (error.kind() != EngineErrorKind::Locked)
                throw;
        }
        if (!StillNeeded(table, needed)) {
            if (wasOpen)
                OpenSharedWaiting(table);
            return StructureWorkAccess::NotNeeded;
        }
        if (deadline.hasExpired()) {
            if (wasOpen)
                OpenSharedWaiting(table);
            return StructureWorkAccess::HeldElsewhere;
        }
        QThread::msleep(kRetryMilliseconds);
    }
}

bool BeginStructureWork(Table &table, const std::function<bool(const TableDefinition &)> &needed, Prompt &prompt)
{
    const QString path = table.filePath();
    switch (TakeTableForStructureWork(table, needed)) {
    case StructureWorkAccess::Taken:
        return true;
    case StructureWorkAccess::NotNeeded:
        return false;
    case StructureWorkAccess::HeldElsewhere:
        prompt.warning(TableHeldElsewhereMessage(path));
        return false;
    }
    return false;
}

QString TableHeldElsewhereMessage(const QString &filePath)
{
    return QStringLiteral("Tabela %1 jest otwarta w innym programie.\r"
                          "Zmiana jej struktury wymaga wyłącznego dostępu: zamknij program na pozostałych "
                          "stanowiskach i uruchom go ponownie.")
        .arg(QDir::toNativeSeparators(filePath));
}
