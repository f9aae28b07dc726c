#pragma once

#include <QString>
#include <QVariant>

struct LedgerTables;

// Where the cashier stands: the desk, its report and the document picked in it. A command that
// closes and opens the tables again (a restore, a repair) brings the views back here afterwards,
// instead of leaving them on the first report of the first desk.
struct ShownPlace {
    QString year;
    QString desk;
    QVariant report;   // the report's number; null when the desk has none
    QVariant position; // the document's position in its report; null when none is picked

    bool operator==(const ShownPlace &other) const = default;
};

ShownPlace CurrentShownPlace(const LedgerTables &tables, const QString &year);

// Back to the place: the same desk, report and document where they still exist. A desk that
// is gone leaves the views on the first desk, and a report that is gone (or a place in another
// year) on the desk's last report, as the window opens. Returns whether any view moved.
bool ReturnToShownPlace(LedgerTables &tables, const ShownPlace &place, const QString &year);
