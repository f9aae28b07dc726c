#include "ledger/shown_place.h"

#include "ledger/ledger_tables.h"
#include "store/table.h"

namespace {

const QString kSymbol = QStringLiteral("SYMBOL");
const QString kNumber = QStringLiteral("NUMER");
const QString kPosition = QStringLiteral("POZ");
const QString kPositionOrder = QStringLiteral("Pinx");

bool Browsing(const Table &table)
{
    return table.isOpen() && table.state() == TableState::Browse;
}

QVariant CurrentValue(const Table &table, const QString &field)
{
    return table.isOpen() && !table.isEmpty() ? table.value(field) : QVariant();
}

} // namespace

ShownPlace CurrentShownPlace(const LedgerTables &tables, const QString &year)
{
    return {year, CurrentValue(tables.TKASA, kSymbol).toString(), CurrentValue(tables.TRKASA, kNumber),
            CurrentValue(tables.TNAG, kPosition)};
}

bool ReturnToShownPlace(LedgerTables &tables, const ShownPlace &place, const QString &year)
{
    const ShownPlace now = CurrentShownPlace(tables, year);
    if (now == place)
        return false;
    // A row being typed stays where it is.
    if (!Browsing(tables.TKASA) || !Browsing(tables.TRKASA))
        return false;
    const bool sameYear = place.year == year;
    if (sameYear && !place.desk.isEmpty() && now.desk != place.desk)
        tables.TKASA.findKey({place.desk});
    const bool sameDesk = sameYear && CurrentValue(tables.TKASA, kSymbol).toString() == place.desk;
    if (!sameDesk || place.report.isNull() || !tables.TRKASA.findKey({place.desk, place.report})) {
        tables.TRKASA.last();
        return true;
    }
    if (!place.position.isNull() && Browsing(tables.TNAG) && tables.TNAG.indexName() == kPositionOrder)
        tables.TNAG.findKey({place.desk, place.report, place.position});
    return true;
}
