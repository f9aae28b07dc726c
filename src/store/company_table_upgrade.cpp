#include "store/structure_upgrades.h"

#include "base/prompt.h"
#include "store/cut_texts.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_object_open.h"
#include "store/table_replacement.h"
#include "store/structure_work_lock.h"
#include "store/table_helper_context.h"
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
// the parts separated by spaces, or without the spaces when the field cannot hold them.
QString JoinedAccountNumber(const Table &old, int fieldSize)
{
    const QString middle = OldText(old, QStringLiteral("NUM2"));
    const QStringList parts{OldText(old, QStringLiteral("NUM1")), middle.left(4), middle.mid(4, 4),
                            OldText(old, QStringLiteral("NUM3"))};
    QString joined = parts.join(u' ');
    while (joined.endsWith(u' '))
        joined.chop(1);
    if (joined.size() > fieldSize)
        joined = parts.join(QString());
    return joined;
}

// The value of a field of the current structure, taken from the old row.
QString CurrentFieldText(const Table &old, const QString &field, int fieldSize)
{
    if (field == QLatin1String("ADRES1"))
        return OldText(old, QStringLiteral("ZAPAS1"));
    if (field == QLatin1String("NUM1"))
        return JoinedAccountNumber(old, fieldSize);
    if (field == QLatin1String("URZAD"))
        return FirstNonEmpty(OldText(old, QStringLiteral("ARCHDATA")), OldText(old, QStringLiteral("ZAPAS2")));
    if (field == QLatin1String("KAPITAL"))
        return FirstNonEmpty(OldText(old, QStringLiteral("ARCHDNI")), OldText(old, QStringLiteral("ZAPAS3")));
    if (kFieldsStartingEmpty.contains(field))
        return QString();
    return OldText(old, field);
}

// The current structure, followed by the fields of the old table that this program does not
// know: the company table is shared with the other programs of the suite, whose fields go along.
TableDefinition RebuiltDefinition(const TableDefinition &old)
{
    TableDefinition rebuilt = CompanyTableDefinition();
    for (const FieldDef &field : old.fields)
        if (!rebuilt.hasField(field.name))
            rebuilt.fields.append(field);
    return rebuilt;
}

void CopyRowsIntoCurrentStructure(Table &old, Table &rebuilt, CutTexts &cut)
{
    const QList<FieldDef> fields = rebuilt.definition().fields;
    const TableDefinition current = CompanyTableDefinition();
    TransactionScope scope;
    for (old.first(); !old.eof(); old.next()) {
        rebuilt.append();
        const QString row = QStringLiteral("NR ") + OldText(old, QStringLiteral("NR"));
        for (const FieldDef &field : fields) {
            if (!current.hasField(field.name)) {
                if (!old.isNull(field.name))
                    rebuilt.setValue(field.name, old.value(field.name));
                continue;
            }
            const QString text = CurrentFieldText(old, field.name, field.size);
            if (text.isEmpty())
                continue;
            if (field.type == FieldType::Text)
                cut.setText(rebuilt, field.name, text, row);
            else
                rebuilt.setString(field.name, text);
        }
        rebuilt.post();
    }
    scope.commit();
}

// Builds the company table in the current structure beside the old one; false (and nothing left
// behind) when that fails.
bool BuildRebuiltTable(Table &company, Table &rebuilt, CutTexts &cut)
{
    try {
        rebuilt.create(RebuiltDefinition(company.definition()));
        rebuilt.open();
        CopyRowsIntoCurrentStructure(company, rebuilt, cut);
        rebuilt.close();
        return true;
    } catch (const EngineError &) {
        DeleteTableQuietly(rebuilt);
        return false;
    }
}

bool NeedsRebuild(const TableDefinition &definition)
{
    return definition.fields.size() < CompanyTableDefinition().fields.size();
}

} // namespace

void UpgradeCompanyTable(Table &company, TableHelperContext &context)
{
    if (!company.isOpen() || !NeedsRebuild(company.definition()))
        return;
    const QString path = company.filePath();
    // A table the user keeps read-only stays as it is.
    if (IsReadOnlyFile(path))
        return;
    if (!BeginStructureWork(company, NeedsRebuild, context.prompt)) {
        company.first();
        return;
    }

    Table rebuilt(*company.session());
    rebuilt.setTableName(ScratchTablePath(path, kRebuiltSuffix) + QStringLiteral(".DB"));
    CutTexts cut;
    const bool built = BuildRebuiltTable(company, rebuilt, cut);
    const QString tableName = company.tableName();
    if (built && ReplaceTableFile(company, rebuilt.filePath())) {
        QFile::remove(ResolvePathIgnoringCase(WithoutDbExtension(path) + QStringLiteral(".STR")));
        if (!cut.isEmpty())
            context.prompt.information(QStringLiteral("Przy zmianie struktury tabeli danych o firmie skrócono "
                                                      "wartości, których nie mieszczą pola:")
                                       + cut.listing(QStringLiteral("FIRMA")));
    }
    company.close();
    company.setTableName(tableName);
    OpenSharedWaiting(company);
    company.first();
}
