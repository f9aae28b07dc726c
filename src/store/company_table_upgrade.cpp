#include "store/structure_upgrades.h"

#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_object_open.h"
#include "store/table_replacement.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QFile>

namespace {

const QString kRebuiltSuffix = QStringLiteral("_NOWY");

// Fields the older structures did not have in this meaning: they start empty.
const QStringList kFieldsStartingEmpty{
    QStringLiteral("BANK2"), QStringLiteral("BANK3"), QStringLiteral("ADRES2"),
    QStringLiteral("ADRES3"), QStringLiteral("NUM2"), QStringLiteral("NUM3"),
};

QString OldText(const Table &old, const QString &field)
{
    return old.hasField(field) ? old.asString(field) : QString();
}

QString FirstNonEmpty(const QString &preferred, const QString &fallback)
{
    return preferred.isEmpty() ? fallback : preferred;
}

// The account number was kept in three parts; the current structure holds it in one text,
// the parts separated by spaces.
QString JoinedAccountNumber(const Table &old)
{
    const QString middle = OldText(old, QStringLiteral("NUM2"));
    QString joined = OldText(old, QStringLiteral("NUM1")) + u' ' + middle.left(4) + u' ' + middle.mid(4, 4) + u' '
                     + OldText(old, QStringLiteral("NUM3"));
    while (joined.endsWith(u' '))
        joined.chop(1);
    return joined;
}

// The value of a field of the current structure, taken from the old row.
QString CurrentFieldText(const Table &old, const QString &field)
{
    if (field == QLatin1String("ADRES1"))
        return OldText(old, QStringLiteral("ZAPAS1"));
    if (field == QLatin1String("NUM1"))
        return JoinedAccountNumber(old);
    if (field == QLatin1String("URZAD"))
        return FirstNonEmpty(OldText(old, QStringLiteral("ARCHDATA")), OldText(old, QStringLiteral("ZAPAS2")));
    if (field == QLatin1String("KAPITAL"))
        return FirstNonEmpty(OldText(old, QStringLiteral("ARCHDNI")), OldText(old, QStringLiteral("ZAPAS3")));
    if (kFieldsStartingEmpty.contains(field))
        return QString();
    return OldText(old, field);
}

void CopyRowsIntoCurrentStructure(Table &old, Table &rebuilt)
{
    const QList<FieldDef> fields = rebuilt.definition().fields;
    TransactionScope scope;
    for (old.first(); !old.eof(); old.next()) {
        rebuilt.append();
        for (const FieldDef &field : fields) {
            const QString text = CurrentFieldText(old, field.name);
            if (!text.isEmpty())
                rebuilt.setString(field.name, text);
        }
        rebuilt.post();
    }
    scope.commit();
}

// Builds the company table in the current structure beside the old one; false (and nothing left
// behind) when that fails.
bool BuildRebuiltTable(Table &company, Table &rebuilt)
{
    try {
        rebuilt.create(CompanyTableDefinition());
        rebuilt.open();
        CopyRowsIntoCurrentStructure(company, rebuilt);
        rebuilt.close();
        return true;
    } catch (const EngineError &) {
        DeleteTableQuietly(rebuilt);
        return false;
    }
}

} // namespace

void UpgradeCompanyTable(Table &company)
{
    if (!company.isOpen() || company.definition().fields.size() >= CompanyTableDefinition().fields.size())
        return;
    Session &session = *company.session();
    const QString path = company.filePath();
    Table rebuilt(session);
    rebuilt.setTableName(ScratchTablePath(path, kRebuiltSuffix) + QStringLiteral(".DB"));
    if (!BuildRebuiltTable(company, rebuilt)) {
        company.first();
        return;
    }

    const QString tableName = company.tableName();
    company.close();
    if (ReplaceTableFile(session, path, rebuilt.filePath()))
        QFile::remove(ResolvePathIgnoringCase(WithoutDbExtension(path) + QStringLiteral(".STR")));
    else
        DeleteTableQuietly(rebuilt);
    company.setTableName(tableName);
    OpenTableObject(company);
    company.first();
}
