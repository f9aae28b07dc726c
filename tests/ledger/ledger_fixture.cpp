#include "ledger_fixture.h"

#include "ledger/document_kinds.h"
#include "store/table_schemas.h"

#include "store/table_connection.h"
#include "support/throwaway_server.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const QStringList kLedgerObjects{"TPARA", "TKASA", "TRKASA", "TNAG", "TPOZ", "KNAG", "TSLO", "TKONTA", "TWALUTA"};

// The table's path in the folder, or under the tests' database when they run on the server.
QString TablePath(const QDir &root, const TableObjectEntry &entry)
{
    QString folder = entry.location.base == TableBase::YearFolder ? QStringLiteral("2019") : QString();
    if (!entry.location.folder.isEmpty())
        folder += (folder.isEmpty() ? QString() : QStringLiteral("/")) + entry.location.folder;
    const QString relative = folder.isEmpty() ? entry.location.fileName : folder + QLatin1Char('/') + entry.location.fileName;
    if (TestsRunOnServer())
        return TestServerDataRoot() + relative;
    root.mkpath(folder.isEmpty() ? QStringLiteral(".") : folder);
    return root.filePath(relative);
}

} // namespace

void LedgerTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    // A second program of a process test works on its parent's folder.
    const QString folder = qEnvironmentVariable("KASA_LEDGER_FOLDER", dir_.path());
    if (TestsRunOnServer() && qEnvironmentVariableIsEmpty("KASA_LEDGER_FOLDER"))
        EmptyTestServerDatabase();
    session_.setWorkingFolder(folder);
    state_.TodayText = QStringLiteral("2019.03.15");
    state_.CurrentYear = QStringLiteral("2019");
    state_.CurrentMonth = QStringLiteral("03");
    state_.OperatorName = QStringLiteral("Jan Kowalski");
    const QDir root(folder);
    QSet<QString> created;
    for (const QString &name : kLedgerObjects) {
        const TableObjectEntry &entry = *FindTableObject(name);
        const QString path = TablePath(root, entry);
        if (!created.contains(path) && !TableExists(path)) {
            Table file(session_);
            file.setTableName(path);
            file.create(entry.definition());
            created.insert(path);
        }
        auto object = std::make_unique<Table>(session_, name);
        object->setTableName(path);
        object->setIndexName(entry.indexName);
        for (const CalculatedFieldDef &field : entry.calculatedFields)
            object->addCalculatedField({field.name, field.type, field.size, false});
        for (const FieldDisplayFormat &format : entry.displayFormats)
            object->setDisplayFormat(format.field, format.format);
        objects_[name] = std::move(object);
    }
    for (const QString &name : kLedgerObjects) {
        const TableObjectEntry &entry = *FindTableObject(name);
        if (!entry.master.isEmpty())
            objects_.at(name)->setMasterSource(objects_.at(entry.master).get(), entry.linkFields, entry.linkFields);
    }
    for (const QString &name : kLedgerObjects)
        objects_.at(name)->open();
    ledger_ = std::make_unique<CashLedger>(tables(), prompt_, state_, clock_);
    ledger_->setView(&view_);
}

void OpenReportTest::SetUp()
{
    LedgerTest::SetUp();
    addDesk(QStringLiteral("K1"));
    selectDesk(QStringLiteral("K1"));
    addReport(1, Money());
    prompt_.clear();
}

void LedgerTest::TearDown()
{
    ledger_.reset();
    for (auto &[name, object] : objects_)
        object->close();
}

LedgerTables LedgerTest::tables()
{
    return {T("TPARA"), T("TKASA"), T("TRKASA"), T("TNAG"), T("TPOZ"), T("KNAG"), T("TSLO"), T("TKONTA"), T("TWALUTA")};
}

void LedgerTest::setParameters(const QString &numberTemplate, const QString &options)
{
    Table &parameters = T("TPARA");
    parameters.first();
    parameters.edit(); // starts the row when the table is empty
    parameters.setString(QStringLiteral("P1"), numberTemplate);
    parameters.setString(QStringLiteral("P2"), options);
    parameters.post();
}

void LedgerTest::addDesk(const QString &symbol)
{
    Table &desks = T("TKASA");
    desks.append();
    desks.setString(QStringLiteral("SYMBOL"), symbol);
    desks.post();
}

void LedgerTest::selectDesk(const QString &symbol)
{
    ASSERT_TRUE(T("TKASA").findKey({symbol}));
}

void LedgerTest::addReport(int number, Money opening, bool closed, const QString &marking, Money closing)
{
    Table &reports = T("TRKASA");
    reports.append();
    reports.setInteger(QStringLiteral("NUMER"), number);
    reports.setString(QStringLiteral("OZNACZENIE"), marking);
    reports.setString(QStringLiteral("DATAOD"), QStringLiteral("2019.03.01"));
    reports.setMoney(QStringLiteral("BOWARTOSC"), opening);
    reports.setBoolean(QStringLiteral("ZAMKNIETY"), closed);
    if (closed)
        reports.setMoney(QStringLiteral("BZWARTOSC"), closing);
    reports.post();
}

void LedgerTest::selectReport(int number)
{
    Table &reports = T("TRKASA");
    for (reports.first(); !reports.eof(); reports.next())
        if (reports.asInteger(QStringLiteral("NUMER")) == number)
            return;
    FAIL() << "no report " << number;
}

void LedgerTest::writeHeader(const QString &desk, int report, const QString &kind, int number, Money amount,
                             const QString &sign, const QString &date, int place)
{
    Table raw(session_);
    raw.setTableName(T("KNAG").tableName());
    raw.open();
    raw.append();
    raw.setString(QStringLiteral("SYMBOL"), desk);
    raw.setInteger(QStringLiteral("NUMER"), report);
    raw.setString(QStringLiteral("RD"), kind);
    raw.setString(QStringLiteral("ROK"), QStringLiteral("2019"));
    raw.setInteger(QStringLiteral("NRD"), number);
    raw.setInteger(QStringLiteral("POZ"), place);
    raw.setBoolean(QStringLiteral("GLOWKA"), true);
    raw.setString(QStringLiteral("DATA"), date);
    raw.setMoney(QStringLiteral("KWOTA"), amount);
    raw.setString(QStringLiteral("OKOD"), sign);
    raw.post();
    raw.close();
    T("TNAG").refresh();
}

int LedgerTest::createDocument(const QString &kind, const QList<Money> &lines)
{
    DocumentCommands &documents = ledger_->documents();
    documents.createHeader(kind);
    documents.postHeader();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0 && HeaderIsFirstLine(kind)) {
            Table &rows = T("TPOZ");
            rows.first();
            rows.edit();
            rows.setMoney(QStringLiteral("KWOTAP"), lines[i]);
            rows.post();
        } else {
            addLine(lines[i]);
        }
    }
    return T("TNAG").asInteger(QStringLiteral("NRD"));
}

void LedgerTest::addLine(Money amount, const QString &description)
{
    Table &rows = T("TPOZ");
    rows.append();
    rows.setBoolean(QStringLiteral("GLOWKA"), false);
    rows.setString(QStringLiteral("TYT1"), description);
    rows.setMoney(QStringLiteral("KWOTAP"), amount);
    rows.post();
}

QStringList LedgerTest::Column(Table &t, const char *field)
{
    QStringList values;
    for (t.first(); !t.eof(); t.next())
        values.append(t.asString(QString::fromLatin1(field)));
    return values;
}

QList<Bookmark> LedgerTest::RowsOf(Table &t)
{
    QList<Bookmark> rows;
    for (t.first(); !t.eof(); t.next())
        rows.append(t.bookmark());
    return rows;
}

QStringList LedgerTest::storedDocuments(const QStringList &fields)
{
    Table raw(session_);
    raw.setTableName(T("KNAG").tableName());
    raw.setIndexFieldNames(QStringLiteral("AUTO"));
    raw.open();
    QStringList rows;
    for (raw.first(); !raw.eof(); raw.next()) {
        QStringList values;
        for (const QString &field : fields)
            values.append(field + QLatin1Char('=') + raw.asString(field));
        rows.append(values.join(QLatin1Char(' ')));
    }
    return rows;
}
