#pragma once

#include "base/money.h"
#include "ledger/small_dialogs.h"
#include "print/listing_period.h"

#include <QString>

struct ListingContext;

// The document headers "Wpłaty KP za okres" ("KP": KP and KPD) or "Wypłaty KW za okres" ("KW":
// KW and KWD) list for a desk, and their total as the listing's "RAZEM" gives it; the pictures of
// the money sum through this too.
QList<FilterCondition> PeriodDocumentConditions(const QString &desk, const QString &kind, const ListingPeriod &period);
Money PeriodTotal(const Table &documentsLike, const QString &desk, const QString &kind, const ListingPeriod &period);

// "Wpłaty KP za okres" and "Wypłaty KW za okres" ("Raport dokumentów za okres"): the receipts
// (kind "KP": KP and KPD) or payouts ("KW": KW and KWD) of every report of the current desk dated
// within the period, with their total. The documents list does not move; a failure
// ends the listing without a message.
void DokumentyZaOkres(ListingContext &context, const QString &kind, const DateRange &period);
// The same for the period asked in the date-range dialog (first preset: the first day of the
// current month to today); nothing unless it ends with Yes.
void DokumentyZaOkres(ListingContext &context, const QString &kind, DateRangeDialog &dialog);
