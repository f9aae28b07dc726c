#pragma once

#include "ledger/small_dialogs.h"
#include "store/table.h"

#include <QList>
#include <QString>

// The period of a document listing, both days included.
struct ListingPeriod {
    QString from; // as the listing prints it, yyyy-mm-dd
    QString to;
    QString storedFrom; // as the documents keep their dates, yyyy.mm.dd
    QString storedTo;

    explicit ListingPeriod(const DateRange &range);
    bool isValid() const { return !storedFrom.isEmpty() && !storedTo.isEmpty(); }

    // Document headers dated within the period.
    QList<FilterCondition> conditions() const;
};

// The dates the date-range dialog starts with on its first use in a run: the first day of
// today's month and today.
DateRange FirstListingPeriod(QDate today);
