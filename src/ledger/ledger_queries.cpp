#include "ledger/ledger_queries.h"

#include "ledger/ledger_tables.h"
#include "store/table.h"


bool HasRows(const Table &table)
{
    return table.isOpen() && !table.isEmpty();
}

bool DeskHasReports(const LedgerTables &tables)
{
    return HasRows(tables.TRKASA);
}

bool ReportHasDocuments(const LedgerTables &tables)
{
    return HasRows(tables.TNAG);
}

bool CurrentReportIsOpen(const LedgerTables &tables)
{
    return HasRows(tables.TRKASA) && !tables.TRKASA.asBoolean(QStringLiteral("ZAMKNIETY"));
}

QString CurrentDeskSymbol(const LedgerTables &tables)
{
    return tables.TKASA.isOpen() ? tables.TKASA.asString(QStringLiteral("SYMBOL")) : QString();
}

int CurrentReportNumber(const LedgerTables &tables)
{
    return tables.TRKASA.isOpen() ? tables.TRKASA.asInteger(QStringLiteral("NUMER")) : 0;
}

bool DateWithinCurrentReport(const LedgerTables &tables, const QString &date)
{
    if (!HasRows(tables.TRKASA))
        return true;
    const QString first = tables.TRKASA.asString(QStringLiteral("DATAOD")).trimmed();
    const QString last = tables.TRKASA.asString(QStringLiteral("DATADO")).trimmed();
    return (first.isEmpty() || date >= first) && (last.isEmpty() || date <= last);
}

QString CurrentReportMarking(const LedgerTables &tables)
{
    return tables.TRKASA.isOpen() ? tables.TRKASA.asString(QStringLiteral("OZNACZENIE")) : QString();
}

void VisitLastReport(Table &reports, const std::function<void()> &visit)
{
    const QList<Row> last = reports.peekRows({}, 1, true);
    if (!last.isEmpty())
        reports.readingRow(last.first(), visit);
}

bool LastReportIsClosed(Table &reports)
{
    bool closed = false;
    VisitLastReport(reports, [&] { closed = reports.asBoolean(QStringLiteral("ZAMKNIETY")); });
    return closed;
}
