#pragma once

#include <QDate>

class CashStateDateDialog;
struct ListingContext;

// The money the current desk held at the selected document of the current report: the report's
// opening balance plus the signed amounts of its documents, walked in the list's order from the
// first one up to and including the selected one. The list, its order and its selected document
// stay as they were. A report without documents prints nothing; a failure ends the listing
// without a message.

// "Stan kasy " ("Raport stanu kasy"): every document up to the selected one.
void StanKasyDoDokumentu(ListingContext &context);

// "Stan kasy na dzień": only the documents dated on or before the day; a later document is
// passed over, and does not end the walk even when it is the selected one.
void StanKasyNaDzien(ListingContext &context, QDate day);
// The same for the day asked in the dialog, preset to today; nothing unless it ends with Yes.
void StanKasyNaDzien(ListingContext &context, CashStateDateDialog &dialog);
