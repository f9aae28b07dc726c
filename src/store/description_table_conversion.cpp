#include "store/description_table_conversion.h"

#include "base/prompt.h"
#include "store/engine_error.h"
#include "store/table.h"
#include "store/table_helper_context.h"
#include "store/structure_work_lock.h"
#include "store/table_files.h"
#include "store/table_replacement.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kCurrentFieldCount = 3;
const QString kConvertedFileName = QStringLiteral("OPISKAS.DB");

// Row by row, each field into the field at the same place. Rows whose kind and description are
// already there are the same description twice (no amount to lose): they are skipped. The rows
// are read through a plain table object, so a filter of the descriptions object hides none.
void CopyRowsByPosition(Session &session, const QString &oldPath, Table &converted)
{
    Table old(session);
    old.setTableName(oldPath);
    old.open(); // shares this program's exclusive hold on the file
    const QList<FieldDef> oldFields = old.definition().fields;
    const QList<FieldDef> newFields = converted.definition().fields;
    const qsizetype shared = std::min(oldFields.size(), newFields.size());
    TransactionScope scope;
    for (old.first(); !old.eof(); old.next()) {
        converted.append();
        for (qsizetype i = 0; i < shared; ++i)
            converted.setValue(newFields[i].name, old.value(oldFields[i].name));
        try {
            converted.post();
        } catch (const EngineError &error) {
            converted.cancel();
            if (error.kind() != EngineErrorKind::KeyViolation)
                throw;
        }
    }
    scope.commit();
}

} // namespace

bool DescriptionTableNeedsConversion(const Table &descriptions)
{
    return descriptions.isOpen() && descriptions.definition().fields.size() < kCurrentFieldCount;
}

void ConvertDescriptionTable(Table &descriptions, TableHelperContext &context)
{
    const QString path = descriptions.filePath();
    if (IsReadOnlyFile(path)) {
        descriptions.close();
        return;
    }
    const auto needed = [](const TableDefinition &definition) { return definition.fields.size() < kCurrentFieldCount; };
    if (!BeginStructureWork(descriptions, needed, context.prompt)) {
        descriptions.close();
        return;
    }
    Table converted(context.session);
    converted.setTableName(QFileInfo(path).dir().filePath(kConvertedFileName));
    try {
        converted.create(PaymentDescriptionTableDefinition());
        converted.open();
    } catch (const EngineError &) {
        context.prompt.show(PromptIcon::None, QStringLiteral("Nie mozna utworzyć tabeli OPISKAS.DB - konwersja."), Ok,
                            QStringLiteral("Błąd"));
        descriptions.close();
        return;
    }
    try {
        CopyRowsByPosition(context.session, path, converted);
    } catch (const EngineError &) {
        DeleteTableQuietly(converted);
        descriptions.close();
        return;
    }
    converted.close();
    ReplaceTableFile(descriptions, converted.filePath());
    descriptions.close();
}
