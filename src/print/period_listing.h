#pragma once

#include "ledger/small_dialogs.h"

#include <QString>

struct ListingContext;

// "Wpłaty KP za okres" and "Wypłaty KW za okres" ("Raport dokumentów za okres"): the receipts
// (kind "KP": KP and KPD) or payouts ("KW": KW and KWD) of every report of the current desk dated
// within the period, with their total. The documents list does not move; a failure
// ends the listing without a message.
void DokumentyZaOkres(ListingContext &context, const QString &kind, const DateRange &period);
// The same for the period asked in the date-range dialog (first preset: the first day of the
// current month to today); nothing unless it ends with Yes.
void DokumentyZaOkres(ListingContext &context, const QString &kind, DateRangeDialog &dialog);
