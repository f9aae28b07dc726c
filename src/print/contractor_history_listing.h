#pragma once

#include "ledger/small_dialogs.h"

#include <QString>

class Table;
struct ListingContext;

// The contractor whose turnover is listed: number and the two lines of the name.
struct ListedContractor {
    QString number; // NR as the documents keep it in ONR
    QString name1;
    QString name2;
};

// The current row of the contractor catalogue (KONTRAHI).
ListedContractor ListedContractorOf(const Table &contractors);

// "Historia kontrahenta" ("Raport obrotów"): the contractor's documents of the whole year dated
// within the period, receipts (KP, KPD) and the expenses of advance settlements (RZ) under
// "Winien", every other kind under "Ma", with both totals. The documents list does not move.
void HistoriaKontrahenta(ListingContext &context, const ListedContractor &contractor, const DateRange &period);
// The same for the period asked in the date-range dialog; nothing unless it ends with Yes.
void HistoriaKontrahenta(ListingContext &context, const ListedContractor &contractor, DateRangeDialog &dialog);
