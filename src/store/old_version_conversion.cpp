#include "store/old_version_conversion.h"

#include "base/global_state.h"
#include "base/prompt.h"
#include "store/data_tree.h"
#include "store/engine_error.h"
#include "store/folder_files.h"
#include "store/table.h"
#include "store/table_files.h"
#include "store/table_helper_context.h"
#include "store/table_schemas.h"
#include "store/transaction_scope.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

const QString kSymbol = QStringLiteral("SYMBOL");
const QString kNumber = QStringLiteral("NUMER");
const QString kOldDesk = QStringLiteral("AUTOKASA");
const QString kOldReport = QStringLiteral("AUTORK");

struct ConversionPaths {
    QString cashFolder;       // KASA of the working year
    QString conversionFolder; // KASA\KONWERT

    QString inCash(const char *fileName) const { return QDir(cashFolder).filePath(QString::fromLatin1(fileName)); }
    QString converted(const char *fileName) const
    {
        return QDir(conversionFolder).filePath(QString::fromLatin1(fileName));
    }
};

ConversionPaths PathsOf(const GlobalState &state)
{
    const QString cash = ResolvePathIgnoringCase(YearTablePath(state.DataRoot, state.CurrentYear, QStringLiteral("KASA")));
    return {cash, ResolvePathIgnoringCase(QDir(cash).filePath(QStringLiteral("KONWERT")))};
}

// The new tables, each following the one above it as the program's own objects do.
struct NewTables {
    Table desks;
    Table reports;
    Table documents;

    explicit NewTables(Session &session) : desks(session), reports(session), documents(session)
    {
        reports.setMasterSource(&desks, {kSymbol}, {kSymbol});
        documents.setMasterSource(&reports, {kSymbol, kNumber}, {kSymbol, kNumber});
    }

    void create(const ConversionPaths &paths)
    {
        desks.setTableName(paths.converted("KASA.DB"));
        reports.setTableName(paths.converted("RKASA.DB"));
        documents.setTableName(paths.converted("NAGKASA.DB"));
        desks.create(CashDeskTableDefinition());
        reports.create(CashReportTableDefinition());
        documents.create(ConvertedCashDocumentTableDefinition());
        desks.open();
        reports.open();
        documents.open();
    }
};

// The old tables, linked through the automatic numbers.
struct OldTables {
    Table desks;
    Table reports;
    Table documents;

    explicit OldTables(Session &session) : desks(session), reports(session), documents(session)
    {
        reports.setMasterSource(&desks, {kOldDesk}, {kOldDesk});
        documents.setMasterSource(&reports, {kOldDesk, kOldReport}, {kOldDesk, kOldReport});
    }

    void open(const ConversionPaths &paths)
    {
        desks.setTableName(paths.inCash("KASA.DB"));
        reports.setTableName(paths.inCash("RKASA.DB"));
        documents.setTableName(paths.inCash("NAGKASA.DB"));
        desks.open();
        reports.open();
        documents.open();
    }
};

// Every field of the new row from the old field of the same name; the link fields come from the
// new master row and automatic numbers are given by the new table.
void CopyFieldsByName(const Table &from, Table &to, const QStringList &linkFields)
{
    for (const FieldDef &field : to.definition().fields) {
        if (field.type == FieldType::AutoIncrement || linkFields.contains(field.name))
            continue;
        if (from.hasField(field.name) && !from.isNull(field.name))
            to.setValue(field.name, from.value(field.name));
    }
}

// Hands out 1, 2, ... skipping the values already in use.
class FreeNumbers {
public:
    explicit FreeNumbers(QSet<QString> taken) : taken_(std::move(taken)) {}
    QString next()
    {
        QString candidate;
        do
            candidate = QString::number(++counter_);
        while (taken_.contains(candidate));
        return candidate;
    }

private:
    QSet<QString> taken_;
    int counter_ = 0;
};

// The non-empty values of the field down the whole view (numbers other than 0).
QSet<QString> ValuesInUse(Table &table, const QString &field)
{
    QSet<QString> values;
    if (!table.hasField(field))
        return values;
    for (table.first(); !table.eof(); table.next()) {
        const QString value = table.asString(field).trimmed();
        if (!value.isEmpty() && value != QLatin1String("0"))
            values.insert(value);
    }
    return values;
}

void CopyDocuments(OldTables &old, NewTables &converted)
{
    for (old.documents.first(); !old.documents.eof(); old.documents.next()) {
        converted.documents.append();
        CopyFieldsByName(old.documents, converted.documents, {kSymbol, kNumber});
        converted.documents.post();
    }
}

void CopyReports(OldTables &old, NewTables &converted)
{
    FreeNumbers reportNumbers(ValuesInUse(old.reports, kNumber));
    for (old.reports.first(); !old.reports.eof(); old.reports.next()) {
        converted.reports.append();
        CopyFieldsByName(old.reports, converted.reports, {kSymbol});
        if (converted.reports.asInteger(kNumber) == 0)
            converted.reports.setString(kNumber, reportNumbers.next());
        converted.reports.post();
        CopyDocuments(old, converted);
    }
}

void CopyDesks(OldTables &old, NewTables &converted)
{
    FreeNumbers deskSymbols(ValuesInUse(old.desks, kSymbol));
    for (old.desks.first(); !old.desks.eof(); old.desks.next()) {
        converted.desks.append();
        CopyFieldsByName(old.desks, converted.desks, {});
        if (converted.desks.asString(kSymbol).isEmpty())
            converted.desks.setString(kSymbol, deskSymbols.next());
        converted.desks.post();
        CopyReports(old, converted);
    }
}

// The listings beside the old tables describe the old structure; fresh ones are written when the
// new tables are first opened.
void RemoveOldListings(const ConversionPaths &paths)
{
    for (const char *name : {"KASA.STR", "RKASA.STR", "NAGKASA.STR"})
        QFile::remove(ResolvePathIgnoringCase(paths.inCash(name)));
}

} // namespace

bool ConvertOldVersionTables(TableHelperContext &context)
{
    const ConversionPaths paths = PathsOf(context.state);
    QDir().mkpath(paths.conversionFolder);
    {
        NewTables converted(context.session);
        OldTables old(context.session);
        try {
            converted.create(paths);
        } catch (const EngineError &) {
            context.prompt.error(QStringLiteral("Nie mozna utworzyć tabeli"));
            return false;
        }
        try {
            old.open(paths);
        } catch (const EngineError &) {
            context.prompt.error(QStringLiteral("Nie mozna otworzyć tabeli"));
            return false;
        }
        try {
            TransactionScope scope;
            CopyDesks(old, converted);
            scope.commit();
        } catch (const EngineError &error) {
            context.prompt.error(error.message());
            return false;
        }
    }
    CopyFolderFiles(paths.conversionFolder, paths.cashFolder);
    RemoveOldListings(paths);
    return true;
}
